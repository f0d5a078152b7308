#include <doctest/doctest.h>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
OSVERSIONINFOW reported;
BOOL WINAPI FakeVersion(OSVERSIONINFOW* version)
{
    if (version->dwOSVersionInfoSize != sizeof reported)  // 276: the plain record
        return FALSE;
    *version = reported;
    return TRUE;
}
}

TEST_CASE("start-up: the version decides between the dialog and the refusal; every language's base is in place")
{
    REQUIRE(RedirectImport("GetVersionExW", reinterpret_cast<void*>(FakeVersion)) != nullptr);
    // Ok's text shows the language used (Tests.rc); an empty `Lang` counts as none.
    // clang-format off
    const struct { DWORD platform, major, minor; const char* lang; const wchar_t* ok; int exit; } rows[] = {
        {2, 5, 1, "", L"En", 0}, {2, 5, 2, "1", L"Es", 0}, {2, 6, 0, "2", L"Fr", 0}, {2, 6, 3, "3", L"Nl", 0},
        {2, 5, 0, "4", L"De", -1}, {2, 4, 0, "5", L"20001:abcdefghijabcdefghijabcdef", -1}, {2, 7, 0, "6", L"Ok", -1},
        {1, 6, 0, "7", L"22001:abcdefghijabcdefghijabcdef", -1}, {0, 0, 0, "8", L"Ok", -1}, {2, 10, 0, "9", L"En", -1},
        {2, 5, 9, "4294967295", L"En", 0},
    };
    ResetSettingsFolders(PrimaryFolderExists);
    for (const auto& row : rows) {
        CAPTURE(row.lang);
        WriteFileBytes(PrimaryIni(), std::string("[SETTINGS]\r\nLang=") + row.lang + "\r\n");
        reported = {0, row.major, row.minor, 0, row.platform, {}};
        int exitCode = 1;
        RunDriven([&] { exitCode = RunApplication(GetModuleHandleW(nullptr)); }, {[&](HWND dialog) {
            CHECK(WindowText(GetDlgItem(dialog, IDOK)) == row.ok);
            HDC dc = GetDC(dialog);  // the shared brushes in use: the box's dark grey, the dialog's light grey
            CHECK(GetPixel(dc, 6, 40) == (row.exit ? 0x707072 : 0xE2E2E2));
            ReleaseDC(dialog, dc);
            if (row.exit) {  // the skinned box: caption, text, one Ok and the hand icon
                CHECK(WindowText(dialog) == L"Cannot Install");
                CHECK(WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT)) ==
                      L"The KRV Engraver Application requires Windows XP or higher.");
                CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
                CHECK(SendBounded(GetDlgItem(dialog, IDC_MESSAGE_ICON), STM_GETICON) ==
                      reinterpret_cast<DWORD_PTR>(LoadIconW(nullptr, IDI_HAND)));
            }
            ClickControl(dialog, row.exit ? IDOK : IDCANCEL);
        }});
        // clang-format on
        CHECK((exitCode == row.exit && DarkBrush == nullptr && LightBrush == nullptr));
    }
    // A missing text reads "????" cut to the capacity (0 writes nothing) and counts as not found.
    for (const auto& [capacity, text] : {std::pair{0, L"#####"}, {1, L"\0####"}, {3, L"??\0##"}, {128, L"????\0"}}) {
        wchar_t buffer[128] = L"#####";
        CHECK(LoadLocalizedString(20999, buffer, capacity) == 0);
        CHECK(std::wstring(buffer, 5) == std::wstring(text, 5));
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the program refuses an old system and exits with -1")
{
    ProgramRun program(L"win2k");
    ClickControl(program.WaitForDialog(), IDOK);
    CHECK(program.WaitForExit() == static_cast<DWORD>(-1));
}
