#include "dialogs/SettingsDriver.h"

#include <doctest/doctest.h>

#include <sstream>

#include "resource.h"
#include "support/Text.h"

void Chattr(const std::string& flags, const std::wstring& path)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);  // Wine's own export
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (char* unixPath = toUnix != nullptr ? toUnix(path.c_str()) : nullptr) {
        // Wine runs a Unix program named by its Unix path; callers wait for the effect.
        WinExec(("/bin/sh -c \"PATH=/usr/bin:/bin chattr " + flags + " '" + unixPath + "' 2>/dev/null\"").c_str(),
                SW_HIDE);
        HeapFree(GetProcessHeap(), 0, unixPath);
    }
}

bool Writable(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

void PrepareFiles(const SettingsFiles& files)
{
    const std::wstring paths[] = {PrimaryIni(), FallbackIni(), JobLogIni()};
    const std::string* texts[] = {&files.primary, &files.fallback, &files.jobLog};
    ResetSettingsFolders(files.folders);
    // A file left immutable by a run that died survives the reset: free it and start over.
    for (int i = 0; i < 10 && (FileExists(paths[0]) || FileExists(paths[1]) || FileExists(paths[2])); ++i) {
        for (const std::wstring& path : paths)
            Chattr("-i", path);
        Sleep(200);
        ResetSettingsFolders(files.folders);
    }
    for (int i = 0; i < 3; ++i)
        if (!texts[i]->empty())
            WriteFileBytes(paths[i], *texts[i]);
}

namespace {
const wchar_t* const SharedKeys[] = {L"WizardOnly",     L"WizardOnly++",  L"RetailMode",  L"PollForFiles",
                                     L"DeleteAfterRun", L"UserSwitching", L"AlwaysHomeZ", L"JobLogging"};
const char* const LogKeys[] = {"LogStart",   "LogComplete", "LogPause", "LogResume",   "LogError",    "LogJobName",
                               "LogDate",    "LogTime",     "LogDuration", "LogUser",  "LogSerialNum"};
}

std::string SharedFile(const std::string& lines) { return "[SETTINGS]\r\n" + lines; }

std::string JobLogDigits(const std::string& digits)
{
    std::string lines;
    for (size_t i = 0; i < digits.size(); ++i)
        lines += std::string(LogKeys[i]) + "=" + digits[i] + "\r\n";
    return "[Settings]\r\n" + lines;
}

std::string JobLogFile(const std::string& lines) { return "[Settings]\r\n" + lines; }

void CheckSaved(const std::string& shared, const std::string& logDigits)
{
    for (const std::wstring& file : {PrimaryIni(), FallbackIni()}) {
        CAPTURE(ToUtf8(file));
        std::istringstream values(shared);
        std::string value;
        for (const wchar_t* key : SharedKeys) {
            values >> value;
            CHECK(ToUtf8(key) + "=" + ToUtf8(ProfileText(file, L"SETTINGS", key)) == ToUtf8(key) + "=" + value);
        }
    }
    for (size_t i = 0; i < logDigits.size(); ++i)
        CHECK(ToUtf8(ProfileText(JobLogIni(), L"Settings", FromUtf8(LogKeys[i]))) == std::string(1, logDigits[i]));
}

void CheckNoStrayFiles()
{
    for (const wchar_t* stray : {L"C:\\windows\\DRZINFO.INI", L"C:\\windows\\JobInfo.ini", L"C:\\DRZINFO.INI",
                                 L"C:\\JobInfo.ini", L"C:\\RIDERE", L"C:\\DAZIRE", L"C:\\VEVEVU"}) {
        CAPTURE(ToUtf8(stray));
        CHECK(GetFileAttributesW(stray) == INVALID_FILE_ATTRIBUTES);
    }
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
                  std::to_string(wParam) + "," + std::to_string(lParam) + ")";
    if (message == WM_COMMAND && panel->restarts) {
        // Gone first, so that the new window is the only one of the class.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        panel->Open();
    }
    // A close request is logged, not obeyed.
    return 0;
}
}

PanelRecorder::PanelRecorder(bool restartsOnCommand) : restarts(restartsOnCommand)
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
