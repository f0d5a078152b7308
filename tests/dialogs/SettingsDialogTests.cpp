#include <doctest/doctest.h>

#include <string>

#include "dialogs/SettingsDriver.h"
#include "resource.h"
#include "support/Text.h"

// States() groups, for reading the rows below:
//   manual+help | retail | restrictions | delete poll switching homeZ | datalogging | log boxes
// X/. checked/unchecked enabled box, x/- the same disabled, T/t enabled/disabled help text.
// Saved values: the eight shared keys in the order written, then the eleven log keys as digits, also in order.
namespace {
const char Defaults[] = "XTXT . ---- ..X. . xx--xxxxxx-";
const char Command[] = "COMMAND(2,0)";
const char CommandClose[] = "COMMAND(2,0) CLOSE(0,0)";
const char DefaultLog[] = "11001111110";
}

TEST_CASE("the dialog opens with what is stored, its boxes follow each other, and Ok saves and tells the panel")
{
    struct Row {
        std::string name;
        SettingsFiles files;
        std::vector<int> clicks;
        std::string states, shared, log, panel;
        bool restarts = false;  // the panel replaces its window on the command
    };
    const std::string everyOther = "WizardOnly=1\r\nWizardOnly++=1\r\nPollForFiles=1\r\nDeleteAfterRun=1\r\n"
                                   "UserSwitching=0\r\nAlwaysHomeZ=1\r\nJobLogging=1\r\n";
    std::vector<Row> rows = {
        {"nothing stored, nothing changed", {}, {}, Defaults, "0 0 0 0 0 1 0 0", DefaultLog, Command},
        {"every option the other way round", {SharedFile(everyOther), "", JobLogDigits("00110000001")}, {},
         ".T.T . ---- XX.X X ..XX......X", "1 1 0 1 1 0 1 1", "00110000001", Command},
        {"every option switched", {},
         {IDC_MANUAL_OTHER, IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS,
          IDC_DATALOGGING, IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR,
          IDC_LOG_DATE, IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER},
         "XT.T . ---- XX.X X ..XX......X", "0 1 0 1 1 0 1 1", "00110000001", CommandClose},
        {"RetailMode 5", {SharedFile("RetailMode=5\r\n")}, {}, "-t-t X X.X. ..X. . xx--xxxxxx-",
         "1 1 5 0 0 1 0 0", DefaultLog, Command},
        {"RetailMode 16: on, but no restriction it knows, so saved off", {SharedFile("RetailMode=16\r\n")}, {},
         "-t-t X .... ..X. . xx--xxxxxx-", "1 1 0 0 0 1 0 0", DefaultLog, Command},
        {"a restriction added to a stored 5", {SharedFile("RetailMode=5\r\n")}, {IDC_HIDE_SETTINGS_BUTTON},
         "-t-t X X.XX ..X. . xx--xxxxxx-", "1 1 13 0 0 1 0 0", DefaultLog, Command},
        {"stored 5, restrictions changed, off, on: 5 again", {SharedFile("RetailMode=5\r\n")},
         {IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_RETAIL_MODE, IDC_RETAIL_MODE},
         "-t-t X X.X. ..X. . xx--xxxxxx-", "1 1 5 0 0 1 0 0", DefaultLog, Command},
        {"Retail Mode on where it was off: all four restrictions", {}, {IDC_RETAIL_MODE},
         "-t-t X XXXX ..X. . xx--xxxxxx-", "1 1 15 0 0 1 0 0", DefaultLog, Command},
        {"manual boxes checked, Retail Mode on and off: they stay unchecked",
         {SharedFile("WizardOnly=0\r\nWizardOnly++=0\r\n")}, {IDC_RETAIL_MODE, IDC_RETAIL_MODE},
         ".T.T . ---- ..X. . xx--xxxxxx-", "1 1 0 0 0 1 0 0", DefaultLog, Command},
        {"log boxes changed with datalogging off again: saved all the same", {},
         {IDC_DATALOGGING, IDC_LOG_PAUSE, IDC_LOG_USER, IDC_DATALOGGING}, "XTXT . ---- ..X. . xxx-xxxxx--",
         "0 0 0 0 0 1 0 0", "11101111100", CommandClose},
        {"values other than 0 and 1 are saved as 1, and count as changed",
         {SharedFile("WizardOnly=5\r\nUserSwitching=2\r\nJobLogging=4294967295\r\n"), "", JobLogFile("LogPause=7\r\n")},
         {}, ".TXT . ---- ..X. X XXX.XXXXXX.", "1 0 0 0 0 1 0 1", "11101111110", CommandClose},
        {"Poll twice: no change, no close", {}, {IDC_POLL_FOR_FILES, IDC_POLL_FOR_FILES}, "", "", "", Command},
        {"a panel that restarts on the command still gets the close", {}, {IDC_HOME_Z_AXIS}, "", "", "",
         CommandClose, true},
    };
    // Which option changes close the panel: the log boxes each, while datalogging is on.
    const struct {
        int id;
        bool closes;
    } options[] = {{IDC_MANUAL_RDM, false},  {IDC_MANUAL_OTHER, false},     {IDC_DELETE_AFTER_RUN, false},
                   {IDC_RETAIL_MODE, false}, {IDC_POLL_FOR_FILES, true},    {IDC_USER_SWITCHING, true},
                   {IDC_HOME_Z_AXIS, true},  {IDC_DATALOGGING, true}};
    for (const auto& option : options)
        rows.push_back({"option " + std::to_string(option.id), {}, {option.id}, "", "", "",
                        option.closes ? CommandClose : Command});
    for (int id : {IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE,
                   IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER})
        rows.push_back({"log box " + std::to_string(id), {SharedFile("JobLogging=1\r\n")}, {id}, "", "", "",
                        CommandClose});
    // Each pair of log keys differs in one of these, so a box read or saved as another shows.
    for (const char* digits : {"01010101010", "00110011001", "00001111000", "00000000111"})
        rows.push_back({std::string("log keys ") + digits, {SharedFile("JobLogging=1\r\n"), "", JobLogDigits(digits)},
                        {}, "", "0 0 0 0 0 1 0 1", digits, Command});

    for (const Row& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        PanelRecorder panel(row.restarts);
        SettingsRun run;
        run.Click(row.clicks);
        if (!row.states.empty())
            CHECK(run.States() == row.states);
        CHECK(run.Press(IDOK) == 0);
        if (!row.shared.empty())
            CheckSaved(row.shared, row.log);
        CHECK(panel.log == row.panel);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Ok writes every key where its folder exists and never makes a folder or a stray file")
{
    const std::string shared = "[SETTINGS]\r\nWizardOnly=0\r\nWizardOnly++=0\r\nRetailMode=0\r\nPollForFiles=0\r\n"
                               "DeleteAfterRun=0\r\nUserSwitching=1\r\nAlwaysHomeZ=0\r\nJobLogging=0\r\n";
    const unsigned rows[] = {NoFolders, FallbackFolderExists, PrimaryFolderExists | JobLogFolderExists};
    for (unsigned folders : rows) {
        CAPTURE(folders);
        PrepareFiles({"", "", "", folders});
        SettingsRun run;
        CHECK(run.Press(IDOK) == 0);
        CHECK(FolderExists(PrimaryFolder()) == ((folders & PrimaryFolderExists) != 0));
        CHECK(FolderExists(FallbackFolder()) == ((folders & FallbackFolderExists) != 0));
        CHECK(FolderExists(JobLogFolder()) == ((folders & JobLogFolderExists) != 0));
        // Every key, in the order written; Lang never.
        CHECK(ReadFileBytes(PrimaryIni()) == ((folders & PrimaryFolderExists) ? shared : ""));
        CHECK(ReadFileBytes(FallbackIni()) == ((folders & FallbackFolderExists) ? shared : ""));
        CHECK(ReadFileBytes(JobLogIni()) == ((folders & JobLogFolderExists) ? JobLogDigits(DefaultLog) : ""));
        CheckNoStrayFiles();
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Cancel, Escape and the system's close write nothing and tell the panel nothing")
{
    const struct {
        const char* name;
        void (*end)(HWND dialog);
    } rows[] = {
        {"Cancel", [](HWND dialog) { ClickControl(dialog, IDCANCEL); }},
        {"Escape", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }},
        {"Close on the system menu", SystemClose},
        {"WM_CLOSE with wParam 0", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }},
    };
    // Loose formatting that any rewrite by the profile functions would tidy.
    const SettingsFiles files = {"[SETTINGS]\r\n  RetailMode = 5 \r\n", "[SETTINGS]\r\nJobLogging = 1\r\n",
                                 "[Settings]\r\n\r\nLogPause = 7\r\n"};
    for (const auto& row : rows) {
        INFO(row.name);
        PrepareFiles(files);
        PanelRecorder panel;
        SettingsRun run;
        run.Click({IDC_RETAIL_MODE, IDC_POLL_FOR_FILES, IDC_LOG_START});
        row.end(run.dialog);
        CHECK(run.program.WaitForExit() == 0);
        CHECK(ReadFileBytes(PrimaryIni()) == files.primary);
        CHECK(ReadFileBytes(FallbackIni()) == files.fallback);
        CHECK(ReadFileBytes(JobLogIni()) == files.jobLog);
        CHECK(panel.log.empty());
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("files that cannot be written are read, left alone, and named in one box after every write; exit 0")
{
    const SettingsFiles files = {SharedFile("RetailMode=5\r\nUserSwitching=0\r\n"), "", JobLogFile("LogPause=1\r\n")};
    PrepareFiles(files);
    FlushProfileCache();
    // As root, Wine writes a read-only file anyway: only the immutable flag stops it.
    const std::wstring locked[] = {PrimaryIni(), JobLogIni()};
    for (const std::wstring& path : locked)
        Chattr("+i", path);
    for (int i = 0; i < 50 && (Writable(locked[0]) || Writable(locked[1])); ++i)
        Sleep(100);  // the Unix command may not be done yet
    if (Writable(locked[0]) || Writable(locked[1])) {
        MESSAGE("skipped: this machine does not let a file be made unwritable");
    } else {
        SettingsRun run;
        CHECK(run.States() == "-t-t X X.X. .... . xxx-xxxxxx-");
        run.Click({IDC_RETAIL_MODE, IDC_USER_SWITCHING});
        ClickControl(run.dialog, IDOK);
        HWND box = nullptr;
        for (int i = 0; i < 200 && (box = FindWindowW(L"#32770", L"Cannot Save Settings")) == nullptr; ++i)
            PumpMessages(50);
        REQUIRE(box != nullptr);
        const std::wstring text = WindowText(GetDlgItem(box, IDC_MESSAGE_TEXT));
        CHECK(text.find(PrimaryIni() + L"\r\nAccess denied.") != std::wstring::npos);
        CHECK(text.find(JobLogIni()) != std::wstring::npos);
        CHECK(text.find(FallbackIni()) == std::wstring::npos);
        CHECK(IsWindowVisible(GetDlgItem(box, IDC_MESSAGE_ICON)));
        CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"UserSwitching") == L"1");  // written before the box
        ClickControl(box, IDOK);
        CHECK(run.program.WaitForExit() == 0);
    }
    for (const std::wstring& path : locked)
        Chattr("-i", path);
    for (int i = 0; i < 50 && !(Writable(locked[0]) && Writable(locked[1])); ++i)
        Sleep(100);
    CHECK(ReadFileBytes(PrimaryIni()) == files.primary);
    CHECK(ReadFileBytes(JobLogIni()) == files.jobLog);
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"RetailMode") == L"0");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("without an application-data folder: defaults shown, nothing written anywhere, exit 0")
{
    PrepareFiles({SharedFile("RetailMode=5\r\n")});
    const std::wstring folder = AppDataFolder(), aside = folder + L".away";
    FlushProfileCache();
    REQUIRE(MoveFileW(folder.c_str(), aside.c_str()));
    {
        SettingsRun run;
        CHECK(run.States() == Defaults);
        run.Click({IDC_RETAIL_MODE});
        CHECK(run.Press(IDOK) == 0);
    }
    CHECK_FALSE(FolderExists(folder));
    CheckNoStrayFiles();
    MoveFileW(aside.c_str(), folder.c_str());
    CHECK(ReadFileBytes(PrimaryIni()) == SharedFile("RetailMode=5\r\n"));
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("light grey behind the dialog's texts, red strips, and a rounded top")
{
    ResetSettingsFolders(NoFolders);
    SettingsRun run;
    HWND dialog = run.dialog;
    PumpMessages(1000);  // let it paint
    // The pixel on screen at (x, y) of `window`; negative values count from the right or bottom.
    const auto pixelOf = [](HWND window, int x, int y) {
        RECT rect;
        GetWindowRect(window, &rect);
        HDC screen = GetDC(nullptr);
        const COLORREF color =
            GetPixel(screen, x < 0 ? rect.right + x : rect.left + x, y < 0 ? rect.bottom + y : rect.top + y);
        ReleaseDC(nullptr, screen);
        return color;
    };
    const COLORREF light = 0xE2E2E2, red = 0x0000CF;
    const struct {
        HWND window;
        int x, y;
        COLORREF color;
    } probes[] = {
        {dialog, 20, 300, light},
        {GetDlgItem(dialog, IDC_RETAIL_MODE), -3, 8, light},           // right of a check box's label
        {GetDlgItem(dialog, IDC_POLL_FOR_FILES_HELP), -2, -2, light},  // below a help text's last line
        {dialog, 3, 300, red},
        {dialog, -4, 300, red},
        {dialog, 300, -4, red},
    };
    for (const auto& probe : probes) {
        CAPTURE(probe.x);
        CAPTURE(probe.y);
        CHECK(pixelOf(probe.window, probe.x, probe.y) == probe.color);
    }
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    CHECK(GetWindowRgn(dialog, shape) != ERROR);
    CHECK_FALSE(PtInRegion(shape, 0, 0));
    CHECK(PtInRegion(shape, 15, 0));
    DeleteObject(shape);
    CHECK(run.Press(IDCANCEL) == 0);
}
