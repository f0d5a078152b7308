#include <doctest/doctest.h>

#include <tuple>
#include <vector>

#include "settings/JobLogSettings.h"
#include "settings/SettingsStore.h"
#include "support/Program.h"

namespace {
// Every profile write the code makes, in order, on its way to the real function.
std::vector<std::wstring> writes;
void* realWrite;
BOOL WINAPI RecordWrite(const wchar_t* section, const wchar_t* key, const wchar_t* text, const wchar_t* file)
{
    if (file && key)
        writes.push_back(std::wstring(file) + L" [" + section + L"] " + key + L"=" + text);
    return reinterpret_cast<decltype(&WritePrivateProfileStringW)>(realWrite)(section, key, text, file);
}

// With the value read from the files the test writes.
// clang-format off
#define KEY(name, method, read) {L"" name, &SettingsStore::Read##method, &SettingsStore::Write##method, read}
const std::tuple<const wchar_t*, void (SettingsStore::*)(DWORD&), void (SettingsStore::*)(DWORD), DWORD> Keys[] = {
    KEY("WizardOnly", WizardOnly, 100), KEY("WizardOnly++", WizardOnlyPlus, 201), KEY("RetailMode", RetailMode, 202),
    KEY("UserSwitching", UserSwitching, 103), KEY("JobLogging", JobLogging, 204),
    KEY("AlwaysHomeZ", AlwaysHomeZ, 205), KEY("DeleteAfterRun", DeleteAfterRun, 106),
    KEY("PollForFiles", PollForFiles, 307),
};
// clang-format on

}

TEST_CASE("settings and job-log flags: each from its own key and file; all written in order, as the file takes them")
{
    realWrite = RedirectImport("WritePrivateProfileStringW", reinterpret_cast<void*>(RecordWrite));
    REQUIRE(realWrite != nullptr);
    ResetSettingsFolders(AllFolders);
    JobLogFlags flags;
    JobLogSettings::LoadJobLogFlags(flags);
    JobLogSettings::SaveJobLogFlags(flags);
    // Saved as loaded: the defaults without a file, then the file's -1, -2, ...
    std::string log = "[SETTINGS]\r\n";
    std::vector<std::wstring> expected;
    for (int i = 0; i < 11; ++i) {
        expected.push_back(JobLogIni() + L" [Settings] " + LogKeys[i] + L"=" + L"11001111110"[i]);
        log += ToUtf8(LogKeys[i]) + "=" + std::to_string(-1 - i) + "\r\n";
    }
    for (int i = 0; i < 11; ++i)
        expected.push_back(JobLogIni() + L" [Settings] " + LogKeys[i] + L"=" + std::to_wstring(-1 - i));
    WriteFileBytes(JobLogIni(), log);
    JobLogSettings::LoadJobLogFlags(flags);
    JobLogSettings::SaveJobLogFlags(flags);
    // The primary's value unless it has none or the sentinel; else the fallback's; else the caller's default.
    WriteFileBytes(PrimaryIni(), "[settings]\r\nWizardOnly=100\r\nWizardOnly++=1515870810\r\nUserSwitching=103\r\n"
                                 "JobLogging=1515870810\r\nDeleteAfterRun=106\r\nPollForFiles=1515870810\r\n");
    WriteFileBytes(FallbackIni(), "[settings]\r\nWizardOnly=200\r\nWizardOnly++=201\r\nRetailMode=202\r\n"
                                  "JobLogging=204\r\nAlwaysHomeZ=205\r\nDeleteAfterRun=206\r\n");
    for (const auto& [key, read, write, stored] : Keys) {
        DWORD value = 307;
        (SettingsStore().*read)(value);
        CHECK_MESSAGE(value == stored, ToUtf8(key));
    }
    ResetSettingsFolders(FallbackFolderExists);  // a missing folder is not made
    for (const auto& [key, read, write, stored] : Keys) {
        (SettingsStore().*write)(4294967000u + stored);
        const std::wstring line = L" [SETTINGS] " + std::wstring(key) + L"=" + std::to_wstring(4294967000u + stored);
        expected.insert(expected.end(), {PrimaryIni() + line, FallbackIni() + line});
    }
    CHECK(writes == expected);
    CHECK_FALSE(PathIsDirectoryW((AppDataFolder() + L"\\RIDERE").c_str()));
    // No application-data folder: no file to write, so no failure, whatever error the last call left.
    const std::wstring appData = AppDataFolder(), aside = appData + L".away";
    REQUIRE(MoveFileW(appData.c_str(), aside.c_str()));
    SetLastError(ERROR_ACCESS_DENIED);
    CHECK(JobLogSettings::SaveJobLogFlags(flags) == 0);
    MoveFileW(aside.c_str(), appData.c_str());
    ResetSettingsFolders(NoFolders);
}
