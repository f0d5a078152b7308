#include "settings/SettingsStore.h"

#include <shlobj.h>

namespace {
WideString primaryPath;
WideString fallbackPath;

const wchar_t Section[] = L"SETTINGS";
const wchar_t FileName[] = L"DRZINFO.INI";
// A primary file holding exactly this value counts as not holding the key.
const UINT Sentinel = 0x5A5A5A5A;
}

bool SettingsStore::GetCommonAppDataFolder(wchar_t* buffer, int maxLength)
{
    if (buffer == nullptr || maxLength <= 0)
        return false;
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return false;
    lstrcpynW(buffer, folder, maxLength);
    return true;
}

void SettingsStore::BuildPaths()
{
    if (!primaryPath.empty())
        return;
    wchar_t folder[MAX_PATH] = {};
    if (!GetCommonAppDataFolder(folder, MAX_PATH))
        return;
    primaryPath = WideString(folder) + L"\\RIDERE\\" + FileName;
    fallbackPath = WideString(folder) + L"\\DAZIRE\\" + FileName;
}

void SettingsStore::ReadValue(const wchar_t* key, DWORD& value)
{
    BuildPaths();
    // Without a folder there are no files: the caller's default stands.
    if (primaryPath.empty())
        return;
    const UINT primary = GetPrivateProfileIntW(Section, key, static_cast<INT>(Sentinel), primaryPath.c_str());
    if (primary != Sentinel) {
        value = primary;
        return;
    }
    value = GetPrivateProfileIntW(Section, key, static_cast<INT>(value), fallbackPath.c_str());
}

int SettingsStore::WriteValue(const wchar_t* key, DWORD value)
{
    BuildPaths();
    if (primaryPath.empty())
        return 0;
    wchar_t text[32];
    wsprintfW(text, L"%u", value);
    if (!WritePrivateProfileStringW(Section, key, text, primaryPath.c_str()) && primaryError == 0)
        primaryError = LastWriteError();
    const BOOL written = WritePrivateProfileStringW(Section, key, text, fallbackPath.c_str());
    if (!written && fallbackError == 0)
        fallbackError = LastWriteError();
    return written;
}

WideString SettingsStore::PrimaryFile()
{
    BuildPaths();
    return primaryPath;
}

WideString SettingsStore::FallbackFile()
{
    BuildPaths();
    return fallbackPath;
}

DWORD LastWriteError()
{
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_WRITE_FAULT;
}

void SettingsStore::ReadWizardOnly(DWORD& value) { ReadValue(L"WizardOnly", value); }
void SettingsStore::WriteWizardOnly(DWORD value) { WriteValue(L"WizardOnly", value); }
void SettingsStore::ReadWizardOnlyPlus(DWORD& value) { ReadValue(L"WizardOnly++", value); }
void SettingsStore::WriteWizardOnlyPlus(DWORD value) { WriteValue(L"WizardOnly++", value); }
void SettingsStore::ReadRetailMode(DWORD& value) { ReadValue(L"RetailMode", value); }
void SettingsStore::WriteRetailMode(DWORD value) { WriteValue(L"RetailMode", value); }
void SettingsStore::ReadUserSwitching(DWORD& value) { ReadValue(L"UserSwitching", value); }
void SettingsStore::WriteUserSwitching(DWORD value) { WriteValue(L"UserSwitching", value); }
void SettingsStore::ReadJobLogging(DWORD& value) { ReadValue(L"JobLogging", value); }
void SettingsStore::WriteJobLogging(DWORD value) { WriteValue(L"JobLogging", value); }
void SettingsStore::ReadAlwaysHomeZ(DWORD& value) { ReadValue(L"AlwaysHomeZ", value); }
void SettingsStore::WriteAlwaysHomeZ(DWORD value) { WriteValue(L"AlwaysHomeZ", value); }
void SettingsStore::ReadDeleteAfterRun(DWORD& value) { ReadValue(L"DeleteAfterRun", value); }
void SettingsStore::WriteDeleteAfterRun(DWORD value) { WriteValue(L"DeleteAfterRun", value); }
void SettingsStore::ReadPollForFiles(DWORD& value) { ReadValue(L"PollForFiles", value); }
void SettingsStore::WritePollForFiles(DWORD value) { WriteValue(L"PollForFiles", value); }
void SettingsStore::ReadLang(DWORD& value) { ReadValue(L"Lang", value); }
