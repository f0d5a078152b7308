#pragma once

#include <windows.h>

// Owner of the program's dialogs. The program has no hidden main window, so
// this stays null: the dialogs are unowned and their templates come from the
// program's own module.
extern HWND MainWindow;

// The string-id bases of the languages the string table can hold.
void AssignLanguageBases();

// NT family, 5.1 to 5.x, or any 6.x.
bool IsSupportedVersion(const OSVERSIONINFOW& version);

// Everything from start to exit; returns the process exit code: 0 after the
// settings dialog, -1 on an unsupported system.
int RunApplication(HINSTANCE instance);
