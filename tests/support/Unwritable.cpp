#include "support/Unwritable.h"

#include <windows.h>

#include "support/Files.h"
#include "support/Text.h"

std::string UnixPath(const std::wstring& path)
{
    // Wine's own export; real Windows has no such function.
    using ToUnix = char*(CDECL*)(const wchar_t*);
    ToUnix toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
        return std::string();
    char* unixPath = toUnix(path.c_str());
    if (unixPath == nullptr)
        return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

void RunUnixShell(const std::string& command)
{
    // Wine starts a Unix executable named by its Unix path like any program.
    std::wstring commandLine = L"/bin/sh -c \"" + FromUtf8(command) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    // Wine's handle of a Unix process may be signalled before the command
    // is done: callers look for the effect themselves.
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

namespace {
bool Writable(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// Sets or clears the immutable flag and waits, at most 5 seconds, to see it.
void SetImmutable(const std::wstring& path, bool immutable)
{
    const std::string unixPath = UnixPath(path);
    if (unixPath.empty())
        return;
    RunUnixShell(std::string("PATH=/usr/bin:/bin chattr ") + (immutable ? "+i" : "-i") + " '" + unixPath +
                 "' 2>/dev/null");
    for (int i = 0; i < 50 && Writable(path) == immutable; ++i)
        Sleep(100);
}
}

void ClearImmutableTree(const std::wstring& folder)
{
    const std::string unixPath = UnixPath(folder);
    if (!unixPath.empty())
        RunUnixShell("PATH=/usr/bin:/bin chattr -R -i '" + unixPath + "' 2>/dev/null");
    // The command may still be running when the handle says it is done.
    Sleep(500);
}

UnwritableFile::UnwritableFile(const std::wstring& filePath) : path(filePath)
{
    FlushProfileCache();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    SetImmutable(path, true);
}

UnwritableFile::~UnwritableFile()
{
    FlushProfileCache();
    SetImmutable(path, false);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool UnwritableFile::Effective() const
{
    return !Writable(path);
}
