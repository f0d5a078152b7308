#include <doctest/doctest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"
#include "ui/dialogs/MainDialog.h"
#include "ui/framework/SharedBrushes.h"

using namespace std::string_literals;

namespace {
// The three settings files as a test lays them out (an empty text: no file), in the folders named by `folders`.
struct SettingsFiles {
    std::string primary = "", fallback = "", jobLog = "";
    unsigned folders = AllFolders;
};

const char* const SharedKeys[] = {"WizardOnly",     "WizardOnly++",  "RetailMode",  "PollForFiles",
                                  "DeleteAfterRun", "UserSwitching", "AlwaysHomeZ", "JobLogging"};

// Sets or clears the Unix immutable flag, the only thing that stops Wine running as root from writing a file.
bool MakeUnwritable(const std::wstring& path, bool unwritable)
{
    FlushProfileCache();
    const char* prefix = getenv("WINEPREFIX");  // the prefix guard refuses to run without it
    REQUIRE(prefix != nullptr);
    std::string unixPath = prefix + "/drive_c"s + ToUtf8(path.substr(2));  // the prefix's C: drive
    std::replace(unixPath.begin(), unixPath.end(), '\\', '/');
    WinExec(("/bin/sh -c \"chattr " + std::string(unwritable ? "+i '" : "-i '") + unixPath + "'\"").c_str(), SW_HIDE);
    const auto writable = [&] {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        CloseHandle(file);
        return file != INVALID_HANDLE_VALUE;
    };
    PumpMessages(Scaled(5000), [&] { return writable() != unwritable; });  // Wine reports the command started, not done
    return writable() != unwritable;
}

void PrepareFiles(const SettingsFiles& files)
{
    ResetSettingsFolders(files.folders);
    const std::pair<std::wstring, std::string> texts[] = {
        {PrimaryIni(), files.primary}, {FallbackIni(), files.fallback}, {JobLogIni(), files.jobLog}};
    for (const auto& [path, text] : texts)
        if (!text.empty())
            WriteFileBytes(path, text);
}

std::string SharedFile(const std::string& lines) { return "[SETTINGS]\r\n" + lines; }

std::string JobLogDigits(const std::string& digits)
{
    std::string lines = "[Settings]\r\n";
    for (size_t i = 0; i < digits.size(); ++i)
        lines += ToUtf8(LogKeys[i]) + "=" + digits[i] + "\r\n";
    return lines;
}

// "<primary's eight keys> / <fallback's> / <the eleven log keys>", each in the order written.
std::string Saved()
{
    std::string saved;
    for (const std::wstring& file : {PrimaryIni(), FallbackIni()}) {
        for (const char* key : SharedKeys)
            saved += ToUtf8(ProfileText(file, L"SETTINGS", FromUtf8(key))) + " ";
        saved += "/ ";
    }
    for (const wchar_t* key : LogKeys)
        saved += ToUtf8(ProfileText(JobLogIni(), L"Settings", key));
    return saved;
}

// The real program's settings dialog once it shows, with `clicks` made as a user would.
HWND OpenSettings(ProgramRun& program, const std::vector<int>& clicks = {})
{
    HWND dialog = program.WaitForDialog();
    REQUIRE(dialog != nullptr);
    for (int id : clicks)
        ClickControl(dialog, id);
    return dialog;
}

// X/. a checked/unchecked enabled box, x/- the same disabled, T/t an enabled/disabled help text, in groups:
//   manual+help | retail | restrictions | delete poll switching homeZ | datalogging | log boxes
std::string States(HWND dialog)
{
    // clang-format off
    const int ids[] = {
        IDC_MANUAL_RDM, IDC_MANUAL_RDM_HELP, IDC_MANUAL_OTHER, IDC_MANUAL_OTHER_HELP, 0, IDC_RETAIL_MODE, 0,
        IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_DISABLE_FIXTURE_TYPE, IDC_HIDE_SETTINGS_BUTTON, 0,
        IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS, 0, IDC_DATALOGGING, 0,
        IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE, IDC_LOG_TIME,
        IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER};
    // clang-format on
    std::string states;
    for (int id : ids) {
        const bool help = id == IDC_MANUAL_RDM_HELP || id == IDC_MANUAL_OTHER_HELP;
        const int mark = help ? 4 : IsControlChecked(dialog, id) ? 2 : 0;
        states += id == 0 ? ' ' : " .-XxTt"[(IsControlEnabled(dialog, id) ? 1 : 2) + mark];
    }
    return states;
}

// The control panel played by the test: a hidden window of class "DUZAZODI" on this thread, logging every
// WM_COMMAND and WM_CLOSE while the thread pumps, a posted one marked so, and acting as a real panel might.
// Hung: stops pumping at Ok; RestartsSlowly: takes 7 s over the command after it made its new window.
enum class PanelAct { Answers, Restarts, RestartsSlowly, GoesAway, SlowCommand, SlowClose, Hung };
std::string panelLog;        // "COMMAND(2,0) CLOSE(0,0)posted"
std::string savedAtCommand;  // what the files held when the command came
PanelAct panelAct;
HWND panelWindow;

void OpenPanel();

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != panelWindow || (message != WM_COMMAND && message != WM_CLOSE))
        return DefWindowProcW(window, message, wParam, lParam);
    panelLog += (panelLog.empty() ? "" : " ") + (message == WM_CLOSE ? "CLOSE("s : "COMMAND("s) +
                std::to_string(wParam) + "," + std::to_string(lParam) + ")" +
                ((InSendMessageEx(nullptr) & ~ISMEX_REPLIED) == ISMEX_SEND ? "" : "posted");
    if (message == WM_COMMAND)
        savedAtCommand = Saved();
    if (panelAct == (message == WM_COMMAND ? PanelAct::SlowCommand : PanelAct::SlowClose))
        Sleep(7000);
    if (message == WM_COMMAND && panelAct != PanelAct::Answers && panelAct <= PanelAct::GoesAway) {
        DestroyWindow(window);  // first, so that a new window is the only one of the class
        panelWindow = nullptr;
        if (panelAct != PanelAct::GoesAway)
            OpenPanel();
        if (panelAct == PanelAct::RestartsSlowly)
            Sleep(7000);
    }
    return 0;  // a close request is logged, not obeyed
}

void OpenPanel()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PanelProc;
    windowClass.lpszClassName = L"DUZAZODI";
    RegisterClassW(&windowClass);  // fails harmlessly once the class exists
    panelWindow = CreateWindowExW(0, L"DUZAZODI", L"panel", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    REQUIRE(panelWindow != nullptr);
}

// The system clock in milliseconds: now, or when `process` ended.
long long Clock(HANDLE process = nullptr)
{
    FILETIME time, unused;
    if (process == nullptr || !GetProcessTimes(process, &unused, &time, &unused, &unused))
        GetSystemTimeAsFileTime(&time);
    return (static_cast<long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10000;
}

const char Defaults[] = "XTXT . ---- ..X. . xx--xxxxxx-";
const char DefaultLog[] = "11001111110";
const char Command[] = "COMMAND(2,0)";
const char CommandClose[] = "COMMAND(2,0) CLOSE(0,0)";
}

TEST_CASE("the dialog opens with what is stored, its boxes follow each other, Ok saves and tells the panel")
{
    struct Row {
        std::string name;
        SettingsFiles files;
        std::vector<int> clicks;
        std::string states, saved, panel;  // saved: the shared keys / the log keys (default when left out)
        PanelAct act = PanelAct::Answers;
        void (*end)(HWND dialog) = nullptr;  // Ok when null; the others must leave the files and the panel alone
        const wchar_t* held = nullptr;       // the test build's helper held: "taken:MS" or "sending:MS" past Ok + 5 s
    };
    const SettingsFiles Retail5 = {SharedFile("RetailMode=5\r\n")};
    // clang-format off
    std::vector<Row> rows = {
        {"nothing stored, nothing changed", {}, {}, Defaults, "0 0 0 0 0 1 0 0", Command},
        {"every option the other way round",
         {SharedFile("WizardOnly=1\r\nWizardOnly++=1\r\nPollForFiles=1\r\nDeleteAfterRun=1\r\nUserSwitching=0\r\n"
                     "AlwaysHomeZ=1\r\nJobLogging=1\r\n"), "", JobLogDigits("00110000001")},
         {}, ".T.T . ---- XX.X X ..XX......X", "1 1 0 1 1 0 1 1 / 00110000001", Command},
        {"every option switched", {},
         {IDC_MANUAL_OTHER, IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS,
          IDC_DATALOGGING, IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR,
          IDC_LOG_DATE, IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER},
         "XT.T . ---- XX.X X ..XX......X", "0 1 0 1 1 0 1 1 / 00110000001", CommandClose},
        {"RetailMode 5", {Retail5}, {}, "-t-t X X.X. ..X. . xx--xxxxxx-", "1 1 5 0 0 1 0 0", Command},
        {"RetailMode 16: no restriction known, saved off", {SharedFile("RetailMode=16\r\n")}, {},
         "-t-t X .... ..X. . xx--xxxxxx-", "1 1 0 0 0 1 0 0", Command},
        {"a restriction added to 5", {Retail5}, {IDC_HIDE_SETTINGS_BUTTON}, "-t-t X X.XX ..X. . xx--xxxxxx-",
         "1 1 13 0 0 1 0 0", Command},
        {"5, a restriction added, a manual box clicked by a program: 5 again", {Retail5},
         {IDC_HIDE_SETTINGS_BUTTON, IDC_MANUAL_RDM}, "-t-t X X.X. ..X. . xx--xxxxxx-", "1 1 5 0 0 1 0 0", Command},
        {"5, restrictions changed, off, on: 5 again", {Retail5},
         {IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_RETAIL_MODE, IDC_RETAIL_MODE},
         "-t-t X X.X. ..X. . xx--xxxxxx-", "1 1 5 0 0 1 0 0", Command},
        {"Retail on: all four restrictions", {}, {IDC_RETAIL_MODE}, "-t-t X XXXX ..X. . xx--xxxxxx-",
         "1 1 15 0 0 1 0 0", Command},
        {"Retail on and off: manual boxes unchecked", {}, {IDC_RETAIL_MODE, IDC_RETAIL_MODE},
         ".T.T . ---- ..X. . xx--xxxxxx-", "1 1 0 0 0 1 0 0", Command},
        {"log boxes changed with datalogging off again: saved all the same", {},
         {IDC_DATALOGGING, IDC_LOG_PAUSE, IDC_LOG_USER, IDC_DATALOGGING}, "XTXT . ---- ..X. . xxx-xxxxx--",
         "0 0 0 0 0 1 0 0 / 11101111100", CommandClose},
        {"values other than 0 and 1 are saved as 1, and count as changed",
         {SharedFile("WizardOnly=5\r\nUserSwitching=2\r\nJobLogging=4294967295\r\n")}, {},
         ".TXT . ---- ..X. X XX..XXXXXX.", "1 0 0 0 0 1 0 1", CommandClose},
        {"a log flag of 7 counts as changed", {SharedFile("JobLogging=1\r\n"), "", "[Settings]\r\nLogPause=7\r\n"},
         {}, "", "0 0 0 0 0 1 0 1 / 11101111110", CommandClose},
        {"Poll twice: no change, no close", {}, {IDC_POLL_FOR_FILES, IDC_POLL_FOR_FILES}, "", "", Command},
        // However the panel acts, it gets every message once, in order, and Ok waits for it 5 s at the most.
        {"a panel that restarts on the command", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose, PanelAct::Restarts},
        {"a panel that goes away on the command", {}, {IDC_HOME_Z_AXIS}, "", "", Command, PanelAct::GoesAway},
        {"a panel that takes 7 s over the command", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose + "posted"s,
         PanelAct::SlowCommand},
        {"a panel that takes 7 s over the close", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose, PanelAct::SlowClose},
        {"a panel hung at Ok, back after the program ended", {}, {IDC_HOME_Z_AXIS}, "", "0 0 0 0 0 1 1 0",
         "COMMAND(2,0)posted CLOSE(0,0)posted", PanelAct::Hung},
        {"a panel that restarts slowly on the command", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose + "posted"s,
         PanelAct::RestartsSlowly},
        // As on a very busy machine: a command the helper has not claimed is posted; one it has claimed is waited
        // for 2 s more, to be in its send before the close; after that no close goes first, both lost with the
        // process. A helper without its window leaves both to be posted at once.
        {"the helper held for good after the panel answered", {}, {IDC_HOME_Z_AXIS}, "", "", "COMMAND(2,0)posted CLOSE(0,0)posted",
         PanelAct::Answers, nullptr, L"probed:60000"},
        {"the helper held 1 s past the deadline in its send", {}, {IDC_HOME_Z_AXIS}, "", "",
         CommandClose + "posted"s, PanelAct::Answers, nullptr, L"sending:1000"},
        {"the helper held for good in its send", {}, {IDC_HOME_Z_AXIS}, "", "", "", PanelAct::Answers, nullptr,
         L"sending:60000"},
        {"the helper without its window", {}, {IDC_HOME_Z_AXIS}, "", "", "COMMAND(2,0)posted CLOSE(0,0)posted",
         PanelAct::Answers, nullptr, L"no-window"},
    };
    for (int id : {IDC_MANUAL_RDM, IDC_MANUAL_OTHER, IDC_DELETE_AFTER_RUN, IDC_RETAIL_MODE})
        rows.push_back({"option " + std::to_string(id), {}, {id}, "", "", Command});
    for (int id : {IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_DATALOGGING})
        rows.push_back({"option " + std::to_string(id), {}, {id}, "", "", CommandClose});
    for (int id : {IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE,
                   IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER})
        rows.push_back({"log box " + std::to_string(id), {SharedFile("JobLogging=1\r\n")}, {id}, "", "",
                        CommandClose});
    // Each pair of log keys differs in one of these, so a box read or saved as another shows.
    for (const char* digits : {"01010101010", "00110011001", "00001111000", "00000000111"})
        rows.push_back({"log keys "s + digits, {SharedFile("JobLogging=1\r\n"), "", JobLogDigits(digits)}, {}, "",
                        "0 0 0 0 0 1 0 1 / "s + digits, Command});

    for (auto end : {+[](HWND dialog) { ClickControl(dialog, IDCANCEL); },
                     +[](HWND dialog) { PressKey(dialog, VK_ESCAPE); }, &SystemClose,
                     +[](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }})
        rows.push_back({"Cancel, Escape, the system's close or WM_CLOSE 0", {}, {IDC_RETAIL_MODE, IDC_POLL_FOR_FILES},
                        "", "", "", PanelAct::Answers, end});
    // clang-format on

    long long teardown = 0;
    for (const Row& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        panelLog.clear();
        savedAtCommand.clear();
        panelAct = row.act;
        OpenPanel();
        SetEnvironmentVariableW(L"KRV_HELPER_HELD", row.held);
        ProgramRun program(L"winxp", row.held ? L"tests\\hooked\\KrvAdvanced.exe" : L"KrvAdvanced.exe");
        HWND dialog = OpenSettings(program, row.clicks);
        if (!row.states.empty())
            CHECK(States(dialog) == row.states);
        const long long ok = Clock();
        row.end != nullptr ? row.end(dialog) : ClickControl(dialog, IDOK);
        if (row.act == PanelAct::Hung) {
            WaitForSingleObject(program.process.hProcess, Scaled(30000));  // without pumping
            CHECK(panelLog.empty());
        }
        CHECK(program.WaitForExit() == 0);
        PumpMessages(row.act == PanelAct::Answers ? 0 : 300);
        // 5 s for the panel, 2 more for a held helper, and for Wine to end the program 2 s, or four times the
        // longest it took this run where the panel answered at once (a slower machine, an emulated one).
        const long long took = Clock(program.process.hProcess) - ok;
        CHECK(took < (row.held ? 7000 : 5000) + std::max(2000LL, 4 * teardown));
        if (row.act == PanelAct::Answers && !row.held)
            teardown = std::max(teardown, took);
        if (row.end != nullptr)
            CHECK(ReadFileBytes(PrimaryIni()) + ReadFileBytes(FallbackIni()) + ReadFileBytes(JobLogIni()) == "");
        else if (!row.saved.empty()) {
            const std::string saved = row.saved + (row.saved.find('/') == std::string::npos ? " / "s + DefaultLog : "");
            CHECK(Saved() == saved.substr(0, saved.find('/')) + "/ " + saved);
        }
        CHECK(panelLog == row.panel);
        CHECK(savedAtCommand == (row.panel.empty() ? "" : Saved()));  // told once every file is saved
        DestroyWindow(panelWindow);
    }
}

TEST_CASE("Ok writes every key where its folder exists and never makes a folder or a stray file")
{
    const std::string shared = "[SETTINGS]\r\nWizardOnly=0\r\nWizardOnly++=0\r\nRetailMode=0\r\nPollForFiles=0\r\n"
                               "DeleteAfterRun=0\r\nUserSwitching=1\r\nAlwaysHomeZ=0\r\nJobLogging=0\r\n";
    // The last: every folder and a stored file, but no application-data folder for the program to find.
    const unsigned rows[] = {NoFolders, FallbackFolderExists, PrimaryFolderExists | JobLogFolderExists, AllFolders};
    const std::wstring appData = AppDataFolder(), aside = appData + L".away";
    for (unsigned folders : rows) {
        CAPTURE(folders);
        PrepareFiles({folders == AllFolders ? SharedFile("RetailMode=5\r\n") : "", "", "", folders});
        REQUIRE((folders != AllFolders || MoveFileW(appData.c_str(), aside.c_str())));
        ProgramRun program;
        HWND dialog = OpenSettings(program, {IDC_POLL_FOR_FILES, IDC_POLL_FOR_FILES});
        CHECK(States(dialog) == Defaults);
        ClickControl(dialog, IDOK);
        CHECK(program.WaitForExit() == 0);  // no box about the missing folders
        for (const wchar_t* stray : {L"C:\\windows\\DRZINFO.INI", L"C:\\windows\\JobInfo.ini", L"C:\\RIDERE"})
            CHECK(GetFileAttributesW(stray) == INVALID_FILE_ATTRIBUTES);
        if (folders == AllFolders) {
            CHECK_FALSE(FolderExists(appData));
            MoveFileW(aside.c_str(), appData.c_str());
            CHECK(ReadFileBytes(PrimaryIni()) + ReadFileBytes(FallbackIni()) == SharedFile("RetailMode=5\r\n"));
            continue;
        }
        CHECK(FolderExists(PrimaryFolder()) + 2 * FolderExists(FallbackFolder()) + 4 * FolderExists(JobLogFolder()) ==
              int(folders));
        // Every key, in the order written; Lang never.
        CHECK(ReadFileBytes(PrimaryIni()) == ((folders & PrimaryFolderExists) ? shared : ""));
        CHECK(ReadFileBytes(FallbackIni()) == ((folders & FallbackFolderExists) ? shared : ""));
        CHECK(ReadFileBytes(JobLogIni()) == ((folders & JobLogFolderExists) ? JobLogDigits(DefaultLog) : ""));
    }
}

TEST_CASE("files that cannot be written are left alone and named in one box after every write; exit 0")
{
    const SettingsFiles files = {SharedFile("RetailMode=5\r\nUserSwitching=0\r\n"), "", "[Settings]\r\nLogPause=1\r\n"};
    PrepareFiles(files);
    REQUIRE((MakeUnwritable(PrimaryIni(), true) && MakeUnwritable(JobLogIni(), true)));
    {
        ProgramRun program;
        ClickControl(OpenSettings(program, {IDC_RETAIL_MODE, IDC_USER_SWITCHING}), IDOK);
        HWND box = nullptr;  // visible once it is set up
        PumpMessages(Scaled(10000),
                     [&] { return IsWindowVisible(box = FindWindowW(L"#32770", L"Cannot Save Settings")); });
        const std::wstring denied = L"\r\nAccess denied.";  // named in the order written, with the system's reason
        CHECK(WindowText(GetDlgItem(box, IDC_MESSAGE_TEXT)) ==
              L"Your settings could not be saved to these files:\r\n\r\n" + PrimaryIni() + denied + L"\r\n\r\n" +
                  JobLogIni() + denied);
        CHECK(IsWindowVisible(GetDlgItem(box, IDC_MESSAGE_ICON)));
        CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"UserSwitching") == L"1");  // written before the box
        ClickControl(box, IDOK);
        CHECK(program.WaitForExit() == 0);
    }
    CHECK((MakeUnwritable(PrimaryIni(), false) && MakeUnwritable(JobLogIni(), false)));
    CHECK(ReadFileBytes(PrimaryIni()) + ReadFileBytes(JobLogIni()) == files.primary + files.jobLog);
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"RetailMode") == L"0");
}

TEST_CASE("the keyboard: the first box focused, Tab round what can be used, arrows among boxes, Space, Enter, Escape")
{
    // The Tab cycle in template order, disabled boxes left out; where Down goes from its first; what the end key saves.
    // clang-format off
    const struct { SettingsFiles files; std::vector<int> cycle; int down; UINT end; std::string saved; } rows[] = {
        {{}, {IDC_MANUAL_RDM, IDC_RETAIL_MODE, IDC_DELETE_AFTER_RUN, IDC_MANUAL_OTHER, IDC_USER_SWITCHING,
              IDC_HOME_Z_AXIS, IDC_DATALOGGING, IDOK, IDCANCEL, IDC_POLL_FOR_FILES},
         IDC_MANUAL_RDM, VK_RETURN, "1 0 0 0 0 1 0 0 "},
        {{SharedFile("RetailMode=5\r\nJobLogging=1\r\n")},
         {IDC_RETAIL_MODE, IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_DISABLE_FIXTURE_TYPE,
          IDC_HIDE_SETTINGS_BUTTON, IDC_DELETE_AFTER_RUN, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS, IDC_DATALOGGING,
          IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE, IDC_LOG_TIME,
          IDC_LOG_JOB_NAME, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER, IDC_LOG_DURATION, IDOK, IDCANCEL,
          IDC_POLL_FOR_FILES},
         IDC_HIDE_SYSTEM_TAB, VK_ESCAPE, "<absent> "},
    };
    // clang-format on
    for (const auto& row : rows) {
        PrepareFiles(row.files);
        ProgramRun program;
        HWND dialog = OpenSettings(program);
        const auto focus = [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
            return info.hwndFocus;
        };
        // A key as the program's own loop gets it, at the focus. The loop takes posted messages in order: a font
        // posted to a text after the key shows that the key has been handled.
        HWND marked = GetDlgItem(dialog, IDC_POLL_FOR_FILES_HELP);
        WPARAM mark = 0x1000;
        const auto press = [&](UINT key) {
            HWND at = focus();
            PostMessageW(at, WM_KEYDOWN, key, 1);
            PostMessageW(at, WM_KEYUP, key, 0xC0000001);
            PostMessageW(marked, WM_SETFONT, ++mark, FALSE);
            PumpMessages(Scaled(5000), [&] { return SendBounded(marked, WM_GETFONT) == mark; });
            return GetDlgCtrlID(focus());
        };
        std::string visited = std::to_string(GetDlgCtrlID(focus())), expected;
        for (size_t i = 0; i < row.cycle.size(); ++i)
            visited += " " + std::to_string(press(VK_TAB));
        for (int id : row.cycle)
            expected += std::to_string(id) + " ";
        CHECK(visited == expected + std::to_string(row.cycle[0]));
        // Never a text, a frame, a strip or the title bar: a box or button that shows the focus.
        HWND first = GetDlgItem(dialog, row.cycle[0]);
        for (const UINT arrow : {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT}) {
            SendBounded(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
            HWND to = GetDlgItem(dialog, press(arrow));
            wchar_t name[16] = {};
            GetClassNameW(to, name, 16);
            CHECK((std::wstring(name) == L"Button" && (GetWindowLongW(to, GWL_STYLE) & WS_TABSTOP)));
            CHECK((arrow != VK_DOWN || GetDlgCtrlID(to) == row.down));
        }
        SendBounded(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
        press(VK_SPACE);
        CHECK_FALSE(IsControlChecked(dialog, row.cycle[0]));  // both first boxes open checked
        press(row.end);
        CHECK(program.WaitForExit() == 0);
        CHECK(Saved().substr(0, row.saved.size()) == row.saved);
    }
}

namespace {
// Each control that gets a text: its string, where the text is cut, and whether it takes the system font.
// clang-format off
#define CONTROL(name, bound, systemFont) {IDC_##name, IDS_##name, bound, systemFont}
const struct {
    int id;
    UINT stringId;
    int bound;
    bool systemFont;
} Controls[] = {
    CONTROL(MANUAL_RDM, 128, true), CONTROL(MANUAL_OTHER, 128, true), CONTROL(DELETE_AFTER_RUN, 128, true),
    CONTROL(USER_SWITCHING, 128, true), CONTROL(DATALOGGING, 128, true), CONTROL(POLL_FOR_FILES_HELP, 128, false),
    CONTROL(MANUAL_RDM_HELP, 1024, false), CONTROL(MANUAL_OTHER_HELP, 1024, false),
    CONTROL(USER_SWITCHING_HELP, 1024, false), CONTROL(HOME_Z_AXIS_HELP, 1024, false),
    CONTROL(POLL_FOR_FILES, 64, true), CONTROL(HOME_Z_AXIS, 64, true), CONTROL(HIDE_SYSTEM_TAB, 64, false),
    CONTROL(FORBID_QUEUE_ACCESS, 64, false), CONTROL(DISABLE_FIXTURE_TYPE, 64, false),
    CONTROL(HIDE_SETTINGS_BUTTON, 64, false), CONTROL(LOG_START, 64, false), CONTROL(LOG_COMPLETE, 64, false),
    CONTROL(LOG_PAUSE, 64, false), CONTROL(LOG_RESUME, 64, false), CONTROL(LOG_ERROR, 64, false),
    CONTROL(LOG_DATE, 64, false), CONTROL(LOG_TIME, 64, false), CONTROL(LOG_JOB_NAME, 64, false),
    CONTROL(LOG_DURATION, 64, false), CONTROL(LOG_USER, 64, false), CONTROL(LOG_SERIAL_NUMBER, 64, false),
    CONTROL(RETAIL_MODE, 32, true), {IDOK, IDS_OK, 32, false}, {IDCANCEL, IDS_CANCEL, 32, false},
};
// clang-format on

std::wstring FullText(UINT id)
{
    wchar_t text[4096];
    LoadLocalizedString(id, text, 4096);
    return text;
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }
}

TEST_CASE("texts are cut at each control's bound, the single options take the system font, all on light grey")
{
    // The test resources give Italiano (Lang 5) texts of over 1100 characters.
    PrepareFiles({SharedFile("Lang=5\r\n")});
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    SharedBrushes brushes;
    RunDriven([] { RunSettingsDialog(); }, {[](HWND dialog) {
                  const HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
                  CHECK(FontOf(dialog) != systemFont);
                  for (const auto& row : Controls) {
                      CAPTURE(row.id);
                      HWND control = GetDlgItem(dialog, row.id);
                      CHECK(WindowText(control) == FullText(row.stringId).substr(0, size_t(row.bound)));
                      CHECK(FontOf(control) == (row.systemFont ? systemFont : FontOf(dialog)));
                  }
                  // The bar's window text takes 32 characters and the version; the window's title, 127.
                  const std::wstring title = FullText(IDS_SETTINGS_TITLE);
                  CHECK(WindowText(GetDlgItem(dialog, IDC_TITLE_BAR)) == title.substr(0, 32) + L" 1.7");
                  CHECK(WindowText(dialog) == title.substr(0, 127) + L" 1.7");
                  HDC dc = GetDC(dialog);  // the dialog's own background is read back by the start-up test
                  LOGBRUSH brush = {};
                  GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORSTATIC, WPARAM(dc), 0)),
                             sizeof brush, &brush);
                  CHECK((brush.lbColor == 0xE2E2E2 && GetBkColor(dc) == 0xE2E2E2));
                  ReleaseDC(dialog, dc);
                  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
              }});
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("at 96, 120 and 144 dpi the frame joins: the bar no taller than its slices, the strips below it, corners cut")
{
    const Image left = BitmapPixels(IDB_TITLE_LEFT), tile = BitmapPixels(IDB_TITLE_MIDDLE);
    const Image right = BitmapPixels(IDB_TITLE_RIGHT);
    const COLORREF strip[] = {0x404040, 0x404040, 0x0000CF, 0x0000CF};  // from the window's edge inward
    const wchar_t Desktop[] = L"Control Panel\\Desktop";
    DWORD stored = 0, size = sizeof stored;
    const bool had = SHGetValueW(HKEY_CURRENT_USER, Desktop, L"LogPixels", nullptr, &stored, &size) == ERROR_SUCCESS;
    // The settings dialog on light grey; the refusal's message box on dark grey, its bar always sized to the slices.
    // 96 last, as the prefix has it: Wine rewrites its fonts' registry entries for the scale each program starts at.
    for (const auto& [version, body] : {std::pair{L"winxp", 0xE2E2E2}, {L"win2k", 0x707072}})
        for (DWORD dpi : {144, 120, 96}) {
            INFO(ToUtf8(version) << " at " << dpi);
            SHSetValueW(HKEY_CURRENT_USER, Desktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
            ProgramRun program(version);
            HWND dialog = program.WaitForDialog();  // it read the scale as it started
            had ? SHSetValueW(HKEY_CURRENT_USER, Desktop, L"LogPixels", REG_DWORD, &stored, size)
                : SHDeleteValueW(HKEY_CURRENT_USER, Desktop, L"LogPixels");
            REQUIRE(dialog != nullptr);
            const RECT whole = Place(dialog, 0);
            const int w = whole.right - whole.left, h = whole.bottom - whole.top;
            // The settings template's bar is 14 of its 324 units high.
            const int bar = body == 0x707072 ? left.height : std::min(MulDiv(h, 14, 324), left.height);
            CHECK(Place(dialog, IDC_TITLE_BAR).bottom == bar);
            HRGN shape = CreateRectRgn(0, 0, 0, 0), expected = FrameShape(w, h);
            CHECK((GetWindowRgn(dialog, shape) != ERROR && EqualRgn(shape, expected)));
            // Read back in the 25 columns at each side, where the shape is: the caps and the tile over the bar; below
            // it the strips, then the body.
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            HDC dc = GetDC(dialog);
            int wrong = 0;
            for (int y = 0; y < bar + 6; ++y)
                for (int x = 0; x < w; x += x == 24 ? w - 49 : 1) {
                    const int edge = std::min(x, w - 1 - x);
                    const COLORREF look = y >= bar ? (edge < 4 ? strip[edge] : body)
                                          : x < 16 ? left.At(x, y)
                                                   : (x >= w - 16 ? right.At(x - w + 16, y) : tile.At(0, y));
                    wrong += PtInRegion(expected, x, y) && GetPixel(dc, x, y) != look;
                }
            CHECK(wrong == 0);
            ReleaseDC(dialog, dc);
            DeleteObject(shape);
            DeleteObject(expected);
        }
}
