#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "dialogs/SettingsDriver.h"
#include "resource.h"
#include "support/Panel.h"
#include "support/Text.h"

namespace {
// The files a save leaves where there were none: every key, in the order written.
const char FreshShared[] =
    "[SETTINGS]\r\nWizardOnly=0\r\nWizardOnly++=0\r\nRetailMode=0\r\nPollForFiles=0\r\n"
    "DeleteAfterRun=0\r\nUserSwitching=1\r\nAlwaysHomeZ=0\r\nJobLogging=0\r\n";
const char FreshJobLog[] =
    "[Settings]\r\nLogStart=1\r\nLogComplete=1\r\nLogPause=0\r\nLogResume=0\r\nLogError=1\r\n"
    "LogJobName=1\r\nLogDate=1\r\nLogTime=1\r\nLogDuration=1\r\nLogUser=1\r\nLogSerialNum=0\r\n";

struct KeyValue {
    const wchar_t* key;
    const wchar_t* value;
};

void ClickAll(SettingsRun& run, const std::vector<int>& ids)
{
    for (int id : ids)
        run.Click(id);
}
}

TEST_CASE("Ok with nothing changed writes every key to both shared files and all eleven log flags")
{
    PrepareFiles({});
    PanelRecorder panel;
    SettingsRun run;
    CHECK(run.PressOk() == 0);
    CHECK(ReadFileBytes(PrimaryIni()) == FreshShared);
    CHECK(ReadFileBytes(FallbackIni()) == FreshShared);
    CHECK(ReadFileBytes(JobLogIni()) == FreshJobLog);
    CHECK(panel.Log() == "COMMAND(2,0)");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Ok saves what the boxes show")
{
    struct Row {
        const char* name;
        SettingsFiles files;
        std::vector<int> clicks;
        std::vector<KeyValue> shared;   // in both shared files
        std::vector<KeyValue> jobLog;
    };
    const Row rows[] = {
        {"Retail Mode on with no restriction: off, and both manual tabs hidden", {},
         {IDC_RETAIL_MODE, IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_DISABLE_FIXTURE_TYPE,
          IDC_HIDE_SETTINGS_BUTTON},
         {{L"RetailMode", L"0"}, {L"WizardOnly", L"1"}, {L"WizardOnly++", L"1"}}, {}},
        {"Retail Mode on where it was off: all four restrictions", {}, {IDC_RETAIL_MODE},
         {{L"RetailMode", L"15"}, {L"WizardOnly", L"1"}, {L"WizardOnly++", L"1"}}, {}},
        {"a restriction added to a stored 5", {SharedFile("RetailMode=5\r\n")}, {IDC_HIDE_SETTINGS_BUTTON},
         {{L"RetailMode", L"13"}, {L"WizardOnly", L"1"}, {L"WizardOnly++", L"1"}}, {}},
        {"Retail Mode switched off: the manual tabs stay hidden", {SharedFile("RetailMode=5\r\n")},
         {IDC_RETAIL_MODE}, {{L"RetailMode", L"0"}, {L"WizardOnly", L"1"}, {L"WizardOnly++", L"1"}}, {}},
        {"a stored 16 reads as on without restrictions and is saved as off", {SharedFile("RetailMode=16\r\n")},
         {}, {{L"RetailMode", L"0"}}, {}},
        {"values other than 0 and 1 are written back as 0 or 1",
         {SharedFile("WizardOnly=5\r\nUserSwitching=2\r\nAlwaysHomeZ=7\r\nPollForFiles=3\r\n"
                     "DeleteAfterRun=9\r\nJobLogging=4294967295\r\n"),
          "", JobLogFile("LogPause=7\r\nLogStart=-1\r\n")},
         {},
         {{L"WizardOnly", L"1"}, {L"UserSwitching", L"1"}, {L"AlwaysHomeZ", L"1"}, {L"PollForFiles", L"1"},
          {L"DeleteAfterRun", L"1"}, {L"JobLogging", L"1"}},
         {{L"LogPause", L"1"}, {L"LogStart", L"1"}}},
        {"every single option switched",
         {},
         {IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS, IDC_DATALOGGING,
          IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE,
          IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER},
         {{L"DeleteAfterRun", L"1"}, {L"PollForFiles", L"1"}, {L"UserSwitching", L"0"}, {L"AlwaysHomeZ", L"1"},
          {L"JobLogging", L"1"}, {L"WizardOnly", L"0"}, {L"RetailMode", L"0"}},
         {{L"LogStart", L"0"}, {L"LogComplete", L"0"}, {L"LogPause", L"1"}, {L"LogResume", L"1"},
          {L"LogError", L"0"}, {L"LogDate", L"0"}, {L"LogTime", L"0"}, {L"LogJobName", L"0"},
          {L"LogDuration", L"0"}, {L"LogUser", L"0"}, {L"LogSerialNum", L"1"}}},
        {"datalogging switched off: the log boxes' states are saved all the same",
         {SharedFile("JobLogging=1\r\n")}, {IDC_LOG_PAUSE, IDC_LOG_START, IDC_DATALOGGING},
         {{L"JobLogging", L"0"}}, {{L"LogPause", L"1"}, {L"LogStart", L"0"}, {L"LogComplete", L"1"}}},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.name));
        PrepareFiles(row.files);
        SettingsRun run;
        ClickAll(run, row.clicks);
        CHECK(run.PressOk() == 0);
        for (const KeyValue& expected : row.shared) {
            CAPTURE(ToUtf8(expected.key));
            CHECK(ProfileText(PrimaryIni(), L"SETTINGS", expected.key) == expected.value);
            CHECK(ProfileText(FallbackIni(), L"SETTINGS", expected.key) == expected.value);
        }
        for (const KeyValue& expected : row.jobLog) {
            CAPTURE(ToUtf8(expected.key));
            CHECK(ProfileText(JobLogIni(), L"Settings", expected.key) == expected.value);
        }
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Ok leaves Lang, comments, other sections and other keys as they were")
{
    PrepareFiles({"; kept\r\n[Other]\r\nA=1\r\n[SETTINGS]\r\nLang=3\r\nRetailMode=5\r\nExtra=x\r\n[Tail]\r\nB=2\r\n",
                  "[SETTINGS]\r\nLang=7\r\n",
                  "[Other]\r\nX=1\r\n[Settings]\r\nLogPause=1\r\nMine=2\r\n"});
    SettingsRun run;
    CHECK(run.PressOk() == 0);
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

TEST_CASE("Ok never creates a folder: a file is written only where its folder exists")
{
    const unsigned rows[] = {NoFolders, FallbackFolderExists, PrimaryFolderExists | JobLogFolderExists};
    const wchar_t* const strayFiles[] = {L"C:\\windows\\DRZINFO.INI", L"C:\\windows\\JobInfo.ini",
                                         L"C:\\DRZINFO.INI", L"C:\\JobInfo.ini"};
    for (unsigned folders : rows) {
        CAPTURE(folders);
        PrepareFiles({"", "", "", folders});
        SettingsRun run;
        CHECK(run.PressOk() == 0);
        CHECK(FolderExists(PrimaryFolder()) == ((folders & PrimaryFolderExists) != 0));
        CHECK(FolderExists(FallbackFolder()) == ((folders & FallbackFolderExists) != 0));
        CHECK(FolderExists(JobLogFolder()) == ((folders & JobLogFolderExists) != 0));
        CHECK(ReadFileBytes(PrimaryIni()) == ((folders & PrimaryFolderExists) ? FreshShared : ""));
        CHECK(ReadFileBytes(FallbackIni()) == ((folders & FallbackFolderExists) ? FreshShared : ""));
        CHECK(ReadFileBytes(JobLogIni()) == ((folders & JobLogFolderExists) ? FreshJobLog : ""));
        for (const wchar_t* stray : strayFiles)
            CHECK_FALSE(FileExists(stray));
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Cancel, Escape and the system's close write nothing and tell the panel nothing")
{
    struct Row {
        const char* name;
        DWORD (SettingsRun::*end)();
    };
    const Row rows[] = {
        {"Cancel", &SettingsRun::PressCancel},
        {"Escape", &SettingsRun::PressEscape},
        {"Close on the system menu", &SettingsRun::CloseFromSystemMenu},
        {"WM_CLOSE with wParam 0", &SettingsRun::SendCloseZero},
    };
    // Loose formatting that any rewrite by the profile functions would tidy.
    const SettingsFiles files = {"[SETTINGS]\r\n  RetailMode = 5 \r\n\r\nUserSwitching=2\r\n",
                                 "; fallback\r\n[SETTINGS]\r\nJobLogging = 1\r\n",
                                 "[Settings]\r\n\r\nLogPause = 7\r\n"};
    for (const Row& row : rows) {
        INFO(std::string(row.name));
        PrepareFiles(files);
        PanelRecorder panel;
        SettingsRun run;
        ClickAll(run, {IDC_RETAIL_MODE, IDC_POLL_FOR_FILES, IDC_LOG_START, IDC_DATALOGGING});
        CHECK((run.*row.end)() == 0);
        CHECK(ReadFileBytes(PrimaryIni()) == files.primary);
        CHECK(ReadFileBytes(FallbackIni()) == files.fallback);
        CHECK(ReadFileBytes(JobLogIni()) == files.jobLog);
        CHECK(panel.Log().empty());
    }
    ResetSettingsFolders(NoFolders);
}
