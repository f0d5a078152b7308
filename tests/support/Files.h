#pragma once

#include <windows.h>

#include <string>

// The settings files as the program finds them in the test prefix.
std::wstring AppDataFolder();  // C:\ProgramData
std::wstring PrimaryFolder();  // ...\RIDERE
std::wstring FallbackFolder(); // ...\DAZIRE
std::wstring JobLogFolder();   // ...\VEVEVU
std::wstring PrimaryIni();     // ...\RIDERE\DRZINFO.INI
std::wstring FallbackIni();    // ...\DAZIRE\DRZINFO.INI
std::wstring JobLogIni();      // ...\VEVEVU\JobInfo.ini

// Which of the three settings folders exist after ResetSettingsFolders.
enum Folders : unsigned {
    NoFolders = 0, PrimaryFolderExists = 1, FallbackFolderExists = 2, JobLogFolderExists = 4, AllFolders = 7,
};
// Removes the three folders with everything in them, then makes the ones asked for, empty.
// Also forgets the profile files cached by this process.
void ResetSettingsFolders(unsigned folders);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Raw bytes; WriteFileBytes replaces the file.
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
void DeleteFolderTree(const std::wstring& path);
// Drops the profile file this process has cached, so that the next profile call reads the disk.
void FlushProfileCache();
// The value of `key` in `section` as the profile functions see it, or "<absent>".
std::wstring ProfileText(const std::wstring& path, const std::wstring& section, const std::wstring& key);
