#include <doctest/doctest.h>

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
const struct {
    const wchar_t* key;
    void (SettingsStore::*read)(DWORD&);
    void (SettingsStore::*write)(DWORD);
} Keys[] = {
    KEY("WizardOnly", WizardOnly), KEY("WizardOnly++", WizardOnlyPlus), KEY("RetailMode", RetailMode),
    KEY("UserSwitching", UserSwitching), KEY("JobLogging", JobLogging), KEY("AlwaysHomeZ", AlwaysHomeZ),
    KEY("DeleteAfterRun", DeleteAfterRun), KEY("PollForFiles", PollForFiles),
};

// In the file's order, with the flag's default.
#define LOG(name, byDefault) {L"" #name, &JobLogFlags::name, byDefault}
const struct {
    const wchar_t* key;
    int JobLogFlags::*flag;
    int byDefault;
} LogKeys[] = {
    LOG(LogStart, 1), LOG(LogComplete, 1), LOG(LogPause, 0), LOG(LogResume, 0), LOG(LogError, 1), LOG(LogJobName, 1),
    LOG(LogDate, 1), LOG(LogTime, 1), LOG(LogDuration, 1), LOG(LogUser, 1), LOG(LogSerialNum, 0),
};
}

TEST_CASE("settings and job-log flags: each from its own key and file; all written in order, as the file takes them")
{
    realWrite = RedirectImport("WritePrivateProfileStringW", reinterpret_cast<void*>(RecordWrite));
    REQUIRE(realWrite != nullptr);
    // Key i: in the primary file 100 + i, the sentinel (as no key) or nothing, by turns; 200 + i in the fallback
    // but for the last; the caller's default is 300 + i.
    ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists | JobLogFolderExists);
    std::string primary = "[settings]\r\n";
    std::string fallback = primary;
    for (unsigned i = 0; i < std::size(Keys); ++i) {
        const std::string key = ToUtf8(Keys[i].key) + "=";
        if (i % 3 < 2)
            primary += key + std::to_string(i % 3 ? 0x5A5A5A5A : 100 + i) + "\r\n";
        if (i < 7)
            fallback += key + std::to_string(200 + i) + "\r\n";
    }
    WriteFileBytes(PrimaryIni(), primary);
    WriteFileBytes(FallbackIni(), fallback);
    for (unsigned i = 0; i < std::size(Keys); ++i) {
        DWORD value = 300 + i;
        (SettingsStore().*Keys[i].read)(value);
        CHECK_MESSAGE(value == (i % 3 == 0 ? 100 + i : i < 7 ? 200 + i : 307), ToUtf8(Keys[i].key));
    }
    JobLogFlags flags;
    JobLogSettings::LoadJobLogFlags(flags);
    std::string file = "[SETTINGS]\r\n";
    for (int i = 0; i < 11; ++i) {
        CHECK(flags.*LogKeys[i].flag == LogKeys[i].byDefault);
        file += ToUtf8(LogKeys[i].key) + "=" + std::to_string(10 + i) + "\r\n";
    }
    WriteFileBytes(JobLogIni(), file);
    JobLogSettings::LoadJobLogFlags(flags);
    ResetSettingsFolders(FallbackFolderExists | JobLogFolderExists);  // a missing folder is not made
    std::vector<std::wstring> expected;
    for (unsigned i = 0; i < std::size(Keys); ++i) {
        (SettingsStore().*Keys[i].write)(4294967295u - i);
        const std::wstring line = L" [SETTINGS] " + std::wstring(Keys[i].key) + L"=" + std::to_wstring(4294967295u - i);
        expected.insert(expected.end(), {PrimaryIni() + line, FallbackIni() + line});
    }
    for (int i = 0; i < 11; ++i) {
        CHECK_MESSAGE(flags.*LogKeys[i].flag == 10 + i, ToUtf8(LogKeys[i].key));
        flags.*LogKeys[i].flag = -1 - i;
        expected.push_back(JobLogIni() + L" [Settings] " + LogKeys[i].key + L"=" + std::to_wstring(-1 - i));
    }
    JobLogSettings::SaveJobLogFlags(flags);
    CHECK(writes == expected);
    CHECK_FALSE(FolderExists(PrimaryFolder()));
    ResetSettingsFolders(NoFolders);
}
