#pragma once

#include <windows.h>

#include "app/WideString.h"

// Access to the shared engraver settings, section "SETTINGS" of
// "DRZINFO.INI" in a primary and a fallback folder under the machine-wide
// application-data folder. Reads prefer the primary file; writes go to both.
// Instances hold only what their writes failed with: make one for each access.
class SettingsStore {
public:
    // The machine-wide application-data folder, cut to `maxLength`
    // characters including the terminator. False leaves `buffer` untouched.
    static bool GetCommonAppDataFolder(wchar_t* buffer, int maxLength);

    // `value` holds the caller's default on entry and the result on return.
    void ReadValue(const wchar_t* key, DWORD& value);
    // Returns the result of the fallback write.
    int WriteValue(const wchar_t* key, DWORD value);
    // The two files' paths; empty when the application-data folder is unavailable.
    static WideString PrimaryFile();
    static WideString FallbackFile();

    void ReadWizardOnly(DWORD& value);
    void WriteWizardOnly(DWORD value);
    void ReadWizardOnlyPlus(DWORD& value);
    void WriteWizardOnlyPlus(DWORD value);
    void ReadRetailMode(DWORD& value);
    void WriteRetailMode(DWORD value);
    void ReadUserSwitching(DWORD& value);
    void WriteUserSwitching(DWORD value);
    void ReadJobLogging(DWORD& value);
    void WriteJobLogging(DWORD value);
    void ReadAlwaysHomeZ(DWORD& value);
    void WriteAlwaysHomeZ(DWORD value);
    void ReadDeleteAfterRun(DWORD& value);
    void WriteDeleteAfterRun(DWORD value);
    void ReadPollForFiles(DWORD& value);
    void WritePollForFiles(DWORD value);
    // Nothing writes the language.
    void ReadLang(DWORD& value);

    // Why the first write to each file through this instance failed; 0 while none did.
    DWORD primaryError = 0;
    DWORD fallbackError = 0;

private:
    static void BuildPaths();
};

// The reason a profile write just failed, as GetLastError tells it; never 0,
// so that 0 can stand for success.
DWORD LastWriteError();
