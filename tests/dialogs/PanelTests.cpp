#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "dialogs/SettingsDriver.h"
#include "resource.h"
#include "support/Panel.h"
#include "support/Text.h"

namespace {
const char CommandOnly[] = "COMMAND(2,0)";
const char CommandThenClose[] = "COMMAND(2,0) CLOSE(0,0)";
}

TEST_CASE("after every save the panel gets the command, and the close request exactly when a close-set option changed")
{
    struct Row {
        std::string name;
        SettingsFiles files;
        std::vector<int> clicks;
        const char* log;
    };
    std::vector<Row> rows = {
        {"nothing changed", {}, {}, CommandOnly},
        {"Delete Each Job after Engraving", {}, {IDC_DELETE_AFTER_RUN}, CommandOnly},
        {"manual controls (RDM Desktop)", {}, {IDC_MANUAL_RDM}, CommandOnly},
        {"manual controls (other models)", {}, {IDC_MANUAL_OTHER}, CommandOnly},
        {"Retail Mode", {}, {IDC_RETAIL_MODE}, CommandOnly},
        {"a retail restriction", {SharedFile("RetailMode=5\r\n")}, {IDC_HIDE_SETTINGS_BUTTON}, CommandOnly},
        {"a stored WizardOnly of 2 (saved as 1)", {SharedFile("WizardOnly=2\r\n")}, {}, CommandOnly},
        {"a stored RetailMode of 16 (saved as 0)", {SharedFile("RetailMode=16\r\n")}, {}, CommandOnly},
        {"Enable Print File Polling", {}, {IDC_POLL_FOR_FILES}, CommandThenClose},
        {"Enable Print File Polling, twice", {}, {IDC_POLL_FOR_FILES, IDC_POLL_FOR_FILES}, CommandOnly},
        {"Enable Windows Multi-User Switching", {}, {IDC_USER_SWITCHING}, CommandThenClose},
        {"Home the RDM Z-Axis", {}, {IDC_HOME_Z_AXIS}, CommandThenClose},
        {"Activate Datalogging", {}, {IDC_DATALOGGING}, CommandThenClose},
        {"a stored UserSwitching of 2 (saved as 1)", {SharedFile("UserSwitching=2\r\n")}, {}, CommandThenClose},
        {"a stored log flag of 7 (saved as 1)", {"", "", JobLogFile("LogPause=7\r\n")}, {}, CommandThenClose},
    };
    // Each log box, switched while datalogging is on (the box needs to be enabled).
    const int logBoxes[] = {IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME,
                            IDC_LOG_ERROR, IDC_LOG_DATE,     IDC_LOG_TIME,  IDC_LOG_JOB_NAME,
                            IDC_LOG_DURATION, IDC_LOG_USER,  IDC_LOG_SERIAL_NUMBER};
    for (int id : logBoxes)
        rows.push_back({"log box " + std::to_string(id), {SharedFile("JobLogging=1\r\n")}, {id}, CommandThenClose});

    for (const Row& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        PanelRecorder panel;
        SettingsRun run;
        for (int id : row.clicks)
            run.Click(id);
        CHECK(run.PressOk() == 0);
        CHECK(panel.Log() == row.log);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("without a control panel Ok saves and ends all the same")
{
    PrepareFiles({});
    REQUIRE(FindWindowW(PanelClassName, nullptr) == nullptr);
    SettingsRun run;
    run.Click(IDC_POLL_FOR_FILES);
    CHECK(run.PressOk() == 0);
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"PollForFiles") == L"1");
    CHECK(ProfileText(JobLogIni(), L"Settings", L"LogSerialNum") == L"0");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the close request goes to the panel window found after the command")
{
    struct Row {
        const char* name;
        PanelRecorder::Behaviour behaviour;
        const char* log;
        int closedWindow;  // which window got the close request; 0: none
    };
    const Row rows[] = {
        {"a panel that goes away on the command gets no close request", PanelRecorder::Leaves, CommandOnly, 0},
        {"a panel that restarts on the command gets it in its new window", PanelRecorder::Restarts,
         CommandThenClose, 2},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.name));
        PrepareFiles({});
        PanelRecorder panel(row.behaviour);
        SettingsRun run;
        run.Click(IDC_USER_SWITCHING);
        CHECK(run.PressOk() == 0);
        CHECK(panel.Log() == row.log);
        if (row.closedWindow != 0) {
            REQUIRE(panel.Messages().size() == 2);
            CHECK(panel.Messages()[0].window == 1);
            CHECK(panel.Messages()[1].window == row.closedWindow);
        }
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("a hung control panel cannot keep the program from ending")
{
    PrepareFiles({});
    HungPanel panel;
    REQUIRE(panel.Ready());
    SettingsRun run;
    // A close-set change, so that both messages wait for the panel.
    run.Click(IDC_POLL_FOR_FILES);
    const DWORD start = GetTickCount();
    ClickControl(run.Dialog(), IDOK);
    // Each message waits 5 seconds at the most; a minute means it never gave up.
    const DWORD exitCode = run.program.WaitForExit(60000);
    const DWORD elapsed = GetTickCount() - start;
    MESSAGE("Ok to exit with a hung panel: " << elapsed << " ms");
    CHECK(exitCode == 0);
    CHECK(elapsed < 30000);
    // The save came first.
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"PollForFiles") == L"1");
    ResetSettingsFolders(NoFolders);
}
