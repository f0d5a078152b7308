#pragma once

#include <windows.h>

#include <string>

#include "support/Files.h"
#include "support/Program.h"

// The three settings files as a test lays them out; an empty text means no
// file. Only the folders named in `folders` exist.
struct SettingsFiles {
    SettingsFiles(std::string primaryText = "", std::string fallbackText = "", std::string jobLogText = "",
                  unsigned existingFolders = AllFolders)
        : primary(primaryText), fallback(fallbackText), jobLog(jobLogText), folders(existingFolders)
    {
    }

    std::string primary;
    std::string fallback;
    std::string jobLog;
    unsigned folders;
};

// Clears the settings folders and writes the files.
void PrepareFiles(const SettingsFiles& files);

// "[SETTINGS]\r\n" + lines, and "[Settings]\r\n" + lines.
std::string SharedFile(const std::string& lines);
std::string JobLogFile(const std::string& lines);

// The real program's settings dialog, driven from outside as a user would.
// The constructor starts the program and waits for the dialog (REQUIRE).
class SettingsRun {
public:
    SettingsRun();

    HWND Dialog() const { return dialog; }
    bool Checked(int id) const { return IsControlChecked(dialog, id); }
    bool Enabled(int id) const { return IsControlEnabled(dialog, id); }
    std::wstring Text(int id) const { return WindowText(GetDlgItem(dialog, id)); }
    // Clicks an enabled box (a user cannot click a disabled one).
    void Click(int id);

    // Every box and help text in one line, in groups:
    //   1051 1053 1058 1059 | 1052 | 1054 1055 1056 1057 | 1076 1077 1060 1073 | 1062 |
    //   1063 1064 1065 1066 1067 1068 1069 1070 1074 1071 1072
    // A box shows X (checked) or . (unchecked) while enabled, x or - while
    // disabled; a help text shows T while enabled, t while disabled.
    std::string States() const;

    // The ways to end the dialog; each waits for the exit code.
    DWORD PressOk();
    DWORD PressCancel();
    DWORD PressEscape();
    DWORD CloseFromSystemMenu();
    DWORD SendCloseZero();

    ProgramRun program;

private:
    DWORD EndWith(int buttonId);

    HWND dialog = nullptr;
};
