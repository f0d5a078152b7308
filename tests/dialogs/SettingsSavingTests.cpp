#include <doctest/doctest.h>

#include "dialogs/SettingsDriver.h"
#include "resource.h"

namespace {
// The files a save leaves where there were none: every key, in the order written.
const char FreshShared[] =
    "[SETTINGS]\r\nWizardOnly=0\r\nWizardOnly++=0\r\nRetailMode=0\r\nPollForFiles=0\r\n"
    "DeleteAfterRun=0\r\nUserSwitching=1\r\nAlwaysHomeZ=0\r\nJobLogging=0\r\n";
const char FreshJobLog[] =
    "[Settings]\r\nLogStart=1\r\nLogComplete=1\r\nLogPause=0\r\nLogResume=0\r\nLogError=1\r\n"
    "LogJobName=1\r\nLogDate=1\r\nLogTime=1\r\nLogDuration=1\r\nLogUser=1\r\nLogSerialNum=0\r\n";
}

TEST_CASE("Ok writes every key where its folder exists, never creates a folder, and needs no control panel")
{
    REQUIRE(FindWindowW(L"DUZAZODI", nullptr) == nullptr);
    const unsigned rows[] = {AllFolders, NoFolders, FallbackFolderExists, PrimaryFolderExists | JobLogFolderExists};
    for (unsigned folders : rows) {
        CAPTURE(folders);
        PrepareFiles({"", "", "", folders});
        SettingsRun run;
        CHECK(run.Press(IDOK) == 0);
        CHECK(FolderExists(PrimaryFolder()) == ((folders & PrimaryFolderExists) != 0));
        CHECK(FolderExists(FallbackFolder()) == ((folders & FallbackFolderExists) != 0));
        CHECK(FolderExists(JobLogFolder()) == ((folders & JobLogFolderExists) != 0));
        CHECK(ReadFileBytes(PrimaryIni()) == ((folders & PrimaryFolderExists) ? FreshShared : ""));
        CHECK(ReadFileBytes(FallbackIni()) == ((folders & FallbackFolderExists) ? FreshShared : ""));
        CHECK(ReadFileBytes(JobLogIni()) == ((folders & JobLogFolderExists) ? FreshJobLog : ""));
        CheckNoStrayFiles();
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Ok saves what the boxes show")
{
    const struct {
        const char* name;
        SettingsFiles files;
        std::vector<int> clicks;
        const char* shared;  // in both shared files
        const char* jobLog;
    } rows[] = {
        {"Retail Mode on with no restriction: off, and both manual tabs hidden", {},
         {IDC_RETAIL_MODE, IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_DISABLE_FIXTURE_TYPE,
          IDC_HIDE_SETTINGS_BUTTON},
         "RetailMode=0 WizardOnly=1 WizardOnly++=1", ""},
        {"a restriction added to a stored 5", {SharedFile("RetailMode=5\r\n")}, {IDC_HIDE_SETTINGS_BUTTON},
         "RetailMode=13 WizardOnly=1 WizardOnly++=1", ""},
        {"values other than 0 and 1 are written back as 0 or 1",
         {SharedFile("WizardOnly=5\r\nUserSwitching=2\r\nJobLogging=4294967295\r\n"), "",
          JobLogFile("LogPause=7\r\nLogStart=-1\r\n")},
         {}, "WizardOnly=1 UserSwitching=1 JobLogging=1", "LogPause=1 LogStart=1"},
        {"every single option switched", {},
         {IDC_MANUAL_OTHER, IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS,
          IDC_DATALOGGING, IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR,
          IDC_LOG_DATE, IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER},
         "WizardOnly=0 WizardOnly++=1 RetailMode=0 PollForFiles=1 DeleteAfterRun=1 UserSwitching=0 AlwaysHomeZ=1 "
         "JobLogging=1",
         "LogStart=0 LogComplete=0 LogPause=1 LogResume=1 LogError=0 LogDate=0 LogTime=0 LogJobName=0 "
         "LogDuration=0 LogUser=0 LogSerialNum=1"},
        {"datalogging switched off: the log boxes' states are saved all the same", {SharedFile("JobLogging=1\r\n")},
         {IDC_LOG_PAUSE, IDC_LOG_START, IDC_DATALOGGING}, "JobLogging=0", "LogPause=1 LogStart=0 LogComplete=1"},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        SettingsRun run;
        run.Click(row.clicks);
        CHECK(run.Press(IDOK) == 0);
        CheckSaved(row.shared, row.jobLog);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Ok leaves Lang, comments, other sections and other keys as they were")
{
    PrepareFiles({"; kept\r\n[Other]\r\nA=1\r\n[SETTINGS]\r\nLang=3\r\nRetailMode=5\r\nExtra=x\r\n[Tail]\r\nB=2\r\n",
                  "[SETTINGS]\r\nLang=7\r\n", "[Other]\r\nX=1\r\n[Settings]\r\nLogPause=1\r\nMine=2\r\n"});
    SettingsRun run;
    CHECK(run.Press(IDOK) == 0);
    // Keys already there are replaced where they stand; new ones follow in the order written.
    CHECK(ReadFileBytes(PrimaryIni()) ==
          "; kept\r\n[Other]\r\nA=1\r\n[SETTINGS]\r\nLang=3\r\nRetailMode=5\r\nExtra=x\r\nWizardOnly=1\r\n"
          "WizardOnly++=1\r\nPollForFiles=0\r\nDeleteAfterRun=0\r\nUserSwitching=1\r\nAlwaysHomeZ=0\r\n"
          "JobLogging=0\r\n[Tail]\r\nB=2\r\n");
    CHECK(ReadFileBytes(FallbackIni()) ==
          "[SETTINGS]\r\nLang=7\r\nWizardOnly=1\r\nWizardOnly++=1\r\nRetailMode=5\r\nPollForFiles=0\r\n"
          "DeleteAfterRun=0\r\nUserSwitching=1\r\nAlwaysHomeZ=0\r\nJobLogging=0\r\n");
    CHECK(ReadFileBytes(JobLogIni()) ==
          "[Other]\r\nX=1\r\n[Settings]\r\nLogPause=1\r\nMine=2\r\nLogStart=1\r\nLogComplete=1\r\nLogResume=0\r\n"
          "LogError=1\r\nLogJobName=1\r\nLogDate=1\r\nLogTime=1\r\nLogDuration=1\r\nLogUser=1\r\n"
          "LogSerialNum=0\r\n");
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
    const SettingsFiles files = {"[SETTINGS]\r\n  RetailMode = 5 \r\n\r\nUserSwitching=2\r\n",
                                 "; fallback\r\n[SETTINGS]\r\nJobLogging = 1\r\n",
                                 "[Settings]\r\n\r\nLogPause = 7\r\n"};
    for (const auto& row : rows) {
        INFO(row.name);
        PrepareFiles(files);
        PanelRecorder panel;
        SettingsRun run;
        run.Click({IDC_RETAIL_MODE, IDC_POLL_FOR_FILES, IDC_LOG_START, IDC_DATALOGGING});
        row.end(run.dialog);
        CHECK(run.program.WaitForExit() == 0);
        CHECK(ReadFileBytes(PrimaryIni()) == files.primary);
        CHECK(ReadFileBytes(FallbackIni()) == files.fallback);
        CHECK(ReadFileBytes(JobLogIni()) == files.jobLog);
        CHECK(panel.log.empty());
    }
    ResetSettingsFolders(NoFolders);
}
