#pragma once

#include <windows.h>

#include <string>

// build\KrvAdvanced.exe, found next to the tests folder.
std::wstring ProgramPath();

// Makes Wine report `version` ("winxp", "win2k", "win98", ...) to programs
// named `exeName`; null removes the setting.
void SetWindowsVersion(const wchar_t* exeName, const wchar_t* version);

// Handles messages for this thread's windows for `milliseconds`.
void PumpMessages(DWORD milliseconds);

// The real program in its own process, under the Windows version asked for.
// The destructor ends the process if it is still running.
class ProgramRun {
public:
    explicit ProgramRun(const wchar_t* windowsVersion = L"winxp");
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return process.hProcess != nullptr; }
    DWORD ProcessId() const { return process.dwProcessId; }
    // The first visible dialog (class "#32770") of the process, or null after
    // the timeout. Pumps this thread's messages while waiting.
    HWND WaitForDialog(DWORD timeoutMs = 20000);
    // The exit code, or STILL_ACTIVE after the timeout. Pumps messages.
    DWORD WaitForExit(DWORD timeoutMs = 20000);
    bool Running() const;

private:
    PROCESS_INFORMATION process = {};
};

// Finds a visible top-level window of class "#32770" owned by process `pid`.
HWND FindProcessDialog(DWORD pid);

// Clicks control `id` of `dialog` as a user would (BM_CLICK).
void ClickControl(HWND dialog, int id);

// Check state and enabled state of control `id` of another process's dialog.
bool IsControlChecked(HWND dialog, int id);
bool IsControlEnabled(HWND dialog, int id);
// A key press as the keyboard delivers it: to the control with the focus,
// through the dialog's own message loop.
void PressKey(HWND dialog, UINT virtualKey);
// The system's close command (Alt+F4, Close on the system menu).
void SystemClose(HWND dialog);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
