#include <doctest/doctest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "ui/TestKit.h"

using namespace std::string_literals;

namespace {
// The three settings files as a test lays them out (an empty text: no file), in the folders named by `folders`.
struct SettingsFiles {
    std::string primary = "", fallback = "", jobLog = "";
    unsigned folders = AllFolders;
};

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

const wchar_t* const SharedKeys[] = {L"WizardOnly",     L"WizardOnly++",  L"RetailMode",  L"PollForFiles",
                                     L"DeleteAfterRun", L"UserSwitching", L"AlwaysHomeZ", L"JobLogging"};

// "<primary's eight keys> / <fallback's> / <the eleven log keys>", each in the order written.
std::string Saved()
{
    std::string saved;
    for (const std::wstring& file : {PrimaryIni(), FallbackIni()}) {
        for (const wchar_t* key : SharedKeys)
            saved += ToUtf8(ProfileText(file, L"SETTINGS", key)) + " ";
        saved += "/ ";
    }
    for (const wchar_t* key : LogKeys)
        saved += ToUtf8(ProfileText(JobLogIni(), L"Settings", key));
    return saved;
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
        states += id == 0 ? ' ' : " .-XxTt"[(IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 2) + mark];
    }
    return states;
}

// The control panel: a hidden window of class "DUZAZODI" on this thread, logging each WM_COMMAND and WM_CLOSE as it
// came (posted, or sent by a program that had ended: "orphaned"), acting as a panel might. Busy: answers the first
// message, then handles nothing for 8 s, or until the program has ended; a job it gives itself on the command, and
// its close, last until the program has ended, past any bound the program may set itself.
// clang-format off
enum class PanelAct { Answers, Restarts, RestartsSlowly, GoesAway, SlowCommand, SlowClose, JobAfterCommand, CloseUntilEnd,
                      Hung, Busy, BusyUntilEnd };
// clang-format on
std::string panelLog;        // "COMMAND(2,0) CLOSE(0,0)posted"
std::string savedAtCommand;  // what the files held when the command came
PanelAct panelAct;
HWND panelWindow;
HANDLE sender;  // the program

void OpenPanel();

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NULL && window == panelWindow && panelAct >= PanelAct::Busy) {
        ReplyMessage(0);
        WaitForSingleObject(sender, panelAct == PanelAct::Busy ? 8000 : Scaled(60000));
        panelAct = PanelAct::Answers;
    }
    if (message == WM_APP || (message == WM_CLOSE && panelAct == PanelAct::CloseUntilEnd))
        WaitForSingleObject(sender, Scaled(60000));
    if (window != panelWindow || (message != WM_COMMAND && message != WM_CLOSE))
        return DefWindowProcW(window, message, wParam, lParam);
    const bool sent = (InSendMessageEx(nullptr) & ~ISMEX_REPLIED) == ISMEX_SEND;
    const bool ended = WaitForSingleObject(sender, 0) == WAIT_OBJECT_0;
    panelLog += (panelLog.empty() ? "" : " ") + (message == WM_CLOSE ? "CLOSE("s : "COMMAND("s) +
                std::to_string(wParam) + "," + std::to_string(lParam) + ")" +
                (sent ? (ended ? "orphaned" : "") : "posted");
    if (message == WM_COMMAND)
        savedAtCommand = Saved();
    if (message == WM_COMMAND && panelAct == PanelAct::JobAfterCommand)
        PostMessageW(window, WM_APP, 0, 0);
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

// The window with the keyboard focus in the dialog's thread.
HWND Focus(HWND dialog)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Drags the title bar with the real mouse in four steps of (dx, dy): shown pressed, the dialog moves that far, keeps
// its size and focus; a press and release without a move then leaves it there, open.
void DragTitleBar(HWND dialog, int dx, int dy)
{
    const RECT before = Place(dialog, 0);
    const HWND focus = Focus(dialog), bar = GetDlgItem(dialog, IDC_TITLE_BAR);
    POINT at = {before.left + 40, before.top + Place(dialog, IDC_TITLE_BAR).bottom / 2};
    const auto mouse = [&](DWORD button) {
        INPUT input = {INPUT_MOUSE, {}};
        input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
        SendInput(1, &input, sizeof input);
        PumpMessages(Scaled(100));
    };
    const auto press = [&](bool down) {
        mouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
        PumpMessages(Scaled(5000), [&] { return ((SendBounded(bar, BM_GETSTATE) & BST_PUSHED) != 0) == down; });
    };
    mouse(0);
    press(true);
    for (int step = 0; step < 4; ++step)
        at.x += dx, at.y += dy, mouse(0);
    press(false);
    press(true);
    press(false);
    RECT moved = before, now = Place(dialog, 0);
    OffsetRect(&moved, 4 * dx, 4 * dy);
    CHECK((EqualRect(&now, &moved) && IsWindowVisible(dialog) && Focus(dialog) == focus));
    at = {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};  // out of the way of later dialogs
    mouse(0);
}

const char Defaults[] = "XTXT . ---- ..X. . xx--xxxxxx-";
const char Command[] = "COMMAND(2,0)";
const char CommandClose[] = "COMMAND(2,0) CLOSE(0,0)posted";
const char BothPosted[] = "COMMAND(2,0)posted CLOSE(0,0)posted";
}

TEST_CASE("the dialog opens with what is stored, its boxes follow each other, Ok saves and tells the panel")
{
    struct Row {
        std::string name;
        SettingsFiles files;
        std::vector<int> clicks;
        std::string states, saved, panel;  // saved: the shared keys / the log keys (default when left out)
        PanelAct act = PanelAct::Answers;
        DWORD waits = 0;                     // how long Ok may wait for the panel
        void (*end)(HWND dialog) = nullptr;  // Ok when null; the others must leave the files and the panel alone
        bool locked = false;                 // the primary and job-log files are folders, so cannot be written
    };
    const SettingsFiles Retail5 = {SharedFile("RetailMode=5\r\n")};
    // clang-format off
    std::vector<Row> rows = {
        {"nothing stored, nothing changed", {}, {}, Defaults, "0 0 0 0 0 1 0 0", Command},
        {"every value other than 0 and 1, saved as 1 and counted as changed",
         {SharedFile("WizardOnly=2\r\nWizardOnly++=256\r\nPollForFiles=7\r\nDeleteAfterRun=65536\r\nUserSwitching=0\r\n"
                     "AlwaysHomeZ=4294967295\r\nJobLogging=3\r\n"), "", JobLogDigits("00110000001")},
         {}, ".T.T . ---- XX.X X ..XX......X", "1 1 0 1 1 0 1 1 / 00110000001", CommandClose},
        {"every option switched", {},
         {IDC_MANUAL_OTHER, IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS,
          IDC_DATALOGGING, IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR,
          IDC_LOG_DATE, IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER},
         "XT.T . ---- XX.X X ..XX......X", "0 1 0 1 1 0 1 1 / 00110000001", CommandClose},
        {"the options outside the close set switched", {},
         {IDC_MANUAL_RDM, IDC_MANUAL_OTHER, IDC_DELETE_AFTER_RUN, IDC_RETAIL_MODE}, "", "1 1 15 0 1 1 0 0", Command},
        {"RetailMode 16: no restriction known, saved off", {SharedFile("RetailMode=16\r\n")}, {},
         "-t-t X .... ..X. . xx--xxxxxx-", "1 1 0 0 0 1 0 0", Command},
        {"a restriction added to 5", {Retail5}, {IDC_HIDE_SETTINGS_BUTTON}, "-t-t X X.XX ..X. . xx--xxxxxx-",
         "1 1 13 0 0 1 0 0", Command},
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
        // Named in one box, with the system's reason, after every write; the files that took them, written.
        {"files that cannot be written", {"", SharedFile("RetailMode=5\r\nUserSwitching=0\r\n")},
         {IDC_RETAIL_MODE, IDC_USER_SWITCHING}, "", "", CommandClose,
         PanelAct::Answers, 0, nullptr, true},
        {"a log flag of 7 counts as changed", {SharedFile("JobLogging=1\r\n"), "", "[Settings]\r\nLogPause=7\r\n"},
         {}, "", "0 0 0 0 0 1 0 1 / 11101111110", CommandClose},
        // No folder to write to: nothing to report either.
        {"Poll twice: no change, no close; no folders", {"", "", "", NoFolders}, {IDC_POLL_FOR_FILES,
         IDC_POLL_FOR_FILES}, Defaults, "", Command},
        // However the panel acts, it gets every message once, in order, and never one that outlived the program: the
        // command sent while it waits, up to 20 s after Ok, to a panel that answers, else posted 5 s after Ok; the
        // close posted.
        {"a panel that restarts on the command", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose, PanelAct::Restarts},
        {"a panel that goes away on the command", {}, {IDC_HOME_Z_AXIS}, "", "", Command, PanelAct::GoesAway},
        {"a panel that takes 7 s over the command", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose,
         PanelAct::SlowCommand, 7000},
        {"a panel that takes 7 s over the close", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose, PanelAct::SlowClose,
         7000},
        {"a panel hung at Ok, back after the program ended", {}, {IDC_HOME_Z_AXIS}, "", "0 0 0 0 0 1 1 0",
         BothPosted, PanelAct::Hung, 5000},
        {"a panel that restarts slowly on the command", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose,
         PanelAct::RestartsSlowly, 7000},
        {"a panel busy once it handled the command until the program ended", {}, {IDC_HOME_Z_AXIS}, "", "",
         CommandClose, PanelAct::JobAfterCommand},
        {"a panel that takes until the program ended over the close", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose,
         PanelAct::CloseUntilEnd},
        {"a panel busy for 8 s once it answered, the close due", {}, {IDC_HOME_Z_AXIS}, "", "", CommandClose,
         PanelAct::Busy, 8000},
        {"a panel busy for 8 s once it answered, no close due", {}, {IDC_DELETE_AFTER_RUN}, "", "", Command,
         PanelAct::Busy, 8000},
        // Past the bound the panel counts as hung: the command it never retrieved is cancelled.
        {"a panel busy once it answered until the program ended", {}, {IDC_HOME_Z_AXIS}, "", "0 0 0 0 0 1 1 0",
         "CLOSE(0,0)posted", PanelAct::BusyUntilEnd, 20000},
    };
    // Each option of the close set alone; a box read or saved as another shows in one of the digits rows.
    for (int id : {IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_DATALOGGING, IDC_LOG_START, IDC_LOG_COMPLETE,
                   IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE, IDC_LOG_TIME, IDC_LOG_JOB_NAME,
                   IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER})
        rows.push_back({"option " + std::to_string(id), {SharedFile("JobLogging=1\r\n")}, {id}, "", "", CommandClose});
    for (const std::string digits : {"01010101010", "00110011001", "00001111000", "00000000111"}) {
        std::string boxes;  // the log boxes come in the file's order but for Job Name, which follows Time
        for (const size_t key : {0, 1, 2, 3, 4, 6, 7, 5, 8, 9, 10})
            boxes += digits[key] == '1' ? 'X' : '.';
        rows.push_back({"log keys " + digits, {SharedFile("JobLogging=1\r\n"), "", JobLogDigits(digits)}, {},
                        "XTXT . ---- ..X. X " + boxes, "0 0 0 0 0 1 0 1 / " + digits, Command});
    }
    for (auto end : {+[](HWND dialog) { ClickControl(dialog, IDCANCEL); },
                     +[](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1); }, &SystemClose,
                     +[](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); },
                     +[](HWND dialog) { DragTitleBar(dialog, -15, 10), ClickControl(dialog, IDCANCEL); }})
        rows.push_back({"Cancel, Escape, the system's close, WM_CLOSE 0, or Cancel after a drag", {},
                        {IDC_RETAIL_MODE, IDC_POLL_FOR_FILES}, "", "", "", PanelAct::Answers, 0, end});
    // clang-format on

    for (const Row& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        panelLog.clear();
        savedAtCommand.clear();
        panelAct = row.act;
        OpenPanel();
        for (const std::wstring& file : {PrimaryIni(), JobLogIni()})
            CHECK((!row.locked || CreateDirectoryW(file.c_str(), nullptr)));
        ProgramRun program(L"winxp");
        sender = program.process.hProcess;
        HWND dialog = program.WaitForDialog();
        REQUIRE(dialog != nullptr);
        for (int id : row.clicks)
            ClickControl(dialog, id);
        if (!row.states.empty())
            CHECK(States(dialog) == row.states);
        const DWORD ok = GetTickCount();
        row.end != nullptr ? row.end(dialog) : ClickControl(dialog, IDOK);
        if (row.act == PanelAct::Hung) {
            WaitForSingleObject(program.process.hProcess, Scaled(30000));  // without pumping
            CHECK(panelLog.empty());
        }
        if (row.locked) {
            HWND box = nullptr;  // visible once it is set up
            PumpMessages(Scaled(10000),
                         [&] { return IsWindowVisible(box = FindWindowW(L"#32770", L"Cannot Save Settings")); });
            const std::wstring denied = L"\r\nAccess denied.";
            CHECK(WindowText(GetDlgItem(box, IDC_MESSAGE_TEXT)) ==
                  L"Your settings could not be saved to these files:\r\n\r\n" + PrimaryIni() + denied + L"\r\n\r\n" +
                      JobLogIni() + denied);
            CHECK(IsWindowVisible(GetDlgItem(box, IDC_MESSAGE_ICON)));
            CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"UserSwitching") == L"1");
            ClickControl(box, IDOK);
        }
        CHECK(program.WaitForExit() == 0);  // no box: nothing else failed
        // Ok waits for the panel no longer than it must; for Wine to end the program, 2 s where it runs natively.
        CHECK(GetTickCount() - ok < row.waits + Scaled(2000));
        PumpMessages(row.act == PanelAct::Answers ? 0 : 300);
        if (row.end != nullptr)
            CHECK(ReadFileBytes(PrimaryIni()) + ReadFileBytes(FallbackIni()) + ReadFileBytes(JobLogIni()) == "");
        else if (!row.saved.empty()) {
            const std::string saved = row.saved + (row.saved.find('/') == std::string::npos ? " / 11001111110" : "");
            CHECK(Saved() == saved.substr(0, saved.find('/')) + "/ " + saved);
        }
        if (row.end == nullptr && !row.locked && row.files.primary.empty() && row.files.folders == AllFolders)
            CHECK(std::regex_replace(ReadFileBytes(PrimaryIni()), std::regex("=.*\r\n"), " ") ==
                  "[SETTINGS]\r\nWizardOnly WizardOnly++ RetailMode PollForFiles DeleteAfterRun UserSwitching "
                  "AlwaysHomeZ JobLogging ");
        CHECK(panelLog == row.panel);
        CHECK(savedAtCommand == (row.panel.rfind("COMMAND", 0) == 0 ? Saved() : ""));  // told once every file is saved
        DestroyWindow(panelWindow);
    }
    for (const wchar_t* stray : {L"C:\\windows\\DRZINFO.INI", L"C:\\windows\\JobInfo.ini", L"C:\\RIDERE"})
        CHECK(GetFileAttributesW(stray) == INVALID_FILE_ATTRIBUTES);
}

// The keyboard as a person uses it, at the focus: first focus, Tab once round the enabled boxes and buttons in
// template order, the four arrows from the first box, Space on it, then `end`.
void UseKeyboard(HWND dialog, int down, UINT end)
{
    // Posted messages keep their order: a strip's pushed state (not drawn), posted after the key, shows it handled.
    HWND marked = GetDlgItem(dialog, IDC_STRIP_LEFT);
    bool mark = false;
    const auto press = [&](UINT key) {
        HWND at = Focus(dialog);
        PostMessageW(at, WM_KEYDOWN, key, 1);
        PostMessageW(at, WM_KEYUP, key, 0xC0000001);
        PostMessageW(marked, BM_SETSTATE, mark = !mark, 0);
        PumpMessages(Scaled(5000), [&] { return ((SendBounded(marked, BM_GETSTATE) & BST_PUSHED) != 0) == mark; });
        return Focus(dialog);
    };
    std::vector<HWND> cycle, visited = {Focus(dialog)};
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[8] = {};
        const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (GetClassNameW(child, name, 8) && std::wstring(name) == L"Button" && IsWindowEnabled(child) &&
            (type == BS_AUTOCHECKBOX || type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON))
            cycle.push_back(child);
    }
    while (visited.size() <= cycle.size())
        visited.push_back(press(VK_TAB));
    cycle.push_back(cycle[0]);
    CHECK((visited == cycle && cycle.size() > 10));
    // Never a text, a frame, a strip or the title bar: a box or button that shows the focus.
    for (const UINT arrow : {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT}) {
        SendBounded(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cycle[0]), TRUE);
        HWND to = press(arrow);
        CHECK(std::find(cycle.begin(), cycle.end(), to) != cycle.end());
        CHECK((arrow != VK_DOWN || GetDlgCtrlID(to) == down));
    }
    SendBounded(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cycle[0]), TRUE);
    press(VK_SPACE);
    CHECK_FALSE(IsControlChecked(dialog, GetDlgCtrlID(cycle[0])));  // every first box opens checked
    press(end);
}

// Template 101's dialog as the dialog manager alone makes it at the scale set now (tools/bare_dialog.exe): its size.
SIZE BareDialog()
{
    ProgramRun bare(L"winxp", L"tools\\bare_dialog.exe");
    const RECT whole = Place(bare.WaitForDialog(), 0);
    return {whole.right - whole.left, whole.bottom - whole.top};
}

// Run on screens of several sizes (tests/CMakeLists.txt): the work area is the screen.
TEST_CASE("at 96, 120 and 144 dpi on any screen the dialogs fit, the frame joins, the keys reach every box")
{
    const COLORREF strip[] = {0x404040, 0x404040, 0x0000CF, 0x0000CF};  // from the window's edge inward
    const wchar_t Desktop[] = L"Control Panel\\Desktop";
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const SIZE at96 = BareDialog();
    // The settings dialog on light grey; the refusal's message box on dark grey, its bar always sized to the slices.
    // 96 last, as the prefix has it: Wine rewrites its fonts' registry entries for the scale each program starts at.
    for (const auto& [version, body] : {std::pair{L"winxp", 0xE2E2E2}, {L"win2k", 0x707072}})
        for (DWORD dpi : {144, 120, 96}) {
            INFO(ToUtf8(version) << " at " << dpi << " on " << work.right << "x" << work.bottom);
            // At 120 the first box is Retail Mode (the manual controls are off), and the log boxes are on.
            PrepareFiles({dpi == 120 ? SharedFile("RetailMode=5\r\nJobLogging=1\r\n") : ""});
            SHSetValueW(HKEY_CURRENT_USER, Desktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
            const SIZE bare = body == 0xE2E2E2 ? BareDialog() : SIZE{};
            ProgramRun program(version);
            HWND dialog = program.WaitForDialog();  // it read the scale as it started
            SHDeleteValueW(HKEY_CURRENT_USER, Desktop, L"LogPixels");
            REQUIRE(dialog != nullptr);
            const RECT whole = Place(dialog, 0);
            const int w = whole.right - whole.left, h = whole.bottom - whole.top;
            // On the screen whole, Ok and Cancel too; as the template makes it where that fits, else smaller, its
            // texts no smaller than at 96 dpi.
            for (const int id : {0, IDOK, IDCANCEL}) {
                RECT part = Place(dialog, id), common = {};
                OffsetRect(&part, id ? whole.left : 0, id ? whole.top : 0);
                CHECK((IntersectRect(&common, &part, &work) && EqualRect(&common, &part)));
            }
            const bool fits = bare.cx <= work.right - work.left && bare.cy <= work.bottom - work.top;
            CHECK((!bare.cx || (fits ? w == bare.cx && h == bare.cy : h < bare.cy && h >= at96.cy)));
            // The settings template's bar is 14 of its 324 units high.
            const Image title = TitleBarPixels(w);
            const int bar = body == 0x707072 ? title.height : std::min(MulDiv(h, 14, 324), title.height);
            CHECK(Place(dialog, IDC_TITLE_BAR).bottom == bar);
            // The shape: the top corners cut, the right the mirror image of the left, a straight top edge from 15 to
            // w - 15, a full rectangle from row 13 down.
            HRGN shape = CreateRectRgn(0, 0, 0, 0);
            CHECK(GetWindowRgn(dialog, shape) != ERROR);
            int unlike = 0;
            for (int y = 0; y < 13; ++y)
                for (int x = 0; x < 16; ++x)
                    unlike += PtInRegion(shape, x, y) != PtInRegion(shape, w - 1 - x, y);
            CHECK(unlike == 0);
            CHECK((!PtInRegion(shape, 2, 2) && PtInRegion(shape, 15, 0) && PtInRegion(shape, 0, 13) &&
                   PtInRegion(shape, w - 1, 13) && PtInRegion(shape, w - 1, h - 1)));
            // Read back in 25 columns at each side: the caps and tile over the bar, below it the strips, then the body;
            // at the bottom, the bottom strip red along its upper edge, grey along its lower edge and at both ends.
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            PumpMessages(Scaled(200));  // Wine puts another process's paint on screen once its thread waits again
            HDC dc = GetDC(dialog);
            int wrong = 0;
            for (int y = 0; y < h; y += y == bar + 5 ? h - bar - 11 : 1)
                for (int x = 0; x < w; x += x == 24 ? w - 49 : 1) {
                    const int edge = std::min(x, w - 1 - x), bottom = h - 1 - y;
                    const COLORREF look = bottom < 4 ? (edge < 2 || bottom < 2 ? strip[0] : strip[2])
                                          : y >= bar ? (edge < 4 ? strip[edge] : body)
                                                     : title.At(x, y);
                    wrong += PtInRegion(shape, x, y) && GetPixel(dc, x, y) != look;
                }
            CHECK(wrong == 0);
            ReleaseDC(dialog, dc);
            DeleteObject(shape);
            if (body == 0x707072)
                DragTitleBar(dialog, 12, -8), ClickControl(dialog, IDOK);
            else if (dpi == 120)  // Escape saves nothing
                UseKeyboard(dialog, IDC_HIDE_SYSTEM_TAB, VK_ESCAPE);
            else  // the manual box, alone in its group, keeps the arrows; Space unchecked it, Enter saved that
                UseKeyboard(dialog, IDC_MANUAL_RDM, VK_RETURN);
            CHECK(program.WaitForExit() == static_cast<DWORD>(body == 0x707072 ? -1 : 0));
            const std::string saved = dpi == 120 ? "<absent> " : "1 0 0 0 0 1 0 0 ";  // read once it is all written
            CHECK((body == 0x707072 || Saved().substr(0, saved.size()) == saved));
        }
}
