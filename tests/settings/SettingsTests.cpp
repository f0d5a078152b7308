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
decltype(&WritePrivateProfileStringW) realWrite;
BOOL WINAPI RecordWrite(const wchar_t* section, const wchar_t* key, const wchar_t* text, const wchar_t* file)
{
    if (file)
        writes.push_back(std::wstring(file) + L" [" + section + L"] " + key + L"=" + text);
    return realWrite(section, key, text, file);
}
const bool recording = (realWrite = reinterpret_cast<decltype(realWrite)>(RedirectImport(
                            "WritePrivateProfileStringW", reinterpret_cast<void*>(RecordWrite)))) != nullptr;

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

// In the file's order.
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

TEST_CASE("each key: read from the primary file, else the fallback, else the default; written primary first")
{
    REQUIRE(recording);
    // Key i holds base + i (0: no key; the sentinel as it is); the caller's default is 300 + i.
    const struct { int primary, fallback, expected; } rows[] = {
        {100, 200, 100}, {0, 200, 200}, {0, 0, 300}, {0x5A5A5A5A, 200, 200}, {0x5A5A5A5A, 0, 300}};
    for (const auto& row : rows) {
        CAPTURE(row.primary);
        CAPTURE(row.fallback);
        ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists);
        for (const auto& [base, path] : {std::pair{row.primary, PrimaryIni()}, {row.fallback, FallbackIni()}}) {
            std::string file = "[settings]\r\n";
            for (unsigned i = 0; base && i < std::size(Keys); ++i)
                file += ToUtf8(Keys[i].key) + "=" + std::to_string(base + (base < 1000 ? i : 0)) + "\r\n";
            WriteFileBytes(path, file);
        }
        for (unsigned i = 0; i < std::size(Keys); ++i) {
            DWORD value = 300 + i;
            (SettingsStore().*Keys[i].read)(value);
            CHECK_MESSAGE(value == row.expected + i, ToUtf8(Keys[i].key));
        }
    }
    ResetSettingsFolders(FallbackFolderExists);  // a missing folder is not made
    writes.clear();
    std::vector<std::wstring> expected;
    for (unsigned i = 0; i < std::size(Keys); ++i) {
        (SettingsStore().*Keys[i].write)(4294967295u - i);
        const std::wstring line = L" [SETTINGS] " + std::wstring(Keys[i].key) + L"=" + std::to_wstring(4294967295u - i);
        expected.insert(expected.end(), {PrimaryIni() + line, FallbackIni() + line});
    }
    CHECK(writes == expected);
    CHECK_FALSE(FolderExists(PrimaryFolder()));
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the eleven job-logging flags: each from its own key, all written in their order as signed decimals")
{
    REQUIRE(recording);
    ResetSettingsFolders(JobLogFolderExists);
    JobLogFlags flags;
    JobLogSettings::LoadJobLogFlags(flags);
    std::string file = "[SETTINGS]\r\n";
    for (int i = 0; i < 11; ++i) {
        CHECK(flags.*LogKeys[i].flag == LogKeys[i].byDefault);
        file += ToUtf8(LogKeys[i].key) + "=" + std::to_string(10 + i) + "\r\n";
    }
    WriteFileBytes(JobLogIni(), file);
    JobLogSettings::LoadJobLogFlags(flags);
    std::vector<std::wstring> expected;
    for (int i = 0; i < 11; ++i) {
        CHECK_MESSAGE(flags.*LogKeys[i].flag == 10 + i, ToUtf8(LogKeys[i].key));
        flags.*LogKeys[i].flag = -1 - i;
        expected.push_back(JobLogIni() + L" [Settings] " + LogKeys[i].key + L"=" + std::to_wstring(-1 - i));
    }
    writes.clear();
    JobLogSettings::SaveJobLogFlags(flags);
    CHECK(writes == expected);
    ResetSettingsFolders(NoFolders);
}
