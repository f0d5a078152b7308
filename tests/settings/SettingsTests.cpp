#include <doctest/doctest.h>

#include <tuple>
#include <vector>

#include "settings/JobLogSettings.h"
#include "settings/SettingsStore.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"

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

#define KEY(name, method) {L"" name, &SettingsStore::Read##method, &SettingsStore::Write##method}
const std::tuple<const wchar_t*, void (SettingsStore::*)(DWORD&), void (SettingsStore::*)(DWORD)> Keys[] = {
    KEY("WizardOnly", WizardOnly), KEY("WizardOnly++", WizardOnlyPlus), KEY("RetailMode", RetailMode),
    KEY("UserSwitching", UserSwitching), KEY("JobLogging", JobLogging), KEY("AlwaysHomeZ", AlwaysHomeZ),
    KEY("DeleteAfterRun", DeleteAfterRun), KEY("PollForFiles", PollForFiles),
};

// In the file's order, with the flag's default.
#define LOG(name, byDefault) {L"" #name, &JobLogFlags::name, byDefault}
const std::tuple<const wchar_t*, int JobLogFlags::*, int> LogKeys[] = {
    LOG(LogStart, 1), LOG(LogComplete, 1), LOG(LogPause, 0), LOG(LogResume, 0), LOG(LogError, 1), LOG(LogJobName, 1),
    LOG(LogDate, 1), LOG(LogTime, 1), LOG(LogDuration, 1), LOG(LogUser, 1), LOG(LogSerialNum, 0),
};
}

TEST_CASE("settings and job-log flags: each from its own key and file; all written in order, as the file takes them")
{
    realWrite = RedirectImport("WritePrivateProfileStringW", reinterpret_cast<void*>(RecordWrite));
    REQUIRE(realWrite != nullptr);
    ResetSettingsFolders(AllFolders);
    JobLogFlags flags;
    JobLogSettings::LoadJobLogFlags(flags);
    // The job log's keys hold -1, -2, ...: loaded and saved back as they are.
    std::string log = "[SETTINGS]\r\n";
    std::vector<std::wstring> expected;
    int logValue = 0;
    for (const auto& [key, flag, byDefault] : LogKeys) {
        CHECK(flags.*flag == byDefault);
        log += ToUtf8(key) + "=" + std::to_string(--logValue) + "\r\n";
        expected.push_back(JobLogIni() + L" [Settings] " + key + L"=" + std::to_wstring(logValue));
    }
    // Key i: in the primary file 100 + i, the sentinel (as no key) or nothing, by turns; 200 + i in the fallback
    // but for the last; the caller's default is 300 + i.
    std::string primary = "[settings]\r\n";
    std::string fallback = primary;
    for (unsigned i = 0; i < std::size(Keys); ++i) {
        const std::string key = ToUtf8(std::get<0>(Keys[i])) + "=";
        if (i % 3 < 2)
            primary += key + std::to_string(i % 3 ? 0x5A5A5A5A : 100 + i) + "\r\n";
        if (i < 7)
            fallback += key + std::to_string(200 + i) + "\r\n";
    }
    WriteFileBytes(PrimaryIni(), primary);
    WriteFileBytes(FallbackIni(), fallback);
    WriteFileBytes(JobLogIni(), log);
    JobLogSettings::LoadJobLogFlags(flags);
    JobLogSettings::SaveJobLogFlags(flags);
    unsigned i = 0;
    for (const auto& [key, read, write] : Keys) {
        DWORD value = 300 + i;
        (SettingsStore().*read)(value);
        CHECK_MESSAGE(value == (i % 3 == 0 ? 100 + i : i < 7 ? 200 + i : 307), ToUtf8(key));
        ++i;
    }
    ResetSettingsFolders(FallbackFolderExists);  // a missing folder is not made
    for (const auto& [key, read, write] : Keys) {
        (SettingsStore().*write)(4294967295u - i);
        const std::wstring line = L" [SETTINGS] " + std::wstring(key) + L"=" + std::to_wstring(4294967295u - i++);
        expected.insert(expected.end(), {PrimaryIni() + line, FallbackIni() + line});
    }
    CHECK(writes == expected);
    CHECK_FALSE(FolderExists(PrimaryFolder()));
    ResetSettingsFolders(NoFolders);
}
