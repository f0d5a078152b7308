#include <doctest/doctest.h>

#include <string>

#include "dialogs/SettingsDriver.h"
#include "resource.h"
#include "support/Text.h"

namespace {
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

// Makes a file read-only until destroyed: the read-only attribute, which
// Windows honours, and the Unix immutable flag, without which Wine lets a
// process running as root write anyway.
struct UnwritableFile {
    explicit UnwritableFile(const std::wstring& file) : path(file)
    {
        FlushProfileCache();
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        Chattr("+i", path);
        // Wine may report the Unix command done before it is.
        for (int i = 0; i < 50 && Writable(path); ++i)
            Sleep(100);
    }
    ~UnwritableFile()
    {
        FlushProfileCache();
        Chattr("-i", path);
        for (int i = 0; i < 50 && !(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) && Writable(path)); ++i)
            Sleep(100);
    }
    const std::wstring path;
};

// UTF-16 little-endian with its byte-order mark.
std::string Utf16File(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text)
        bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}
}

TEST_CASE("bad files: garbage, very long lines, UTF-16, negative and huge numbers")
{
    const std::string garbage = Garbage(2048, 4);
    const std::string longLine = "Note=" + std::string(100000, 'n') + "\r\n";
    const std::string longName = std::string(5000, 'K') + "=1\r\n";
    const struct {
        const char* name;
        SettingsFiles files;
        std::string states;
        const char* shared;  // saved in both shared files
        const char* jobLog;
        std::string keptPrimary, keptJobLog;  // bytes the save must leave in the files
    } rows[] = {
        {"garbage, with sections between",
         {garbage + "\r\n[SETTINGS]\r\nRetailMode=5\r\n[Other]\r\nA=1\r\n" + garbage, Garbage(4096, 2),
          Garbage(4096, 3)},
         "-t-t X X.X. ..X. . xx--xxxxxx-", "RetailMode=5 WizardOnly=1 UserSwitching=1 JobLogging=0",
         "LogStart=1 LogSerialNum=0", "[Other]\r\nA=1\r\n", ""},
        {"very long lines",
         {SharedFile(longLine + "RetailMode=5\r\n"), "", JobLogFile(longName + "LogSerialNum=1\r\n")},
         "-t-t X X.X. ..X. . xx--xxxxxxx", "RetailMode=5", "LogSerialNum=1", longLine, longName},
        {"UTF-16 with a byte-order mark",
         {Utf16File(L"[SETTINGS]\r\nRetailMode=5\r\nOther=kept \u00e9\r\n"), "",
          Utf16File(L"[Settings]\r\nLogSerialNum=1\r\n")},
         "-t-t X X.X. ..X. . xx--xxxxxxx", "RetailMode=5 WizardOnly=1", "LogSerialNum=1 LogStart=1",
         Utf16File(L"Other=kept \u00e9\r\n").substr(2), Utf16File(L"[Settings]\r\n")},
        // The profile functions read "-1" as all bits set and wrap past 32 bits.
        {"RetailMode -1: every bit", {SharedFile("RetailMode=-1\r\n")}, "-t-t X XXXX ..X. . xx--xxxxxx-",
         "RetailMode=15", "", "", ""},
        {"RetailMode far past 32 bits", {SharedFile("RetailMode=99999999999999999999\r\n")},
         "-t-t X XXXX ..X. . xx--xxxxxx-", "RetailMode=15", "", "", ""},
        {"negative options count as on",
         {SharedFile("JobLogging=-5\r\nAlwaysHomeZ=-2147483648\r\n"), "",
          JobLogFile("LogPause=-1\r\nLogStart=-7\r\n")},
         "XTXT . ---- ..XX X XXX.XXXXXX.", "JobLogging=1 AlwaysHomeZ=1", "LogPause=1 LogStart=1", "", ""},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        PrepareFiles(row.files);
        SettingsRun run;
        CHECK(run.States() == row.states);
        CHECK(run.Press(IDOK) == 0);
        CheckSaved(row.shared, row.jobLog);
        CHECK(ReadFileBytes(PrimaryIni()).find(row.keptPrimary) != std::string::npos);
        CHECK(ReadFileBytes(JobLogIni()).find(row.keptJobLog) != std::string::npos);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("read-only files are read, left as they are by Ok, named in one box, and the other files are still written")
{
    const SettingsFiles files = {SharedFile("RetailMode=5\r\nUserSwitching=0\r\n"), "", JobLogFile("LogPause=1\r\n")};
    PrepareFiles(files);
    {
        UnwritableFile primary(PrimaryIni());
        UnwritableFile jobLog(JobLogIni());
        if (Writable(primary.path) || Writable(jobLog.path)) {
            MESSAGE("skipped: this machine does not let a file be made read-only");
            return;
        }
        SettingsRun run;
        CHECK(run.States() == "-t-t X X.X. .... . xxx-xxxxxx-");
        run.Click({IDC_RETAIL_MODE, IDC_USER_SWITCHING});
        ClickControl(run.dialog, IDOK);
        HWND box = nullptr;
        for (int i = 0; i < 200 && (box = FindWindowW(L"#32770", L"Cannot Save Settings")) == nullptr; ++i)
            PumpMessages(50);
        REQUIRE(box != nullptr);
        const std::wstring text = WindowText(GetDlgItem(box, IDC_MESSAGE_TEXT));
        CHECK(text.find(PrimaryIni()) != std::wstring::npos);
        CHECK(text.find(JobLogIni()) != std::wstring::npos);
        CHECK(text.find(FallbackIni()) == std::wstring::npos);
        CHECK(IsWindowVisible(GetDlgItem(box, IDC_MESSAGE_ICON)));
        // Every write came before the box.
        CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"UserSwitching") == L"1");
        ClickControl(box, IDOK);
        CHECK(run.program.WaitForExit() == 0);
    }
    CHECK(ReadFileBytes(PrimaryIni()) == files.primary);
    CHECK(ReadFileBytes(JobLogIni()) == files.jobLog);
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"RetailMode") == L"0");
    CHECK(ProfileText(FallbackIni(), L"SETTINGS", L"UserSwitching") == L"1");
    ResetSettingsFolders(NoFolders);
}

namespace {
// Moves the application-data folder aside, so that the platform cannot name it.
struct AppDataAway {
    const std::wstring folder = AppDataFolder(), aside = folder + L".away";
    const bool moved = (FlushProfileCache(), MoveFileW(folder.c_str(), aside.c_str()) != FALSE);
    ~AppDataAway()
    {
        if (moved)
            MoveFileW(aside.c_str(), folder.c_str());
    }
};
}

TEST_CASE("an unavailable application-data folder: defaults shown, nothing written anywhere, exit 0")
{
    const SettingsFiles files = {SharedFile("RetailMode=5\r\n"), SharedFile("Lang=0\r\n"),
                                 JobLogFile("LogSerialNum=1\r\n")};
    PrepareFiles(files);
    const std::wstring paths[] = {PrimaryIni(), FallbackIni(), JobLogIni()};
    {
        AppDataAway away;
        REQUIRE(away.moved);
        SettingsRun run;
        CHECK(run.States() == "XTXT . ---- ..X. . xx--xxxxxx-");
        run.Click({IDC_RETAIL_MODE, IDC_POLL_FOR_FILES});
        CHECK(run.Press(IDOK) == 0);
        CHECK_FALSE(FolderExists(away.folder));
        CheckNoStrayFiles();
    }
    CHECK(ReadFileBytes(paths[0]) == files.primary);
    CHECK(ReadFileBytes(paths[1]) == files.fallback);
    CHECK(ReadFileBytes(paths[2]) == files.jobLog);
    ResetSettingsFolders(NoFolders);
}
