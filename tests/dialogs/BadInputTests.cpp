#include <doctest/doctest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "dialogs/SettingsDriver.h"
#include "resource.h"
#include "support/Text.h"
#include "support/Unwritable.h"

namespace {
const char FreshStates[] = "XTXT . ---- ..X. . xx--xxxxxx-";

// Bytes of every value but '[', so that no section can start by chance.
std::string Garbage(size_t size, unsigned seed)
{
    std::string bytes;
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        const char byte = static_cast<char>(seed >> 16);
        bytes += byte == '[' ? ']' : byte;
    }
    return bytes;
}

// UTF-16 little-endian with its byte-order mark.
std::string Utf16File(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

struct KeyValue {
    const wchar_t* key;
    const wchar_t* value;
};

void CheckShared(const std::vector<KeyValue>& expected)
{
    for (const KeyValue& entry : expected) {
        CAPTURE(ToUtf8(entry.key));
        CHECK(ProfileText(PrimaryIni(), L"SETTINGS", entry.key) == entry.value);
        CHECK(ProfileText(FallbackIni(), L"SETTINGS", entry.key) == entry.value);
    }
}
}

TEST_CASE("files of garbage bytes open as a fresh system and Ok saves every key into them")
{
    PrepareFiles({Garbage(4096, 1), Garbage(4096, 2), Garbage(4096, 3)});
    SettingsRun run;
    CHECK(run.States() == FreshStates);
    CHECK(run.PressOk() == 0);
    CheckShared({{L"WizardOnly", L"0"}, {L"RetailMode", L"0"}, {L"UserSwitching", L"1"}, {L"JobLogging", L"0"}});
    CHECK(ProfileText(JobLogIni(), L"Settings", L"LogStart") == L"1");
    CHECK(ProfileText(JobLogIni(), L"Settings", L"LogSerialNum") == L"0");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("sections between garbage are read, and kept by the save")
{
    const std::string garbage = Garbage(2048, 4);
    PrepareFiles({garbage + "\r\n[SETTINGS]\r\nRetailMode=5\r\n[Other]\r\nA=1\r\n" + garbage});
    SettingsRun run;
    CHECK(run.States() == "-t-t X X.X. ..X. . xx--xxxxxx-");
    CHECK(run.PressOk() == 0);
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"RetailMode") == L"5");
    CHECK(ProfileText(PrimaryIni(), L"Other", L"A") == L"1");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("very long lines neither hide the keys after them nor get cut by the save")
{
    const std::string longLine = "Note=" + std::string(100000, 'n') + "\r\n";
    const std::string longName = std::string(5000, 'K') + "=1\r\n";
    PrepareFiles({SharedFile(longLine + "RetailMode=5\r\n"), "", JobLogFile(longName + "LogSerialNum=1\r\n")});
    SettingsRun run;
    CHECK(run.States() == "-t-t X X.X. ..X. . xx--xxxxxxx");
    CHECK(run.PressOk() == 0);
    CHECK(ReadFileBytes(PrimaryIni()).find(longLine) != std::string::npos);
    CHECK(ReadFileBytes(JobLogIni()).find(longName) != std::string::npos);
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"RetailMode") == L"5");
    CHECK(ProfileText(JobLogIni(), L"Settings", L"LogSerialNum") == L"1");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("negative and huge numbers show as the platform reads them and are saved in range")
{
    // The profile functions read "-1" as all bits set and wrap past 32 bits.
    struct Row {
        const char* name;
        SettingsFiles files;
        const char* states;
        std::vector<KeyValue> saved;
        std::vector<KeyValue> savedJobLog;
    };
    const Row rows[] = {
        {"RetailMode -1: every bit", {SharedFile("RetailMode=-1\r\n")},
         "-t-t X XXXX ..X. . xx--xxxxxx-", {{L"RetailMode", L"15"}}, {}},
        {"RetailMode 4294967297 wraps to 1", {SharedFile("RetailMode=4294967297\r\n")},
         "-t-t X X... ..X. . xx--xxxxxx-", {{L"RetailMode", L"1"}}, {}},
        {"RetailMode far past 32 bits", {SharedFile("RetailMode=99999999999999999999\r\n")},
         "-t-t X XXXX ..X. . xx--xxxxxx-", {{L"RetailMode", L"15"}}, {}},
        {"UserSwitching 4294967296 wraps to 0", {SharedFile("UserSwitching=4294967296\r\n")},
         "XTXT . ---- .... . xx--xxxxxx-", {{L"UserSwitching", L"0"}}, {}},
        {"negative options count as on", {SharedFile("JobLogging=-5\r\nAlwaysHomeZ=-2147483648\r\n"), "",
                                          JobLogFile("LogPause=-1\r\nLogStart=-7\r\n")},
         "XTXT . ---- ..XX X XXX.XXXXXX.", {{L"JobLogging", L"1"}, {L"AlwaysHomeZ", L"1"}},
         {{L"LogPause", L"1"}, {L"LogStart", L"1"}}},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.name));
        PrepareFiles(row.files);
        SettingsRun run;
        CHECK(run.States() == row.states);
        CHECK(run.PressOk() == 0);
        CheckShared(row.saved);
        for (const KeyValue& entry : row.savedJobLog)
            CHECK(ProfileText(JobLogIni(), L"Settings", entry.key) == entry.value);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("UTF-16 files with a byte-order mark are read and stay UTF-16")
{
    PrepareFiles({Utf16File(L"[SETTINGS]\r\nRetailMode=5\r\nOther=kept \u00e9\r\n"), "",
                  Utf16File(L"[Settings]\r\nLogSerialNum=1\r\n")});
    SettingsRun run;
    CHECK(run.States() == "-t-t X X.X. ..X. . xx--xxxxxxx");
    CHECK(run.PressOk() == 0);
    for (const std::wstring& path : {PrimaryIni(), JobLogIni()}) {
        CAPTURE(ToUtf8(path));
        CHECK(ReadFileBytes(path).compare(0, 2, "\xFF\xFE") == 0);
    }
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"RetailMode") == L"5");
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"Other") == L"kept \u00e9");
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"WizardOnly") == L"1");
    CHECK(ProfileText(JobLogIni(), L"Settings", L"LogSerialNum") == L"1");
    CHECK(ProfileText(JobLogIni(), L"Settings", L"LogStart") == L"1");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("read-only files are read, left as they are by Ok, and the other files are still written")
{
    const SettingsFiles files = {SharedFile("RetailMode=5\r\nUserSwitching=0\r\n"), "",
                                 JobLogFile("LogPause=1\r\n")};
    PrepareFiles(files);
    {
        UnwritableFile primary(PrimaryIni());
        UnwritableFile jobLog(JobLogIni());
        if (!primary.Effective() || !jobLog.Effective()) {
            MESSAGE("skipped: this machine does not let a file be made read-only");
            return;
        }
        SettingsRun run;
        CHECK(run.States() == "-t-t X X.X. .... . xxx-xxxxxx-");
        run.Click(IDC_RETAIL_MODE);
        run.Click(IDC_USER_SWITCHING);
        CHECK(run.PressOk() == 0);
    }
    CHECK(ReadFileBytes(PrimaryIni()) == files.primary);
    CHECK(ReadFileBytes(JobLogIni()) == files.jobLog);
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"RetailMode") == L"0");
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"UserSwitching") == L"1");
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"JobLogging") == L"0");
    ResetSettingsFolders(NoFolders);
}

namespace {
// Moves the application-data folder aside, so that the platform cannot name it.
class AppDataAway {
public:
    AppDataAway() : folder(AppDataFolder()), aside(folder + L".away")
    {
        FlushProfileCache();
        // Put back what a run that died left aside.
        if (!FolderExists(folder) && FolderExists(aside))
            MoveFileW(aside.c_str(), folder.c_str());
        moved = MoveFileW(folder.c_str(), aside.c_str()) != FALSE;
    }
    ~AppDataAway()
    {
        if (moved)
            MoveFileW(aside.c_str(), folder.c_str());
    }
    AppDataAway(const AppDataAway&) = delete;
    AppDataAway& operator=(const AppDataAway&) = delete;

    const std::wstring folder;
    const std::wstring aside;
    bool moved = false;
};
}

TEST_CASE("an unavailable application-data folder: defaults shown, nothing written anywhere, exit 0")
{
    const SettingsFiles files = {SharedFile("RetailMode=5\r\n"), SharedFile("Lang=0\r\n"),
                                 JobLogFile("LogSerialNum=1\r\n")};
    PrepareFiles(files);
    const std::wstring primary = PrimaryIni(), fallback = FallbackIni(), jobLog = JobLogIni();
    {
        AppDataAway away;
        REQUIRE(away.moved);
        wchar_t reported[MAX_PATH];
        REQUIRE(FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, reported)));

        SettingsRun run;
        CHECK(run.States() == FreshStates);
        run.Click(IDC_RETAIL_MODE);
        run.Click(IDC_POLL_FOR_FILES);
        CHECK(run.PressOk() == 0);
        CHECK_FALSE(FolderExists(away.folder));
        for (const wchar_t* stray : {L"C:\\windows\\DRZINFO.INI", L"C:\\windows\\JobInfo.ini", L"C:\\DRZINFO.INI",
                                     L"C:\\JobInfo.ini", L"C:\\RIDERE", L"C:\\DAZIRE", L"C:\\VEVEVU"})
            CHECK(GetFileAttributesW(stray) == INVALID_FILE_ATTRIBUTES);
    }
    CHECK(ReadFileBytes(primary) == files.primary);
    CHECK(ReadFileBytes(fallback) == files.fallback);
    CHECK(ReadFileBytes(jobLog) == files.jobLog);
    ResetSettingsFolders(NoFolders);
}
