#pragma once

#include <windows.h>

#include <string>

// build\KrvAdvanced.exe, next to the tests folder.
std::wstring ProgramPath();
// Handles this thread's messages for `milliseconds`.
void PumpMessages(DWORD milliseconds);

// The real program in its own process, told by Wine it runs on `windowsVersion`; ended at destruction.
// The waits pump this thread's messages.
struct ProgramRun {
    explicit ProgramRun(const wchar_t* windowsVersion = L"winxp");
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    // Its first visible dialog, or null after the timeout.
    HWND WaitForDialog(DWORD timeoutMs = 20000);
    // Its exit code, or STILL_ACTIVE after the timeout.
    DWORD WaitForExit(DWORD timeoutMs = 20000);

    PROCESS_INFORMATION process = {};
};

// A visible top-level "#32770" window of process `pid`.
HWND FindProcessDialog(DWORD pid);
// Controls of a dialog in any process, handled as a user's input would be.
void ClickControl(HWND dialog, int id);
bool IsControlChecked(HWND dialog, int id);
bool IsControlEnabled(HWND dialog, int id);
// Posted to the focused control, so that it goes through the dialog's own loop.
void PressKey(HWND dialog, UINT virtualKey);
// Alt+F4, or Close on the system menu.
void SystemClose(HWND dialog);
std::wstring WindowText(HWND window);

// Sends this program's calls of the imported function `name` to `replacement`; returns the one called before.
void* RedirectImport(const char* name, void* replacement);
