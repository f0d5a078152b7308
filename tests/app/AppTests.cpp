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

// Each control of the settings dialog that gets a text: its string, where the text is cut, and whether it takes
// the system font.
// clang-format off
#define CONTROL(name, bound, systemFont) {IDC_##name, IDS_##name, bound, systemFont}
const struct {
    int id;
    UINT stringId;
    int bound;
    bool systemFont;
} Controls[] = {
    CONTROL(MANUAL_RDM, 128, true), CONTROL(MANUAL_OTHER, 128, true), CONTROL(DELETE_AFTER_RUN, 128, true),
    CONTROL(USER_SWITCHING, 128, true), CONTROL(DATALOGGING, 128, true), CONTROL(POLL_FOR_FILES_HELP, 128, false),
    CONTROL(MANUAL_RDM_HELP, 1024, false), CONTROL(MANUAL_OTHER_HELP, 1024, false),
    CONTROL(USER_SWITCHING_HELP, 1024, false), CONTROL(HOME_Z_AXIS_HELP, 1024, false),
    CONTROL(POLL_FOR_FILES, 64, true), CONTROL(HOME_Z_AXIS, 64, true), CONTROL(HIDE_SYSTEM_TAB, 64, false),
    CONTROL(FORBID_QUEUE_ACCESS, 64, false), CONTROL(DISABLE_FIXTURE_TYPE, 64, false),
    CONTROL(HIDE_SETTINGS_BUTTON, 64, false), CONTROL(LOG_START, 64, false), CONTROL(LOG_COMPLETE, 64, false),
    CONTROL(LOG_PAUSE, 64, false), CONTROL(LOG_RESUME, 64, false), CONTROL(LOG_ERROR, 64, false),
    CONTROL(LOG_DATE, 64, false), CONTROL(LOG_TIME, 64, false), CONTROL(LOG_JOB_NAME, 64, false),
    CONTROL(LOG_DURATION, 64, false), CONTROL(LOG_USER, 64, false), CONTROL(LOG_SERIAL_NUMBER, 64, false),
    CONTROL(RETAIL_MODE, 32, true), {IDOK, IDS_OK, 32, false}, {IDCANCEL, IDS_CANCEL, 32, false},
};
// clang-format on

// As tests/res/Tests.rc gives it.
std::wstring ItalianoText(UINT id)
{
    std::wstring text = std::to_wstring(id) + L":";
    for (int i = 0; i < 110; ++i)
        text += L"abcdefghij";
    return text;
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The test resources give Italiano texts of over 1100 characters: each is cut at its control's bound; the single
// options take the system font; texts and boxes are on light grey.
void CheckTexts(HWND dialog)
{
    const HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    CHECK(FontOf(dialog) != systemFont);
    for (const auto& row : Controls) {
        CAPTURE(row.id);
        HWND control = GetDlgItem(dialog, row.id);
        CHECK(WindowText(control) == ItalianoText(row.stringId).substr(0, size_t(row.bound)));
        CHECK(FontOf(control) == (row.systemFont ? systemFont : FontOf(dialog)));
    }
    // The bar's window text takes 32 characters and the version; the window's title, 127.
    const std::wstring title = ItalianoText(IDS_SETTINGS_TITLE);
    CHECK(WindowText(GetDlgItem(dialog, IDC_TITLE_BAR)) == title.substr(0, 32) + L" 1.7");
    CHECK(WindowText(dialog) == title.substr(0, 127) + L" 1.7");
    HDC dc = GetDC(dialog);
    LOGBRUSH brush = {};
    GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORSTATIC, WPARAM(dc), 0)), sizeof brush, &brush);
    CHECK((brush.lbColor == 0xE2E2E2 && GetBkColor(dc) == 0xE2E2E2));
    ReleaseDC(dialog, dc);
}
}

TEST_CASE("start-up: the version decides between the dialog and the refusal; every language's texts are in place")
{
    REQUIRE(RedirectImport("GetVersionExW", reinterpret_cast<void*>(FakeVersion)) != nullptr);
    // Ok's text shows the language used (Tests.rc); an empty `Lang` counts as none.
    const std::wstring italiano = L"20001:abcdefghijabcdefghijabcdef", polski = L"22001:abcdefghijabcdefghijabcdef";
    // clang-format off
    const struct { DWORD platform, major, minor; const char* lang; std::wstring ok; int exit; } rows[] = {
        {2, 5, 1, "", L"En", 0}, {2, 5, 2, "1", L"Es", 0}, {2, 6, 0, "2", L"Fr", 0}, {2, 6, 3, "5", italiano, 0},
        {2, 5, 0, "4", L"De", -1}, {2, 4, 0, "3", L"Nl", -1}, {2, 7, 0, "6", L"Ok", -1}, {1, 6, 0, "7", polski, -1},
        {0, 0, 0, "8", L"Ok", -1}, {2, 10, 0, "9", L"En", -1}, {2, 5, 9, "4294967295", L"En", 0},
    };
    ResetSettingsFolders(PrimaryFolderExists);
    for (const auto& row : rows) {
        CAPTURE(row.lang);
        WriteFileBytes(PrimaryIni(), std::string("[SETTINGS]\r\nLang=") + row.lang + "\r\n");
        reported = {0, row.major, row.minor, 0, row.platform, {}};
        int exitCode = 1;
        RunDriven([&] { exitCode = RunApplication(GetModuleHandleW(nullptr)); }, {[&](HWND dialog) {
            CHECK(WindowText(GetDlgItem(dialog, IDOK)) == row.ok);
            if (row.ok == italiano && row.exit == 0)
                CheckTexts(dialog);
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
