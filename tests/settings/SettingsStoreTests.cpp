#include <doctest/doctest.h>

#include <string>

#include "settings/SettingsStore.h"
#include "support/Files.h"
#include "support/Text.h"

namespace {
std::string Settings(const std::string& lines)
{
    return "[SETTINGS]\r\n" + lines;
}
}

TEST_CASE("a read prefers the primary file and falls back key by key")
{
    struct Row {
        const char* name;
        std::string primary;   // file content; empty = no file
        std::string fallback;
        DWORD defaultValue;
        DWORD expected;
    };
    const Row rows[] = {
        {"primary wins", Settings("RetailMode=3\r\n"), Settings("RetailMode=9\r\n"), 0, 3},
        {"only the fallback holds the key", Settings("Other=1\r\n"), Settings("RetailMode=1\r\n"), 0, 1},
        {"only the fallback file exists", "", Settings("RetailMode=12\r\n"), 0, 12},
        {"neither file holds it", Settings("Other=1\r\n"), Settings("Other=2\r\n"), 1, 1},
        {"no files at all", "", "", 1, 1},
        {"sentinel in the primary, fallback holds it", Settings("RetailMode=1515870810\r\n"),
         Settings("RetailMode=5\r\n"), 0, 5},
        {"sentinel in the primary, fallback lacks it", Settings("RetailMode=1515870810\r\n"), "", 7, 7},
        {"primary holds 0", Settings("RetailMode=0\r\n"), Settings("RetailMode=9\r\n"), 4, 0},
        {"names match regardless of case", "[settings]\r\nretailmode=6\r\n", "", 0, 6},
        {"a key of another section does not count", "[OTHER]\r\nRetailMode=8\r\n",
         Settings("RetailMode=2\r\n"), 0, 2},
        {"minus one reads as all bits set", Settings("RetailMode=-1\r\n"), "", 0, 4294967295u},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists);
        if (!row.primary.empty())
            WriteFileBytes(PrimaryIni(), row.primary);
        if (!row.fallback.empty())
            WriteFileBytes(FallbackIni(), row.fallback);
        DWORD value = row.defaultValue;
        SettingsStore().ReadRetailMode(value);
        CHECK(value == row.expected);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("a write stores unsigned decimal text in both files")
{
    struct Row {
        DWORD value;
        const char* text;
    };
    const Row rows[] = {{0, "0"}, {15, "15"}, {4294967295u, "4294967295"}, {2147483648u, "2147483648"}};
    for (const Row& row : rows) {
        CAPTURE(row.text);
        ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists);
        SettingsStore().WriteRetailMode(row.value);
        const std::string expected = std::string("[SETTINGS]\r\nRetailMode=") + row.text + "\r\n";
        CHECK(ReadFileBytes(PrimaryIni()) == expected);
        CHECK(ReadFileBytes(FallbackIni()) == expected);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("a write keeps the rest of the file")
{
    ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists);
    const std::string before =
        "; engraver settings\r\n"
        "[Printer]\r\nRetailMode=99\r\nModel=RDM\r\n"
        "[settings]\r\nretailmode=3\r\nLang=4\r\nPanelPath=C:\\Panel\\x.exe\r\n"
        "[Other]\r\nKey=Value\r\n";
    WriteFileBytes(PrimaryIni(), before);
    SettingsStore().WriteRetailMode(12);

    const std::string after = ReadFileBytes(PrimaryIni());
    CHECK(after.find("; engraver settings") != std::string::npos);
    CHECK(ProfileText(PrimaryIni(), L"Printer", L"RetailMode") == L"99");
    CHECK(ProfileText(PrimaryIni(), L"Printer", L"Model") == L"RDM");
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"Lang") == L"4");
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"PanelPath") == L"C:\\Panel\\x.exe");
    CHECK(ProfileText(PrimaryIni(), L"Other", L"Key") == L"Value");
    // The existing key is updated in place, whatever its letter case.
    CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"RetailMode") == L"12");
    CHECK(after.find("retailmode=3") == std::string::npos);
    CHECK(after.find("RetailMode=12") == std::string::npos);
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("a missing folder is never created")
{
    SUBCASE("primary folder missing: reads and writes use the fallback only")
    {
        ResetSettingsFolders(FallbackFolderExists);
        WriteFileBytes(FallbackIni(), Settings("AlwaysHomeZ=1\r\n"));
        DWORD value = 0;
        SettingsStore().ReadAlwaysHomeZ(value);
        CHECK(value == 1);

        SettingsStore().WriteAlwaysHomeZ(0);
        CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"AlwaysHomeZ") == L"0");
        CHECK_FALSE(FolderExists(PrimaryFolder()));
    }
    SUBCASE("fallback folder missing: the primary write still happens")
    {
        ResetSettingsFolders(PrimaryFolderExists);
        SettingsStore().WriteDeleteAfterRun(1);
        CHECK(ProfileText(PrimaryIni(), L"SETTINGS", L"DeleteAfterRun") == L"1");
        CHECK_FALSE(FolderExists(FallbackFolder()));
    }
    SUBCASE("neither folder: nothing is stored and reads keep the default")
    {
        ResetSettingsFolders(NoFolders);
        SettingsStore().WritePollForFiles(1);
        CHECK_FALSE(FolderExists(PrimaryFolder()));
        CHECK_FALSE(FolderExists(FallbackFolder()));
        DWORD value = 0;
        SettingsStore().ReadPollForFiles(value);
        CHECK(value == 0);
    }
    ResetSettingsFolders(NoFolders);
}
