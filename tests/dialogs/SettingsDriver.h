#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Program.h"

// The three settings files as a test lays them out (an empty text: no file),
// in the folders named by `folders`. PrepareFiles clears the folders and writes them.
struct SettingsFiles {
    std::string primary = "", fallback = "", jobLog = "";
    unsigned folders = AllFolders;
};
void PrepareFiles(const SettingsFiles& files);

std::string SharedFile(const std::string& lines);  // "[SETTINGS]\r\n" + lines
// The job-log file with its eleven keys in the order written, one digit each.
std::string JobLogDigits(const std::string& digits);

// Checks both shared files' eight keys ("0 1 13 ...", in the order written),
// then the job-log file's keys, one digit each.
void CheckSaved(const std::string& shared, const std::string& logDigits);

// Sets or clears the Unix immutable flag of `path`, the only thing that stops
// Wine running as root from writing a file; true once the file is as asked.
bool MakeUnwritable(const std::wstring& path, bool unwritable);

// The real program's settings dialog, driven from outside as a user would.
// The constructor starts the program and waits for the dialog (REQUIRE).
struct SettingsRun {
    SettingsRun();
    // Clicks enabled boxes in turn (a user cannot click a disabled one).
    void Click(const std::vector<int>& ids);
    // Every box and help text, in groups:
    //   1051 1053 1058 1059 | 1052 | 1054-1057 | 1076 1077 1060 1073 | 1062 | 1063-1070 1074 1071 1072
    // A box shows X (checked) or . (unchecked) while enabled, x or - while
    // disabled; a help text shows T while enabled, t while disabled.
    std::string States() const;
    // Clicks Ok or Cancel and waits for the exit code.
    DWORD Press(int button);

    ProgramRun program;
    HWND dialog = nullptr;
};

// The control panel played by the test: a hidden top-level window of class
// "DUZAZODI" on this thread, logging every WM_COMMAND and WM_CLOSE while the
// thread pumps, a posted one marked so. It may act as a real panel might.
enum class PanelAct { Answers, Restarts, GoesAway, SlowCommand };
struct PanelRecorder {
    explicit PanelRecorder(PanelAct act = PanelAct::Answers);
    ~PanelRecorder();
    PanelRecorder(const PanelRecorder&) = delete;
    void Open();

    std::string log;  // "COMMAND(2,0) CLOSE(0,0)posted"; empty when nothing came
    const PanelAct act;
    HWND window = nullptr;
};
