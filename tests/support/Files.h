#pragma once

#include <windows.h>

#include <string>

// C:\ProgramData of the test prefix, its RIDERE, DAZIRE and VEVEVU folders, and the settings file of each.
std::wstring AppDataFolder();
std::wstring PrimaryFolder();
std::wstring FallbackFolder();
std::wstring JobLogFolder();
std::wstring PrimaryIni();
std::wstring FallbackIni();
std::wstring JobLogIni();

enum Folders : unsigned {
    NoFolders, PrimaryFolderExists, FallbackFolderExists, JobLogFolderExists = 4, AllFolders = 7
};
// Removes the three folders with their files, then makes the ones asked for, empty.
void ResetSettingsFolders(unsigned folders);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Makes this process's next profile call read the disk, not the file it cached.
void FlushProfileCache();
// What the profile functions read for `key`, or "<absent>".
std::wstring ProfileText(const std::wstring& path, const std::wstring& section, const std::wstring& key);
