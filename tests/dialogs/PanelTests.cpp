#include <doctest/doctest.h>

#include <string>

#include "dialogs/SettingsDriver.h"
#include "resource.h"

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
        std::string log;
        bool restarts = false;  // the panel replaces its window on the command
    };
    std::vector<Row> rows = {
        {"nothing changed", {}, {}, CommandOnly},
        {"Delete Each Job after Engraving", {}, {IDC_DELETE_AFTER_RUN}, CommandOnly},
        {"manual controls (RDM Desktop)", {}, {IDC_MANUAL_RDM}, CommandOnly},
        {"manual controls (other models)", {}, {IDC_MANUAL_OTHER}, CommandOnly},
        {"Retail Mode", {}, {IDC_RETAIL_MODE}, CommandOnly},
        {"a retail restriction", {SharedFile("RetailMode=5\r\n")}, {IDC_HIDE_SETTINGS_BUTTON}, CommandOnly},
        {"Enable Print File Polling", {}, {IDC_POLL_FOR_FILES}, CommandThenClose},
        {"Enable Print File Polling, twice", {}, {IDC_POLL_FOR_FILES, IDC_POLL_FOR_FILES}, CommandOnly},
        {"Enable Windows Multi-User Switching", {}, {IDC_USER_SWITCHING}, CommandThenClose},
        {"Home the RDM Z-Axis", {}, {IDC_HOME_Z_AXIS}, CommandThenClose},
        {"Activate Datalogging", {}, {IDC_DATALOGGING}, CommandThenClose},
        // Only the new window can log the close: the first is gone by then.
        {"a panel that restarts on the command", {}, {IDC_HOME_Z_AXIS}, CommandThenClose, true},
        {"a stored UserSwitching of 2 (saved as 1)", {SharedFile("UserSwitching=2\r\n")}, {}, CommandThenClose},
        {"a stored log flag of 7 (saved as 1)", {"", "", JobLogFile("LogPause=7\r\n")}, {}, CommandThenClose},
    };
    // Each log box, switched while datalogging is on (the box needs to be enabled).
    for (int id : {IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE,
                   IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER})
        rows.push_back({"log box " + std::to_string(id), {SharedFile("JobLogging=1\r\n")}, {id}, CommandThenClose});

    for (const Row& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        PanelRecorder panel(row.restarts);
        SettingsRun run;
        run.Click(row.clicks);
        CHECK(run.Press(IDOK) == 0);
        CHECK(panel.log == row.log);
    }
    ResetSettingsFolders(NoFolders);
}
