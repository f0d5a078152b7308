#include <doctest/doctest.h>

#include "dialogs/SettingsDriver.h"
#include "resource.h"
#include "support/Text.h"

// States() groups, for reading the rows below:
//   manual+help | retail | restrictions | delete poll switching homeZ | datalogging | log boxes
// X/. checked/unchecked enabled box, x/- the same disabled, T/t enabled/disabled help text.

TEST_CASE("the dialog opens with the stored options and both rules applied")
{
    struct Row {
        const char* name;
        SettingsFiles files;
        const char* states;
    };
    const Row rows[] = {
        {"no folders at all", {"", "", "", NoFolders},
         "XTXT . ---- ..X. . xx--xxxxxx-"},
        {"empty folders", {"", "", "", AllFolders},
         "XTXT . ---- ..X. . xx--xxxxxx-"},
        {"WizardOnly 1", {SharedFile("WizardOnly=1\r\n")},
         ".TXT . ---- ..X. . xx--xxxxxx-"},
        {"WizardOnly++ 1", {SharedFile("WizardOnly++=1\r\n")},
         "XT.T . ---- ..X. . xx--xxxxxx-"},
        {"RetailMode 5", {SharedFile("RetailMode=5\r\n")},
         "-t-t X X.X. ..X. . xx--xxxxxx-"},
        {"RetailMode 16: on, but no restriction it knows", {SharedFile("RetailMode=16\r\n")},
         "-t-t X .... ..X. . xx--xxxxxx-"},
        {"RetailMode 10 in the fallback file only", {"", SharedFile("RetailMode=10\r\n")},
         "-t-t X .X.X ..X. . xx--xxxxxx-"},
        {"UserSwitching 2", {SharedFile("UserSwitching=2\r\n")},
         "XTXT . ---- ..X. . xx--xxxxxx-"},
        {"UserSwitching 0", {SharedFile("UserSwitching=0\r\n")},
         "XTXT . ---- .... . xx--xxxxxx-"},
        {"JobLogging 1", {SharedFile("JobLogging=1\r\n")},
         "XTXT . ---- ..X. X XX..XXXXXX."},
        {"a log flag stored as 7", {"", "", JobLogFile("LogPause=7\r\n")},
         "XTXT . ---- ..X. . xxx-xxxxxx-"},
        {"every option on",
         {SharedFile("WizardOnly=0\r\nWizardOnly++=0\r\nRetailMode=15\r\nPollForFiles=1\r\n"
                     "DeleteAfterRun=1\r\nUserSwitching=1\r\nAlwaysHomeZ=1\r\nJobLogging=1\r\n"),
          "",
          JobLogFile("LogStart=1\r\nLogComplete=1\r\nLogPause=1\r\nLogResume=1\r\nLogError=1\r\n"
                     "LogJobName=1\r\nLogDate=1\r\nLogTime=1\r\nLogDuration=1\r\nLogUser=1\r\n"
                     "LogSerialNum=1\r\n")},
         "-t-t X XXXX XXXX X XXXXXXXXXXX"},
        {"every log flag off, datalogging on",
         {SharedFile("JobLogging=1\r\n"), "",
          JobLogFile("LogStart=0\r\nLogComplete=0\r\nLogError=0\r\nLogJobName=0\r\nLogDate=0\r\n"
                     "LogTime=0\r\nLogDuration=0\r\nLogUser=0\r\n")},
         "XTXT . ---- ..X. X ..........."},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.name));
        PrepareFiles(row.files);
        SettingsRun run;
        CHECK(run.States() == row.states);
        CHECK(run.PressCancel() == 0);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("every control shows its text from the string table")
{
    struct Row {
        int id;
        const wchar_t* text;
    };
    const Row rows[] = {
        {IDC_TITLE_BAR, L"KRV Advanced Engraver Settings 1.7"},
        {IDOK, L"Ok"},
        {IDCANCEL, L"Cancel"},
        {IDC_MANUAL_RDM, L"Enable Manual Controls (RDM Desktop)"},
        {IDC_MANUAL_RDM_HELP, L"Select this option to display the Manual Controls tab in the Printer "
                              L"Settings dialog (RDM Desktop Only)."},
        {IDC_MANUAL_OTHER, L"Enable Manual Controls (Other Models)"},
        {IDC_MANUAL_OTHER_HELP, L"Select this option to display the Manual Controls tab in the Printer "
                                L"Settings dialog (for all other models)."},
        {IDC_RETAIL_MODE, L"Retail Mode"},
        {IDC_HIDE_SYSTEM_TAB, L"Hide System Tab"},
        {IDC_FORBID_QUEUE_ACCESS, L"Forbid Read/Write Access to Print Queue"},
        {IDC_DISABLE_FIXTURE_TYPE, L"Disable Fixture Type Selection"},
        {IDC_HIDE_SETTINGS_BUTTON, L"Hide Settings Button"},
        {IDC_DELETE_AFTER_RUN, L"Delete Each Job after Engraving"},
        {IDC_POLL_FOR_FILES, L"Enable Print File Polling"},
        {IDC_POLL_FOR_FILES_HELP, L"Select this option if printed jobs fail to appear in the HQW print queue."},
        {IDC_USER_SWITCHING, L"Enable Windows Multi-User Switching"},
        {IDC_USER_SWITCHING_HELP, L"Leave this option checked if more than one user may log onto your computer.  "},
        {IDC_HOME_Z_AXIS, L"Home the RDM Z-Axis Following Application Launch"},
        {IDC_HOME_Z_AXIS_HELP, L"Select this option to home the Z-Axis on the RDM following each application "
                               L"launch; i.e. whenever the USB cable is reconnected and whenever the computer "
                               L"is rebooted."},
        {IDC_DATALOGGING, L"Activate Datalogging"},
        {IDC_LOG_START, L"Log START Events"},
        {IDC_LOG_COMPLETE, L"Log COMPLETE Events"},
        {IDC_LOG_PAUSE, L"Log PAUSE Events"},
        {IDC_LOG_RESUME, L"Log RESUME Events"},
        {IDC_LOG_ERROR, L"Log ERROR Events"},
        {IDC_LOG_DATE, L"Log Date (MM/DD/YY)"},
        {IDC_LOG_TIME, L"Log Time (24-HH:MM:SS)"},
        {IDC_LOG_JOB_NAME, L"Log Job Name"},
        {IDC_LOG_DURATION, L"Log Job Duration (HH:MM:SS)"},
        {IDC_LOG_USER, L"Log Computer User Name"},
        {IDC_LOG_SERIAL_NUMBER, L"Log Engraver Serial Number"},
        // The strips are owner-drawn and keep their template texts.
        {IDC_STRIP_LEFT, L"Button2"},
        {IDC_STRIP_BOTTOM, L"Button2"},
        {IDC_STRIP_RIGHT, L"Button2"},
    };
    ResetSettingsFolders(NoFolders);
    SettingsRun run;
    for (const Row& row : rows) {
        CAPTURE(row.id);
        CHECK(run.Text(row.id) == row.text);
    }
    // The window itself carries the title too, for the taskbar.
    CHECK(WindowText(run.Dialog()) == L"KRV Advanced Engraver Settings 1.7");
    CHECK(run.PressCancel() == 0);
}

TEST_CASE("Retail Mode: switched on it shows the loaded restrictions, switched off it clears them")
{
    struct Row {
        const char* name;
        const char* storedMask;   // null: no key
        int clicks[8];            // 0 ends the list
        const char* states;       // groups 1 to 3 only
    };
    const Row rows[] = {
        {"on where it was off: all four", nullptr, {IDC_RETAIL_MODE}, "-t-t X XXXX"},
        {"on, then off: manual boxes enabled but unchecked", nullptr,
         {IDC_RETAIL_MODE, IDC_RETAIL_MODE}, ".T.T . ----"},
        {"on, restrictions changed, off, on: all four again", nullptr,
         {IDC_RETAIL_MODE, IDC_HIDE_SYSTEM_TAB, IDC_DISABLE_FIXTURE_TYPE, IDC_RETAIL_MODE, IDC_RETAIL_MODE},
         "-t-t X XXXX"},
        {"loaded 5, restrictions changed, off, on: 5 again", "5",
         {IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_RETAIL_MODE, IDC_RETAIL_MODE}, "-t-t X X.X."},
        {"loaded 5, restrictions changed: as clicked", "5",
         {IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS}, "-t-t X .XX."},
        {"loaded 5, off: manual boxes stay unchecked", "5", {IDC_RETAIL_MODE}, ".T.T . ----"},
        {"loaded 5, off, manual box checked, on: unchecked again", "5",
         {IDC_RETAIL_MODE, IDC_MANUAL_RDM, IDC_RETAIL_MODE}, "-t-t X X.X."},
        {"manual boxes clicked while off: only they change", nullptr,
         {IDC_MANUAL_RDM, IDC_MANUAL_OTHER, IDC_MANUAL_OTHER}, ".TXT . ----"},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.name));
        PrepareFiles({row.storedMask ? SharedFile(std::string("RetailMode=") + row.storedMask + "\r\n") : ""});
        SettingsRun run;
        for (int id : row.clicks) {
            if (id == 0)
                break;
            run.Click(id);
        }
        CHECK(run.States().substr(0, 11) == row.states);
        CHECK(run.PressCancel() == 0);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Activate Datalogging enables the log boxes and never changes their states")
{
    PrepareFiles({"", "", JobLogFile("LogStart=0\r\nLogSerialNum=1\r\n")});
    SettingsRun run;
    const auto logBoxes = [&run] { return run.States().substr(19); };
    CHECK(logBoxes() == "-x--xxxxxxx");
    run.Click(IDC_DATALOGGING);
    CHECK(logBoxes() == ".X..XXXXXXX");
    run.Click(IDC_LOG_PAUSE);
    run.Click(IDC_LOG_USER);
    CHECK(logBoxes() == ".XX.XXXXX.X");
    run.Click(IDC_DATALOGGING);
    CHECK(logBoxes() == "-xx-xxxxx-x");
    run.Click(IDC_DATALOGGING);
    CHECK(logBoxes() == ".XX.XXXXX.X");
    // Nothing else moved.
    CHECK(run.States().substr(0, 18) == "XTXT . ---- ..X. X");
    CHECK(run.PressCancel() == 0);
    ResetSettingsFolders(NoFolders);
}
