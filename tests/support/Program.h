#pragma once

#include <windows.h>

#include <doctest/doctest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "support/StartProgram.h"

inline std::string ToUtf8(const std::wstring& text) { return std::filesystem::path(text).u8string(); }
template <>
struct doctest::StringMaker<std::wstring> {
    static String convert(const std::wstring& value) { return ("L\"" + ToUtf8(value) + "\"").c_str(); }
};

// C:\ProgramData of the test prefix, and the settings file in each of its RIDERE, DAZIRE and VEVEVU folders.
inline std::wstring AppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}
inline std::wstring PrimaryIni() { return AppDataFolder() + L"\\RIDERE\\DRZINFO.INI"; }
inline std::wstring FallbackIni() { return AppDataFolder() + L"\\DAZIRE\\DRZINFO.INI"; }
inline std::wstring JobLogIni() { return AppDataFolder() + L"\\VEVEVU\\JobInfo.ini"; }

// The job-log file's keys in the order written.
inline const wchar_t* const LogKeys[] = {L"LogStart",    L"LogComplete", L"LogPause",    L"LogResume",
                                         L"LogError",    L"LogJobName",  L"LogDate",     L"LogTime",
                                         L"LogDuration", L"LogUser",     L"LogSerialNum"};

// Makes this process's next profile call read the disk, not the file it cached.
inline void FlushProfileCache() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr); }

enum Folders { NoFolders, PrimaryFolderExists, FallbackFolderExists, AllFolders = 7 };
// Removes the three folders with their files, then makes the ones asked for, empty.
inline void ResetSettingsFolders(unsigned folders)
{
    FlushProfileCache();
    const wchar_t* const names[] = {L"\\RIDERE", L"\\DAZIRE", L"\\VEVEVU"};
    for (unsigned i = 0; i < 3; ++i) {
        const std::filesystem::path path = AppDataFolder() + names[i];
        std::filesystem::remove_all(path);  // or throws, which fails the test
        if (folders & (1u << i))
            std::filesystem::create_directory(path);
    }
}

inline std::string ReadFileBytes(const std::wstring& path)
{
    return std::string(std::istreambuf_iterator<char>(std::ifstream(path.c_str(), std::ios::binary).rdbuf()), {});
}
inline void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    FlushProfileCache();
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

// What the profile functions read for `key`, or "<absent>".
inline std::wstring ProfileText(const std::wstring& path, const std::wstring& section, const std::wstring& key)
{
    FlushProfileCache();
    wchar_t text[4096];
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<absent>", text, 4096, path.c_str());
    return text;
}

// A time this suite allows, widened KRV_SLOWDOWN times (tools/test measures it in the emulated machine).
inline DWORD Scaled(DWORD milliseconds)
{
    static const double slowdown = std::getenv("KRV_SLOWDOWN") ? std::atof(std::getenv("KRV_SLOWDOWN")) : 1;
    return static_cast<DWORD>(milliseconds * (slowdown > 1 ? slowdown : 1));
}

// Handles this thread's messages, at least once, until `done` holds or `milliseconds` have passed.
inline void PumpMessages(DWORD milliseconds, const std::function<bool()>& done = nullptr)
{
    for (const DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        if ((done && done()) || GetTickCount() - start >= milliseconds)
            return;
    }
}

// build\KrvAdvanced.exe (or `program`, relative to build\), told by Wine it runs on `windowsVersion`; ended at
// destruction. The waits pump this thread's messages for up to 60 s for a dialog, 20 s for the exit (Scaled).
struct ProgramRun {
    static constexpr wchar_t VersionKey[] = L"Software\\Wine\\AppDefaults\\KrvAdvanced.exe";
    PROCESS_INFORMATION process = {};

    explicit ProgramRun(const wchar_t* windowsVersion = L"winxp", const wchar_t* program = L"KrvAdvanced.exe")
    {
        SHSetValueW(HKEY_CURRENT_USER, VersionKey, L"Version", REG_SZ, windowsVersion, 2 * wcslen(windowsVersion) + 2);
        wchar_t self[MAX_PATH] = {};  // build\tests\name.exe
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        if (const DWORD error = StartProgram(self + std::wstring(L"\\..\\..\\") + program, process))
            FAIL_CHECK("the program did not start: error " << error);
    }
    ~ProgramRun()
    {
        if (process.hProcess && TerminateProcess(process.hProcess, 99))
            WaitForSingleObject(process.hProcess, Scaled(5000));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        RegDeleteKeyW(HKEY_CURRENT_USER, VersionKey);
    }
    // The program's first visible dialog; or null, once the program has ended or after 60 s, saying which.
    HWND WaitForDialog()
    {
        HWND dialog = nullptr;
        DWORD code = STILL_ACTIVE, owner = 0;
        bool made = false;  // but never shown
        PumpMessages(Scaled(60000), [&] {
            while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr)
                if (GetWindowThreadProcessId(dialog, &owner) && owner == process.dwProcessId &&
                    (made = true, IsWindowVisible(dialog)))
                    return true;
            return !process.hProcess || (GetExitCodeProcess(process.hProcess, &code) && code != STILL_ACTIVE);
        });
        if (dialog == nullptr)
            MESSAGE(("no dialog shown: the program " +
                     (!process.hProcess      ? std::string("never started")
                      : code == STILL_ACTIVE ? std::string("runs on")
                                             : "ended, " + std::to_string(code)) +
                     (made ? ", its dialog made, never shown" : "")));
        return dialog;
    }
    DWORD WaitForExit()
    {
        DWORD code = STILL_ACTIVE;
        PumpMessages(Scaled(20000),
                     [&] { return GetExitCodeProcess(process.hProcess, &code) && code != STILL_ACTIVE; });
        return code;
    }
};

// Sent with a bound, so that a hung program fails the test instead of blocking it.
inline DWORD_PTR SendBounded(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, Scaled(5000), &result);
    return result;
}
inline void ClickControl(HWND dialog, int id) { SendBounded(GetDlgItem(dialog, id), BM_CLICK); }
inline bool IsControlChecked(HWND dialog, int id) { return SendBounded(GetDlgItem(dialog, id), BM_GETCHECK) == 1; }
inline void SystemClose(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }
inline std::wstring WindowText(HWND window)
{
    wchar_t text[4096];
    return std::wstring(text, SendBounded(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text)));
}

// Sends this program's calls of the kernel32 function `name` to `replacement`, again or not; returns the real one.
inline void* RedirectImport(const char* name, void* replacement, const wchar_t* module = L"kernel32.dll")
{
    void* original = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name));
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto** slots = reinterpret_cast<void**>(base + table.VirtualAddress);
    // The GNU linker leaves the import address table writable.
    for (DWORD i = 0; original && i < table.Size / sizeof(void*); ++i)
        if (slots[i] == original || slots[i] == replacement)
            return slots[i] = replacement, original;
    return nullptr;
}
