#include <doctest/doctest.h>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/TestKit.h"

namespace {
OSVERSIONINFOW reported;
DWORD askedSize;
BOOL WINAPI FakeVersion(OSVERSIONINFOW* version)
{
    askedSize = version->dwOSVersionInfoSize;
    *version = reported;
    return TRUE;
}
}

TEST_CASE("start-up: the version decides between the dialog and the refusal; every language's base is in place")
{
    REQUIRE(RedirectImport("GetVersionExW", reinterpret_cast<void*>(FakeVersion)) != nullptr);
    // Ok's text shows the language used (Tests.rc); no `lang`: no key.
    const struct { DWORD platform, major, minor; const char* lang; const wchar_t* ok; } rows[] = {
        {2, 5, 1, nullptr, L"En"}, {2, 5, 2, "1", L"Es"}, {2, 6, 0, "2", L"Fr"}, {2, 6, 3, "3", L"Nl"},
        {2, 5, 0, "4", L"De"}, {2, 4, 0, "5", L"20001:abcdefghijabcdefghijabcdef"}, {2, 7, 0, "6", L"Ok"},
        {1, 5, 1, "7", L"22001:abcdefghijabcdefghijabcdef"}, {0, 0, 0, "8", L"Ok"}, {2, 10, 0, "9", L"En"},
        {2, 5, 9, "4294967295", L"En"},
    };
    for (const auto& row : rows) {
        CAPTURE(row.major);
        CAPTURE(row.minor);
        ResetSettingsFolders(PrimaryFolderExists);
        if (row.lang)
            WriteFileBytes(PrimaryIni(), std::string("[SETTINGS]\r\nLang=") + row.lang + "\r\n");
        reported = {0, row.major, row.minor, 0, row.platform, {}};
        const bool supported = row.platform == 2 && ((row.major == 5 && row.minor >= 1) || row.major == 6);
        int exitCode = 1;
        RunDriven([&] { exitCode = RunApplication(GetModuleHandleW(nullptr)); }, {[&](HWND dialog) {
            CHECK(WindowText(GetDlgItem(dialog, IDOK)) == row.ok);
            CHECK((GetDlgItem(dialog, IDC_DATALOGGING) != nullptr) == supported);
            if (!supported) {  // the skinned box: caption, text, one Ok and the hand icon
                CHECK(WindowText(dialog) == L"Cannot Install");
                CHECK(WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT)) ==
                      L"The KRV Engraver Application requires Windows XP or higher.");
                CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
                const Image icon = CaptureWindow(GetDlgItem(dialog, IDC_MESSAGE_ICON));
                CHECK(icon == IconPixels(IDI_HAND, icon.width, icon.height, icon.At(0, 0)));
            }
            ClickControl(dialog, supported ? IDCANCEL : IDOK);
        }});
        CHECK(exitCode == (supported ? 0 : -1));
        CHECK(askedSize == 276);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the program refuses an old system and exits with -1")
{
    ResetSettingsFolders(NoFolders);
    ProgramRun program(L"win2k");
    HWND box = program.WaitForDialog();
    REQUIRE(box != nullptr);
    CHECK(WindowText(box) == L"Cannot Install");
    ClickControl(box, IDOK);
    CHECK(program.WaitForExit() == static_cast<DWORD>(-1));
}

TEST_CASE("a lookup: the text, cut to the capacity, or \"????\" cut to it; a capacity of 0 writes nothing")
{
    ResetSettingsFolders(NoFolders);
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    const struct { UINT id; int capacity; const wchar_t* text; int result; } rows[] = {
        {IDS_CANCEL, 16, L"Cancel", 6}, {IDS_MANUAL_RDM_HELP, 11, L"Select thi", 10}, {20999, 16, L"????", 0},
        {20999, 3, L"??", 0}, {20999, 1, L"", 0}, {IDS_OK, 0, L"", 0},
    };
    for (const auto& row : rows) {
        CAPTURE(row.capacity);
        wchar_t buffer[17];
        wmemset(buffer, L'#', 17);
        CHECK(LoadLocalizedString(row.id, buffer, row.capacity) == row.result);
        CHECK(buffer[row.capacity] == L'#');  // nothing past the capacity
        CHECK((row.capacity ? std::wstring(buffer) : L"") == row.text);
    }
}
