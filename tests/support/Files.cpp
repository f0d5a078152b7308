#include "support/Files.h"

#include <shlobj.h>

#include <vector>

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

// The documented way to flush the profile cache: all arguments null.
void FlushProfileCache() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr); }

void DeleteFolderTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &entry)) {
        const std::wstring name = entry.cFileName, child = path + L"\\" + name;
        if (name == L"." || name == L"..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            DeleteFolderTree(child);
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(child.c_str());
    }
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    RemoveDirectoryW(path.c_str());
}

void ResetSettingsFolders(unsigned folders)
{
    FlushProfileCache();
    const std::wstring paths[] = {PrimaryFolder(), FallbackFolder(), JobLogFolder()};
    for (unsigned i = 0; i < 3; ++i) {
        DeleteFolderTree(paths[i]);
        if (folders & (1u << i))
            CreateDirectoryW(paths[i].c_str(), nullptr);
    }
}

static DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }
bool FileExists(const std::wstring& p) { return Attributes(p) != INVALID_FILE_ATTRIBUTES && !(Attributes(p) & FILE_ATTRIBUTE_DIRECTORY); }
bool FolderExists(const std::wstring& p) { return Attributes(p) != INVALID_FILE_ATTRIBUTES && (Attributes(p) & FILE_ATTRIBUTE_DIRECTORY); }

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    FlushProfileCache();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring ProfileText(const std::wstring& path, const std::wstring& section, const std::wstring& key)
{
    FlushProfileCache();
    std::vector<wchar_t> text(4096);
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<absent>", text.data(), 4096, path.c_str());
    return text.data();
}
