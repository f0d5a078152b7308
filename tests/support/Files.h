#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>
#include <string>

// C:\ProgramData of the test prefix, its RIDERE, DAZIRE and VEVEVU folders, and the settings file of each.
inline std::wstring AppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}
inline std::wstring PrimaryFolder() { return AppDataFolder() + L"\\RIDERE"; }
inline std::wstring FallbackFolder() { return AppDataFolder() + L"\\DAZIRE"; }
inline std::wstring JobLogFolder() { return AppDataFolder() + L"\\VEVEVU"; }
inline std::wstring PrimaryIni() { return PrimaryFolder() + L"\\DRZINFO.INI"; }
inline std::wstring FallbackIni() { return FallbackFolder() + L"\\DRZINFO.INI"; }
inline std::wstring JobLogIni() { return JobLogFolder() + L"\\JobInfo.ini"; }

// Makes this process's next profile call read the disk, not the file it cached.
inline void FlushProfileCache() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr); }

enum Folders : unsigned {
    NoFolders, PrimaryFolderExists, FallbackFolderExists, JobLogFolderExists = 4, AllFolders = 7
};
// Removes the three folders with their files, then makes the ones asked for, empty.
inline void ResetSettingsFolders(unsigned folders)
{
    FlushProfileCache();
    const std::wstring paths[] = {PrimaryFolder(), FallbackFolder(), JobLogFolder()};
    for (unsigned i = 0; i < 3; ++i) {
        const std::wstring from = paths[i] + L'\0';
        SHFILEOPSTRUCTW remove = {nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
        SHFileOperationW(&remove);
        if (folders & (1u << i))
            CreateDirectoryW(paths[i].c_str(), nullptr);
    }
}

// A missing path has INVALID_FILE_ATTRIBUTES, all bits set.
inline bool FileExists(const std::wstring& path)
{
    return !(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}
inline bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
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
