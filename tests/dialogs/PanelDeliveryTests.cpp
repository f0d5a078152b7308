#include <doctest/doctest.h>

#include <sstream>
#include <string>

#include "dialogs/SettingsDriver.h"
#include "resource.h"

namespace {
// build\KrvPanel.exe with `switches`, its output going to a file.
struct StandInPanel {
    explicit StandInPanel(const std::wstring& switches)
    {
        std::wstring exe = ProgramPath();
        exe.replace(exe.find_last_of(L'\\') + 1, std::wstring::npos, L"KrvPanel.exe");
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        std::wstring commandLine = L"\"" + exe + L"\" " + switches;
        REQUIRE(CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process));
        CloseHandle(out);
        for (int i = 0; i < 200 && Window() == nullptr; ++i)
            Sleep(50);
        REQUIRE(Window() != nullptr);
    }
    ~StandInPanel()
    {
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        DeleteFileW(outPath.c_str());
    }
    HWND Window() const
    {
        HWND window = FindWindowW(L"DUZAZODI", nullptr);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner == process.dwProcessId ? window : nullptr;
    }
    // What it received so far: "COMMAND sent CLOSE posted".
    std::string Received() const
    {
        std::istringstream lines(ReadFileBytes(outPath));
        std::string received;
        for (std::string word, previous; lines >> word; previous = word)
            if (previous == "WM_COMMAND" || previous == "WM_CLOSE")
                received += (received.empty() ? "" : " ") + previous.substr(3) + " " + word;
        return received;
    }
    // Closes it as its user would, once it has handled everything before.
    bool End()
    {
        PostMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    }

    const std::wstring outPath = AppDataFolder() + L"\\panel-output.txt";
    PROCESS_INFORMATION process = {};
};
}

TEST_CASE("the panel gets every message once and in order, and Ok waits for it 5 s at the most")
{
    const struct {
        const char* name;
        const wchar_t* switches;
        std::string received;
        std::string beforeExit;  // what the panel has when the program exits
    } rows[] = {
        {"a panel that answers at once", L"", "COMMAND sent CLOSE sent", "COMMAND sent CLOSE sent"},
        {"a panel hung at Ok that recovers after the program exited", L"/hang 14", "COMMAND sent CLOSE posted", ""},
        {"a panel that takes 7 s over the command", L"/slow-command 7", "COMMAND sent CLOSE posted",
         "COMMAND sent"},
        {"a panel that goes away on the command", L"/close-on-command", "COMMAND sent", "COMMAND sent"},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        PrepareFiles({});
        StandInPanel panel(row.switches);
        SettingsRun run;
        run.Click({IDC_POLL_FOR_FILES});
        const DWORD start = GetTickCount();
        ClickControl(run.dialog, IDOK);
        CHECK(run.program.WaitForExit(30000) == 0);
        const DWORD elapsed = GetTickCount() - start;
        MESSAGE(std::string(row.name) << ": Ok to exit " << elapsed << " ms");
        // 5 s for the panel, the rest for Wine to end the process.
        CHECK(elapsed < 8000);
        CHECK(panel.Received() == row.beforeExit);
        CheckSaved("0 0 0 1 0 1 0 0", "");
        if (panel.Window() != nullptr)
            CHECK(panel.End());
        CHECK(panel.Received() == row.received);
    }
    ResetSettingsFolders(NoFolders);
}
