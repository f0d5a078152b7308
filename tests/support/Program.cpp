#include "support/Program.h"

#include <cstring>
#include <vector>

std::wstring ProgramPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;  // build\tests\name.exe -> build\KrvAdvanced.exe
    path.erase(path.find_last_of(L'\\'));
    return path.erase(path.find_last_of(L'\\')) + L"\\KrvAdvanced.exe";
}

void SetWindowsVersion(const wchar_t* exeName, const wchar_t* version)
{
    const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + exeName;
    HKEY handle = nullptr;
    if (version == nullptr)
        RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    else if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                             nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(handle, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
}

void PumpMessages(DWORD milliseconds)
{
    for (const DWORD start = GetTickCount();;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

ProgramRun::ProgramRun(const wchar_t* windowsVersion)
{
    SetWindowsVersion(L"KrvAdvanced.exe", windowsVersion);
    const std::wstring path = ProgramPath();
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        process = PROCESS_INFORMATION();
}

ProgramRun::~ProgramRun()
{
    if (Running()) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    if (process.hProcess != nullptr) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetWindowsVersion(L"KrvAdvanced.exe", nullptr);
}

bool ProgramRun::Running() const
{
    return process.hProcess != nullptr && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ProgramRun::WaitForDialog(DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs && Running(); PumpMessages(50))
        if (HWND dialog = FindProcessDialog(process.dwProcessId))
            return dialog;
    return nullptr;
}

DWORD ProgramRun::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    for (const DWORD start = GetTickCount(); Running() && GetTickCount() - start < timeoutMs;)
        PumpMessages(20);
    if (process.hProcess != nullptr && !Running())
        GetExitCodeProcess(process.hProcess, &code);
    return code;
}

HWND FindProcessDialog(DWORD pid)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window;
         window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

static DWORD_PTR Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return result;
}

void ClickControl(HWND dialog, int id) { Send(GetDlgItem(dialog, id), BM_CLICK); }
bool IsControlChecked(HWND dialog, int id) { return Send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }
bool IsControlEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
void SystemClose(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

void PressKey(HWND dialog, UINT virtualKey)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus
                      ? info.hwndFocus : dialog;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, 0)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | 0xC0000000u);
}

std::wstring WindowText(HWND window)
{
    std::vector<wchar_t> text(4096);
    return std::wstring(text.data(), Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

void* RedirectImport(const char* name, void* replacement)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; dll->Name != 0; ++dll) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, name) != 0)
                continue;
            DWORD access;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &access);
            void* original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), access, &access);
            return original;
        }
    }
    return nullptr;
}
