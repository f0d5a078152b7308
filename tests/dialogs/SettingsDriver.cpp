#include "dialogs/SettingsDriver.h"

#include <doctest/doctest.h>

#include <sstream>

#include "resource.h"
#include "support/Text.h"

namespace {
const char* const SharedKeys[] = {"WizardOnly",     "WizardOnly++",  "RetailMode",  "PollForFiles",
                                  "DeleteAfterRun", "UserSwitching", "AlwaysHomeZ", "JobLogging"};
const char* const LogKeys[] = {"LogStart", "LogComplete", "LogPause",    "LogResume", "LogError",    "LogJobName",
                               "LogDate",  "LogTime",     "LogDuration", "LogUser",   "LogSerialNum"};

bool Writable(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    CloseHandle(file);
    return file != INVALID_HANDLE_VALUE;
}
}

bool MakeUnwritable(const std::wstring& path, bool unwritable)
{
    FlushProfileCache();
    using ToUnix = char*(CDECL*)(const wchar_t*);  // Wine's own export
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (char* unixPath = toUnix != nullptr ? toUnix(path.c_str()) : nullptr) {
        WinExec(("/bin/sh -c \"PATH=/usr/bin:/bin chattr " + std::string(unwritable ? "+i" : "-i") + " '" +
                 unixPath + "' 2>/dev/null\"").c_str(), SW_HIDE);
        HeapFree(GetProcessHeap(), 0, unixPath);
    }
    // Wine reports the Unix command started, not done.
    for (int i = 0; i < 50 && Writable(path) == unwritable; ++i)
        Sleep(100);
    return Writable(path) != unwritable;
}

void PrepareFiles(const SettingsFiles& files)
{
    const std::wstring paths[] = {PrimaryIni(), FallbackIni(), JobLogIni()};
    const std::string* texts[] = {&files.primary, &files.fallback, &files.jobLog};
    ResetSettingsFolders(files.folders);
    // A file left immutable by a run that died survives the reset.
    for (const std::wstring& path : paths)
        if (FileExists(path) && MakeUnwritable(path, false))
            ResetSettingsFolders(files.folders);
    for (int i = 0; i < 3; ++i)
        if (!texts[i]->empty())
            WriteFileBytes(paths[i], *texts[i]);
}

std::string SharedFile(const std::string& lines) { return "[SETTINGS]\r\n" + lines; }

std::string JobLogDigits(const std::string& digits)
{
    std::string lines = "[Settings]\r\n";
    for (size_t i = 0; i < digits.size(); ++i)
        lines += std::string(LogKeys[i]) + "=" + digits[i] + "\r\n";
    return lines;
}

void CheckSaved(const std::string& shared, const std::string& logDigits)
{
    std::string saved[3];
    for (int file = 0; file < 2; ++file)
        for (const char* key : SharedKeys)
            saved[file] += (saved[file].empty() ? "" : " ") +
                           ToUtf8(ProfileText(file ? FallbackIni() : PrimaryIni(), L"SETTINGS", FromUtf8(key)));
    for (const char* key : LogKeys)
        saved[2] += ToUtf8(ProfileText(JobLogIni(), L"Settings", FromUtf8(key)));
    CHECK(saved[0] == shared);
    CHECK(saved[1] == shared);
    CHECK(saved[2] == logDigits);
}

SettingsRun::SettingsRun()
{
    dialog = program.WaitForDialog();
    REQUIRE(dialog != nullptr);
    REQUIRE(GetDlgItem(dialog, IDC_DATALOGGING) != nullptr);
}

void SettingsRun::Click(const std::vector<int>& ids)
{
    for (int id : ids) {
        REQUIRE_MESSAGE(IsControlEnabled(dialog, id), "control ", id, " is disabled");
        ClickControl(dialog, id);
    }
}

std::string SettingsRun::States() const
{
    // 0 separates the groups.
    const int ids[] = {
        IDC_MANUAL_RDM, IDC_MANUAL_RDM_HELP, IDC_MANUAL_OTHER, IDC_MANUAL_OTHER_HELP, 0, IDC_RETAIL_MODE, 0,
        IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_DISABLE_FIXTURE_TYPE, IDC_HIDE_SETTINGS_BUTTON, 0,
        IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS, 0, IDC_DATALOGGING, 0,
        IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE, IDC_LOG_TIME,
        IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER};
    std::string states;
    for (int id : ids) {
        const bool enabled = id != 0 && IsControlEnabled(dialog, id);
        if (id == 0)
            states += ' ';
        else if (id == IDC_MANUAL_RDM_HELP || id == IDC_MANUAL_OTHER_HELP)
            states += enabled ? 'T' : 't';
        else if (IsControlChecked(dialog, id))
            states += enabled ? 'X' : 'x';
        else
            states += enabled ? '.' : '-';
    }
    return states;
}

DWORD SettingsRun::Press(int button)
{
    ClickControl(dialog, button);
    return program.WaitForExit();
}

namespace {
LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* panel = reinterpret_cast<PanelRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (panel == nullptr || (message != WM_COMMAND && message != WM_CLOSE))
        return DefWindowProcW(window, message, wParam, lParam);
    panel->log += std::string(panel->log.empty() ? "" : " ") + (message == WM_CLOSE ? "CLOSE(" : "COMMAND(") +
                  std::to_string(wParam) + "," + std::to_string(lParam) + ")" +
                  ((InSendMessageEx(nullptr) & ~ISMEX_REPLIED) == ISMEX_SEND ? "" : "posted");
    if (message == WM_COMMAND && panel->act == PanelAct::SlowCommand)
        Sleep(7000);
    if (message == WM_COMMAND && (panel->act == PanelAct::Restarts || panel->act == PanelAct::GoesAway)) {
        // Gone first, so that a new window is the only one of the class.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        panel->window = nullptr;
        if (panel->act == PanelAct::Restarts)
            panel->Open();
    }
    // A close request is logged, not obeyed.
    return 0;
}
}

PanelRecorder::PanelRecorder(PanelAct panelAct) : act(panelAct)
{
    Open();
    REQUIRE(window != nullptr);
}

PanelRecorder::~PanelRecorder()
{
    DestroyWindow(window);
}

void PanelRecorder::Open()
{
    // Classes belong to the process: registered once.
    static const ATOM panelClass = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = PanelProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"DUZAZODI";
        return RegisterClassW(&windowClass);
    }();
    // Hidden: FindWindow finds it all the same, and it covers nothing on screen.
    window = CreateWindowExW(0, MAKEINTATOM(panelClass), L"control panel (test)", WS_OVERLAPPED, 0, 0, 100, 100,
                             nullptr, nullptr, GetModuleHandleW(nullptr), this);
}
