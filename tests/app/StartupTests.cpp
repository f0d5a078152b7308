#include <doctest/doctest.h>

#include "app/Startup.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"

TEST_CASE("supported systems are NT 5.1 to 5.x and 6.x")
{
    struct Row {
        DWORD platform, major, minor;
        bool supported;
    };
    const Row rows[] = {
        // platform                   major minor  supported
        {VER_PLATFORM_WIN32_NT,        5,   1,     true},   // XP
        {VER_PLATFORM_WIN32_NT,        5,   2,     true},   // Server 2003
        {VER_PLATFORM_WIN32_NT,        5,   9,     true},
        {VER_PLATFORM_WIN32_NT,        6,   0,     true},   // Vista
        {VER_PLATFORM_WIN32_NT,        6,   3,     true},
        {VER_PLATFORM_WIN32_NT,        5,   0,     false},  // 2000
        {VER_PLATFORM_WIN32_NT,        4,   0,     false},  // NT 4.0
        {VER_PLATFORM_WIN32_NT,        7,   0,     false},
        {VER_PLATFORM_WIN32_NT,        10,  0,     false},
        {VER_PLATFORM_WIN32_WINDOWS,   5,   1,     false},
        {VER_PLATFORM_WIN32_WINDOWS,   4,   10,    false},  // 98
        {0,                            0,   0,     false},  // a failed query
    };
    for (const Row& row : rows) {
        CAPTURE(row.platform);
        CAPTURE(row.major);
        CAPTURE(row.minor);
        OSVERSIONINFOW version = {};
        version.dwOSVersionInfoSize = sizeof version;
        version.dwPlatformId = row.platform;
        version.dwMajorVersion = row.major;
        version.dwMinorVersion = row.minor;
        CHECK(IsSupportedVersion(version) == row.supported);
    }
}

TEST_CASE("the program under each Windows version Wine can report")
{
    struct Row {
        const wchar_t* version;
        bool supported;
    };
    const Row rows[] = {
        {L"nt40", false},  {L"win2k", false}, {L"win98", false}, {L"winxp", true},
        {L"win2003", true}, {L"vista", true},  {L"win7", true},   {L"win10", true},
    };
    ResetSettingsFolders(NoFolders);
    for (const Row& row : rows) {
        CAPTURE(ToUtf8(row.version));
        if (!row.supported) {
            // The refusal in the skinned box: its caption, two lines of text,
            // one Ok and an icon; then exit code -1.
            ProgramRun program(row.version);
            REQUIRE(program.Started());
            HWND box = program.WaitForDialog();
            REQUIRE(box != nullptr);
            CHECK(WindowText(box) == L"Cannot Install");
            HWND text = GetDlgItem(box, IDC_MESSAGE_TEXT);  // none in the platform's box
            REQUIRE(text != nullptr);
            RECT textRect = {};
            GetWindowRect(text, &textRect);
            CHECK(textRect.bottom - textRect.top > 40);
            CHECK(WindowText(GetDlgItem(box, IDOK)) == L"Ok");
            CHECK_FALSE(IsWindowVisible(GetDlgItem(box, IDCANCEL)));
            CHECK(IsWindowVisible(GetDlgItem(box, IDC_MESSAGE_ICON)));
            ClickControl(box, IDOK);
            CHECK(program.WaitForExit() == static_cast<DWORD>(-1));
            continue;
        }
        // The settings dialog, ended by Ok or by Cancel: exit code 0 either way.
        for (int button : {IDOK, IDCANCEL}) {
            CAPTURE(button);
            ProgramRun program(row.version);
            REQUIRE(program.Started());
            HWND dialog = program.WaitForDialog();
            REQUIRE(dialog != nullptr);
            CHECK(GetDlgItem(dialog, 1062) != nullptr);  // it is the settings dialog
            ClickControl(dialog, button);
            CHECK(program.WaitForExit() == 0);
        }
    }
}
