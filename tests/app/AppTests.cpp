#include <doctest/doctest.h>

#include "app/Startup.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"

namespace {
OSVERSIONINFOW reported;
BOOL WINAPI FakeVersion(OSVERSIONINFOW* version)
{
    if (version->dwOSVersionInfoSize != sizeof reported)  // 276: the plain record
        return FALSE;
    *version = reported;
    return TRUE;
}

// Each control of the settings dialog that gets a text, its string, and whether it takes the system font.
// clang-format off
#define CONTROL(name, systemFont) {IDC_##name, IDS_##name, systemFont}
const struct { int id; UINT stringId; bool systemFont; } Controls[] = {
    CONTROL(MANUAL_RDM, true), CONTROL(MANUAL_OTHER, true), CONTROL(DELETE_AFTER_RUN, true),
    CONTROL(USER_SWITCHING, true), CONTROL(DATALOGGING, true), CONTROL(POLL_FOR_FILES_HELP, false),
    CONTROL(MANUAL_RDM_HELP, false), CONTROL(MANUAL_OTHER_HELP, false), CONTROL(USER_SWITCHING_HELP, false),
    CONTROL(HOME_Z_AXIS_HELP, false), CONTROL(POLL_FOR_FILES, true), CONTROL(HOME_Z_AXIS, true),
    CONTROL(HIDE_SYSTEM_TAB, false), CONTROL(FORBID_QUEUE_ACCESS, false), CONTROL(DISABLE_FIXTURE_TYPE, false),
    CONTROL(HIDE_SETTINGS_BUTTON, false), CONTROL(LOG_START, false), CONTROL(LOG_COMPLETE, false),
    CONTROL(LOG_PAUSE, false), CONTROL(LOG_RESUME, false), CONTROL(LOG_ERROR, false), CONTROL(LOG_DATE, false),
    CONTROL(LOG_TIME, false), CONTROL(LOG_JOB_NAME, false), CONTROL(LOG_DURATION, false), CONTROL(LOG_USER, false),
    CONTROL(LOG_SERIAL_NUMBER, false), CONTROL(RETAIL_MODE, true), {IDOK, IDS_OK, false}, {IDCANCEL, IDS_CANCEL, false},
};
// clang-format on

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The shipped texts in place, the single options in the system font, texts and boxes on light grey.
void CheckTexts(HWND dialog)
{
    const HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    for (const auto& row : Controls) {
        CAPTURE(row.id);
        wchar_t text[1024];
        HWND control = GetDlgItem(dialog, row.id);
        CHECK(WindowText(control) ==
              std::wstring(text, LoadStringW(GetModuleHandleW(nullptr), row.stringId, text, 1024)));
        CHECK(FontOf(control) == (row.systemFont ? systemFont : FontOf(dialog)));
    }
    CHECK(WindowText(GetDlgItem(dialog, IDC_TITLE_BAR)) == L"KRV Advanced Engraver Settings 1.7");
    CHECK(WindowText(dialog) == L"KRV Advanced Engraver Settings 1.7");
    HDC dc = GetDC(dialog);
    LOGBRUSH brush = {};
    GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORSTATIC, WPARAM(dc), 0)), sizeof brush, &brush);
    CHECK((brush.lbColor == 0xE2E2E2 && GetBkColor(dc) == 0xE2E2E2));
    ReleaseDC(dialog, dc);
}
}

TEST_CASE(
    "start-up: the dialog where the system reports XP or later, the refusal elsewhere; English whatever Lang says")
{
    REQUIRE(RedirectImport("GetVersionExW", reinterpret_cast<void*>(FakeVersion)) != nullptr);
    // XP, Server 2003, Vista, 7, and 8 to 10 as a program that names no system in its manifest sees them; 2000,
    // NT 4 and 98. No language but English ships: a Lang out of range must not lose its texts.
    // clang-format off
    const struct { DWORD platform, major, minor; const char* lang; bool supported; } rows[] = {
        {2, 5, 1, "", true}, {2, 5, 2, "9", true}, {2, 6, 0, "4294967295", true}, {2, 6, 1, "", true},
        {2, 6, 2, "", true}, {2, 5, 0, "9", false}, {2, 4, 0, "", false}, {1, 4, 10, "", false},
    };
    // clang-format on
    ResetSettingsFolders(PrimaryFolderExists);
    for (const auto& row : rows) {
        INFO(row.platform << " " << row.major << "." << row.minor << " Lang=" << row.lang);
        WriteFileBytes(PrimaryIni(), std::string("[SETTINGS]\r\nLang=") + row.lang + "\r\n");
        reported = {0, row.major, row.minor, 0, row.platform, {}};
        int exitCode = 1;
        const Step check = [&](HWND dialog) {
            CHECK(WindowText(GetDlgItem(dialog, IDOK)) == L"Ok");
            if (row.supported)
                CheckTexts(dialog);
            else {  // the skinned box: caption, text, one Ok and the hand icon
                CHECK(WindowText(dialog) == L"Cannot Install");
                CHECK(WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT)) ==
                      L"The KRV Engraver Application requires Windows XP or higher.");
                CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
                CHECK(SendBounded(GetDlgItem(dialog, IDC_MESSAGE_ICON), STM_GETICON) ==
                      reinterpret_cast<DWORD_PTR>(LoadIconW(nullptr, IDI_HAND)));
            }
            ClickControl(dialog, row.supported ? IDCANCEL : IDOK);
        };
        RunDriven([&] { exitCode = RunApplication(GetModuleHandleW(nullptr)); }, {check});
        CHECK(exitCode == (row.supported ? 0 : -1));
    }
    ResetSettingsFolders(NoFolders);
}
