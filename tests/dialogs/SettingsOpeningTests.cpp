#include <doctest/doctest.h>

#include "dialogs/SettingsDriver.h"
#include "resource.h"

// States() groups, for reading the rows below:
//   manual+help | retail | restrictions | delete poll switching homeZ | datalogging | log boxes
// X/. checked/unchecked enabled box, x/- the same disabled, T/t enabled/disabled help text.

TEST_CASE("the dialog opens with the stored options and both rules applied")
{
    const struct {
        const char* name;
        SettingsFiles files;
        std::string states;
    } rows[] = {
        {"no folders at all", {"", "", "", NoFolders}, "XTXT . ---- ..X. . xx--xxxxxx-"},
        {"WizardOnly 1", {SharedFile("WizardOnly=1\r\n")}, ".TXT . ---- ..X. . xx--xxxxxx-"},
        {"RetailMode 5", {SharedFile("RetailMode=5\r\n")}, "-t-t X X.X. ..X. . xx--xxxxxx-"},
        {"RetailMode 16: on, but no restriction it knows", {SharedFile("RetailMode=16\r\n")},
         "-t-t X .... ..X. . xx--xxxxxx-"},
        {"UserSwitching 2", {SharedFile("UserSwitching=2\r\n")}, "XTXT . ---- ..X. . xx--xxxxxx-"},
        {"JobLogging 1", {SharedFile("JobLogging=1\r\n")}, "XTXT . ---- ..X. X XX..XXXXXX."},
        {"a log flag stored as 7", {"", "", JobLogFile("LogPause=7\r\n")}, "XTXT . ---- ..X. . xxx-xxxxxx-"},
        {"every option the other way round",
         {SharedFile("WizardOnly=1\r\nWizardOnly++=1\r\nPollForFiles=1\r\nDeleteAfterRun=1\r\n"
                     "UserSwitching=0\r\nAlwaysHomeZ=1\r\nJobLogging=1\r\n"),
          "",
          JobLogFile("LogStart=0\r\nLogComplete=0\r\nLogPause=1\r\nLogResume=1\r\nLogError=0\r\nLogDate=0\r\n"
                     "LogTime=0\r\nLogJobName=0\r\nLogDuration=0\r\nLogUser=0\r\nLogSerialNum=1\r\n")},
         ".T.T . ---- XX.X X ..XX......X"},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        SettingsRun run;
        CHECK(run.States() == row.states);
        CHECK(run.Press(IDCANCEL) == 0);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the boxes' rules, applied on every click")
{
    const struct {
        const char* name;
        const char* stored;  // the shared file's lines
        std::vector<int> clicks;
        std::string states;
    } rows[] = {
        {"Retail Mode on where it was off: all four restrictions", "", {IDC_RETAIL_MODE},
         "-t-t X XXXX ..X. . xx--xxxxxx-"},
        {"Retail Mode on, then off: manual boxes enabled but unchecked", "", {IDC_RETAIL_MODE, IDC_RETAIL_MODE},
         ".T.T . ---- ..X. . xx--xxxxxx-"},
        {"loaded 5, restrictions changed, off, on: 5 again", "RetailMode=5\r\n",
         {IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_RETAIL_MODE, IDC_RETAIL_MODE},
         "-t-t X X.X. ..X. . xx--xxxxxx-"},
        {"loaded 5, restrictions changed: as clicked", "RetailMode=5\r\n",
         {IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS}, "-t-t X .XX. ..X. . xx--xxxxxx-"},
        {"datalogging on, log boxes changed, off: states kept", "",
         {IDC_DATALOGGING, IDC_LOG_PAUSE, IDC_LOG_USER, IDC_DATALOGGING}, "XTXT . ---- ..X. . xxx-xxxxx--"},
        {"datalogging on, log boxes changed, off, on: states kept", "",
         {IDC_DATALOGGING, IDC_LOG_PAUSE, IDC_LOG_USER, IDC_DATALOGGING, IDC_DATALOGGING},
         "XTXT . ---- ..X. X XXX.XXXXX.."},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        PrepareFiles({SharedFile(row.stored)});
        SettingsRun run;
        run.Click(row.clicks);
        CHECK(run.States() == row.states);
        CHECK(run.Press(IDCANCEL) == 0);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the dialog: its 36 items in tab order, light grey behind its texts, its strips, bar and rounded top")
{
    const int order[] = {
        IDC_TITLE_BAR, IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_STRIP_RIGHT, IDC_MANUAL_RDM, -1,
        IDC_MANUAL_RDM_HELP, IDC_RETAIL_MODE, IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS,
        IDC_DISABLE_FIXTURE_TYPE, IDC_HIDE_SETTINGS_BUTTON, IDC_DELETE_AFTER_RUN, IDC_MANUAL_OTHER,
        IDC_MANUAL_OTHER_HELP, IDC_USER_SWITCHING, IDC_USER_SWITCHING_HELP, IDC_HOME_Z_AXIS, IDC_HOME_Z_AXIS_HELP,
        -1, IDC_DATALOGGING, IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR,
        IDC_LOG_DATE, IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER, IDC_LOG_DURATION,
        IDOK, IDCANCEL, IDC_POLL_FOR_FILES, IDC_POLL_FOR_FILES_HELP,
    };
    ResetSettingsFolders(NoFolders);
    SettingsRun run;
    HWND dialog = run.dialog;
    // The dialog manager keeps the children in template order, and Tab follows it.
    HWND child = GetWindow(dialog, GW_CHILD);
    for (int expected : order) {
        CAPTURE(expected);
        REQUIRE(child != nullptr);
        CHECK(GetDlgCtrlID(child) == expected);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    CHECK(child == nullptr);

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
        const char* where;
        HWND window;
        int x, y;
        COLORREF color;
    } probes[] = {
        {"background", dialog, 20, 300, light},
        {"right of a check box's label", GetDlgItem(dialog, IDC_RETAIL_MODE), -3, 8, light},
        {"below a help text's last line", GetDlgItem(dialog, IDC_POLL_FOR_FILES_HELP), -2, -2, light},
        {"left strip", dialog, 3, 300, red},
        {"right strip", dialog, -4, 300, red},
        {"bottom strip", dialog, 300, -4, red},
    };
    for (const auto& probe : probes) {
        INFO(probe.where);
        CHECK(pixelOf(probe.window, probe.x, probe.y) == probe.color);
    }
    const COLORREF bar = pixelOf(dialog, 150, 10);  // drawn from red slices
    CAPTURE(bar);
    CHECK(GetRValue(bar) > GetGValue(bar) + 60);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    CHECK(GetWindowRgn(dialog, shape) != ERROR);
    CHECK_FALSE(PtInRegion(shape, 0, 0));
    CHECK(PtInRegion(shape, 15, 0));
    DeleteObject(shape);
    CHECK(run.Press(IDCANCEL) == 0);
}
