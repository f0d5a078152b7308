#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"

// The programs link with -municode.
int wmain(int argc, wchar_t** argv)
{
    std::vector<const char*> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(strdup(ToUtf8(argv[i]).c_str()));
    return doctest::Context(argc, args.data()).run();
}

std::string ToUtf8(const std::wstring& text)
{
    std::string result(text.size() * 3, '\0');
    result.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0],
                                      static_cast<int>(result.size()), nullptr, nullptr));
    return result;
}

std::wstring FromUtf8(const std::string& text)
{
    std::wstring result(text.size(), L'\0');
    result.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0],
                                      static_cast<int>(result.size())));
    return result;
}

std::wstring AppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}
std::wstring PrimaryFolder() { return AppDataFolder() + L"\\RIDERE"; }
std::wstring FallbackFolder() { return AppDataFolder() + L"\\DAZIRE"; }
std::wstring JobLogFolder() { return AppDataFolder() + L"\\VEVEVU"; }
std::wstring PrimaryIni() { return PrimaryFolder() + L"\\DRZINFO.INI"; }
std::wstring FallbackIni() { return FallbackFolder() + L"\\DRZINFO.INI"; }
std::wstring JobLogIni() { return JobLogFolder() + L"\\JobInfo.ini"; }

void FlushProfileCache() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr); }

void ResetSettingsFolders(unsigned folders)
{
    FlushProfileCache();
    const std::wstring paths[] = {PrimaryFolder(), FallbackFolder(), JobLogFolder()};
    for (unsigned i = 0; i < 3; ++i) {
        const std::wstring from = paths[i] + L'\0';
        SHFILEOPSTRUCTW remove = {nullptr, FO_DELETE, from.c_str(), nullptr,
                                  FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI, FALSE, nullptr, nullptr};
        SHFileOperationW(&remove);
        if (folders & (1u << i))
            CreateDirectoryW(paths[i].c_str(), nullptr);
    }
}

// A missing path has INVALID_FILE_ATTRIBUTES, all bits set.
bool FileExists(const std::wstring& path) { return !(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY); }
bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    FlushProfileCache();
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

std::wstring ProfileText(const std::wstring& path, const std::wstring& section, const std::wstring& key)
{
    FlushProfileCache();
    wchar_t text[4096];
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<absent>", text, 4096, path.c_str());
    return text;
}

std::wstring ProgramPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;  // build\tests\name.exe -> build\KrvAdvanced.exe
    path.erase(path.find_last_of(L'\\'));
    return path.erase(path.find_last_of(L'\\')) + L"\\KrvAdvanced.exe";
}

void PumpMessages(DWORD milliseconds)
{
    for (const DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (GetTickCount() - start >= milliseconds)
            return;
    }
}

static const wchar_t VersionKey[] = L"Software\\Wine\\AppDefaults\\KrvAdvanced.exe";

ProgramRun::ProgramRun(const wchar_t* windowsVersion)
{
    HKEY key;
    RegCreateKeyW(HKEY_CURRENT_USER, VersionKey, &key);
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(windowsVersion),
                   static_cast<DWORD>((wcslen(windowsVersion) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        process = {};
}

ProgramRun::~ProgramRun()
{
    if (process.hProcess && TerminateProcess(process.hProcess, 99))
        WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    RegDeleteKeyW(HKEY_CURRENT_USER, VersionKey);
}

HWND ProgramRun::WaitForDialog(DWORD timeoutMs)
{
    HWND dialog = nullptr;
    for (const DWORD start = GetTickCount(); !dialog && GetTickCount() - start < timeoutMs; PumpMessages(50))
        dialog = FindProcessDialog(process.dwProcessId);
    return dialog;
}

DWORD ProgramRun::WaitForExit(DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount();
         WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && GetTickCount() - start < timeoutMs;)
        PumpMessages(20);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

HWND FindProcessDialog(DWORD pid)
{
    DWORD owner = 0;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(window, &owner) && owner == pid && IsWindowVisible(window))
            return window;
    return nullptr;
}

// Bounded, so that a hung program fails the test instead of blocking it.
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
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, 0)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | 0xC0000000u);
}

std::wstring WindowText(HWND window)
{
    wchar_t text[4096];
    return std::wstring(text, Send(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text)));
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
