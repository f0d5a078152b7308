#include <doctest/doctest.h>

#include <string>
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
    if (section && key && text && file)
        writes.push_back(std::wstring(file) + L" [" + section + L"] " + key + L"=" + text);
    return realWrite(section, key, text, file);
}
const bool recording = (realWrite = reinterpret_cast<decltype(realWrite)>(RedirectImport(
                            "WritePrivateProfileStringW", reinterpret_cast<void*>(RecordWrite)))) != nullptr;

using Store = SettingsStore;
const struct {
    const wchar_t* key;
    void (Store::*read)(DWORD&);
    void (Store::*write)(DWORD);
} Keys[] = {
    {L"WizardOnly", &Store::ReadWizardOnly, &Store::WriteWizardOnly},
    {L"WizardOnly++", &Store::ReadWizardOnlyPlus, &Store::WriteWizardOnlyPlus},
    {L"RetailMode", &Store::ReadRetailMode, &Store::WriteRetailMode},
    {L"UserSwitching", &Store::ReadUserSwitching, &Store::WriteUserSwitching},
    {L"JobLogging", &Store::ReadJobLogging, &Store::WriteJobLogging},
    {L"AlwaysHomeZ", &Store::ReadAlwaysHomeZ, &Store::WriteAlwaysHomeZ},
    {L"DeleteAfterRun", &Store::ReadDeleteAfterRun, &Store::WriteDeleteAfterRun},
    {L"PollForFiles", &Store::ReadPollForFiles, &Store::WritePollForFiles},
    {L"Lang", &Store::ReadLang, nullptr},
};

// In the file's order.
const std::pair<const wchar_t*, int JobLogFlags::*> LogKeys[] = {
    {L"LogStart", &JobLogFlags::LogStart},       {L"LogComplete", &JobLogFlags::LogComplete},
    {L"LogPause", &JobLogFlags::LogPause},       {L"LogResume", &JobLogFlags::LogResume},
    {L"LogError", &JobLogFlags::LogError},       {L"LogJobName", &JobLogFlags::LogJobName},
    {L"LogDate", &JobLogFlags::LogDate},         {L"LogTime", &JobLogFlags::LogTime},
    {L"LogDuration", &JobLogFlags::LogDuration}, {L"LogUser", &JobLogFlags::LogUser},
    {L"LogSerialNum", &JobLogFlags::LogSerialNum},
};
const int LogDefaults[] = {1, 1, 0, 0, 1, 1, 1, 1, 1, 1, 0};
}

TEST_CASE("each key: read from the primary file, else the fallback, else the default; written primary first")
{
    REQUIRE(recording);
    struct Row {
        int primary, fallback;  // key i holds this + i; 0: no key; the sentinel as it is
        int expected;           // plus i; the caller's default is 300 + i
    };
    const Row rows[] = {{100, 200, 100}, {0, 200, 200}, {0, 0, 300}, {1515870810, 200, 200}, {1515870810, 0, 300}};
    for (const Row& row : rows) {
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
            CAPTURE(ToUtf8(Keys[i].key));
            DWORD value = 300 + i;
            (Store().*Keys[i].read)(value);
            CHECK(value == row.expected + i);
        }
    }
    ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists);
    for (unsigned i = 0; Keys[i].write; ++i) {
        writes.clear();
        (Store().*Keys[i].write)(4294967295u - i);
        const std::wstring line = L" [SETTINGS] " + std::wstring(Keys[i].key) + L"=" + std::to_wstring(4294967295u - i);
        CHECK(writes == std::vector<std::wstring>{PrimaryIni() + line, FallbackIni() + line});
    }
    CHECK(ReadFileBytes(FallbackIni()).find("\r\nPollForFiles=4294967288\r\n") != std::string::npos);
    ResetSettingsFolders(FallbackFolderExists);  // a missing folder is not made
    Store().WriteRetailMode(5);
    CHECK_FALSE(FolderExists(PrimaryFolder()));
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"RetailMode") == L"5");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the eleven job-logging flags: each from its own key, all written in their order as signed decimals")
{
    REQUIRE(recording);
    ResetSettingsFolders(JobLogFolderExists);
    JobLogFlags flags;
    JobLogSettings::LoadJobLogFlags(flags);
    for (unsigned i = 0; i < 11; ++i)
        CHECK(flags.*LogKeys[i].second == LogDefaults[i]);
    std::string file = "[SETTINGS]\r\n";
    for (unsigned i = 0; i < 11; ++i)
        file += ToUtf8(LogKeys[i].first) + "=" + std::to_string(10 + i) + "\r\n";
    WriteFileBytes(JobLogIni(), file);
    JobLogSettings::LoadJobLogFlags(flags);
    std::vector<std::wstring> expected;
    for (int i = 0; i < 11; ++i) {
        CAPTURE(ToUtf8(LogKeys[i].first));
        CHECK(flags.*LogKeys[i].second == 10 + i);
        flags.*LogKeys[i].second = -1 - i;
        expected.push_back(JobLogIni() + L" [Settings] " + LogKeys[i].first + L"=" + std::to_wstring(-1 - i));
    }
    writes.clear();
    JobLogSettings::SaveJobLogFlags(flags);
    CHECK(writes == expected);
    ResetSettingsFolders(NoFolders);
}
