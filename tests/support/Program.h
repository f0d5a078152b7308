#pragma once

#include <windows.h>

#include <string>

// build\KrvAdvanced.exe, found next to the tests folder.
std::wstring ProgramPath();
// Makes Wine report `version` ("winxp", "win2k", ...) to programs named `exeName`; null removes it.
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
    // The first visible dialog of the process, or null after the timeout. Pumps messages.
    HWND WaitForDialog(DWORD timeoutMs = 20000);
    // The exit code, or STILL_ACTIVE after the timeout. Pumps messages.
    DWORD WaitForExit(DWORD timeoutMs = 20000);
    bool Running() const;

private:
    PROCESS_INFORMATION process = {};
};

// A visible top-level window of class "#32770" of process `pid`.
HWND FindProcessDialog(DWORD pid);
// Clicks control `id` of `dialog` as a user would (BM_CLICK).
void ClickControl(HWND dialog, int id);
// Check state and enabled state of control `id` of another process's dialog.
bool IsControlChecked(HWND dialog, int id);
bool IsControlEnabled(HWND dialog, int id);
// A key press as the keyboard delivers it: to the focused control, through the dialog's own loop.
void PressKey(HWND dialog, UINT virtualKey);
// The system's close command (Alt+F4, Close on the system menu).
void SystemClose(HWND dialog);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// Sends this program's calls of the imported function `name` to `replacement` by rewriting its
// import slot; returns the function it called before.
void* RedirectImport(const char* name, void* replacement);
