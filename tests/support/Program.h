#pragma once

#include <windows.h>

#include <string>
#include <utility>

// Handles this thread's messages for `milliseconds`, at least once.
inline void PumpMessages(DWORD milliseconds)
{
    for (const DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        if (GetTickCount() - start >= milliseconds)
            return;
    }
}

// A visible top-level "#32770" window of process `pid`.
inline HWND FindProcessDialog(DWORD pid)
{
    DWORD owner = 0;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(window, &owner) && owner == pid && IsWindowVisible(window))
            return window;
    return nullptr;
}

// build\KrvAdvanced.exe in its own process, told by Wine it runs on `windowsVersion`; ended at destruction.
// The waits pump this thread's messages.
struct ProgramRun {
    static constexpr wchar_t VersionKey[] = L"Software\\Wine\\AppDefaults\\KrvAdvanced.exe";
    PROCESS_INFORMATION process = {};

    explicit ProgramRun(const wchar_t* windowsVersion = L"winxp")
    {
        HKEY key;
        RegCreateKeyW(HKEY_CURRENT_USER, VersionKey, &key);
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(windowsVersion),
                       static_cast<DWORD>((wcslen(windowsVersion) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        wchar_t self[MAX_PATH] = {};  // build\tests\name.exe
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\\..\\..\\KrvAdvanced.exe\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    }
    ~ProgramRun()
    {
        if (process.hProcess && TerminateProcess(process.hProcess, 99))
            WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        RegDeleteKeyW(HKEY_CURRENT_USER, VersionKey);
    }
    ProgramRun(const ProgramRun&) = delete;
    // Its first visible dialog, or null after the timeout.
    HWND WaitForDialog(DWORD timeoutMs = 20000)
    {
        HWND dialog = nullptr;
        for (const DWORD start = GetTickCount(); !dialog && GetTickCount() - start < timeoutMs; PumpMessages(50))
            dialog = FindProcessDialog(process.dwProcessId);
        return dialog;
    }
    // Its exit code, or STILL_ACTIVE after the timeout.
    DWORD WaitForExit(DWORD timeoutMs = 20000)
    {
        for (const DWORD start = GetTickCount();
             WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && GetTickCount() - start < timeoutMs;)
            PumpMessages(20);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
};

// Sent with a bound, so that a hung program fails the test instead of blocking it.
inline DWORD_PTR SendBounded(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return result;
}
// Controls of a dialog in any process, handled as a user's input would be.
inline void ClickControl(HWND dialog, int id) { SendBounded(GetDlgItem(dialog, id), BM_CLICK); }
inline bool IsControlChecked(HWND dialog, int id) { return SendBounded(GetDlgItem(dialog, id), BM_GETCHECK) == 1; }
inline bool IsControlEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
// Alt+F4, or Close on the system menu.
inline void SystemClose(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }
inline std::wstring WindowText(HWND window)
{
    wchar_t text[4096];
    return std::wstring(text, SendBounded(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text)));
}

// Posted to the focused control, so that it goes through the dialog's own loop.
inline void PressKey(HWND dialog, UINT virtualKey)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, 0)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | 0xC0000000u);
}

// Sends this program's calls of the kernel32 function `name` to `replacement`; returns the one called before.
inline void* RedirectImport(const char* name, void* replacement)
{
    void* original = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name));
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto** slots = reinterpret_cast<void**>(base + table.VirtualAddress);
    // The GNU linker leaves the import address table writable.
    for (DWORD i = 0; original && i < table.Size / sizeof(void*); ++i)
        if (slots[i] == original)
            return std::exchange(slots[i], replacement);
    return nullptr;
}
