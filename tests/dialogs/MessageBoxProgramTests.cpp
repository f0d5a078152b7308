#include <doctest/doctest.h>

#include "dialogs/MessageBoxLayout.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"

TEST_CASE("on an unsupported system the program refuses in the skinned box and exits with -1")
{
    ResetSettingsFolders(NoFolders);
    const MessageBoxLayout plain = TemplateLayout();
    // Two lines of the system font in the template's text width.
    const int textHeight = ExpectedTextHeight(L"The KRV Engraver Application requires Windows XP or higher.");
    const int shrink = Height(plain.textArea) - textHeight;

    for (const wchar_t* version : {L"win2k", L"nt40", L"win98"}) {
        CAPTURE(ToUtf8(version));
        ProgramRun program(version);
        REQUIRE(program.Started());
        HWND box = program.WaitForDialog();
        REQUIRE(box != nullptr);

        CHECK(WindowText(box) == L"Cannot Install");
        CHECK(GetDlgItem(box, IDC_MESSAGE_TEXT) != nullptr);  // the skinned box, not the platform's
        HWND ok = GetDlgItem(box, IDOK);
        CHECK(WindowText(ok) == L"Ok");
        CHECK(IsWindowVisible(ok));
        CHECK_FALSE(IsWindowVisible(GetDlgItem(box, IDCANCEL)));
        HWND icon = GetDlgItem(box, IDC_MESSAGE_ICON);
        CHECK(IsWindowVisible(icon));
        DWORD_PTR shownIcon = 0;
        SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_NORMAL, 5000, &shownIcon);
        CHECK(shownIcon != 0);

        // Sized to its two lines, around the same middle, with the one
        // button moved right by a quarter of the width it leaves.
        const MessageBoxLayout now = ReadLayout(box);
        CHECK(Height(now.textArea) == textHeight);
        CHECK(now.box.top == plain.box.top + shrink / 2);
        CHECK(now.box.bottom == plain.box.bottom - shrink / 2);
        CHECK(now.box.left == plain.box.left);
        CHECK(Width(now.ok) == 109);
        CHECK(Height(now.ok) == 37);
        CHECK(now.ok.left == plain.ok.left + (Width(now.box) - 109) / 4);
        CHECK(now.ok.top == plain.ok.top - shrink);

        // Ok ends it at once: no platform box follows the skinned one.
        ClickControl(box, IDOK);
        CHECK(program.WaitForExit(5000) == static_cast<DWORD>(-1));
    }
}
