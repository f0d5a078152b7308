#include <doctest/doctest.h>

#include "dialogs/SettingsDriver.h"
#include "resource.h"

namespace {
// The pixel now on screen at (x, y) of `window`'s rectangle.
COLORREF PixelOf(HWND window, int x, int y)
{
    RECT rect;
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, rect.left + x, rect.top + y);
    ReleaseDC(nullptr, screen);
    return color;
}

SIZE SizeOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

const COLORREF Light = 0xE2E2E2;
const COLORREF DarkGrey = 0x404040;
const COLORREF Red = 0x0000CF;
}

TEST_CASE("the dialog paints light grey behind every text, with its strips, title bar and rounded top")
{
    ResetSettingsFolders(NoFolders);
    SettingsRun run;
    HWND dialog = run.Dialog();
    PumpMessages(1000);  // let it paint
    const SIZE size = SizeOf(dialog);
    CAPTURE(size.cx);
    CAPTURE(size.cy);

    SUBCASE("background, check boxes and help texts")
    {
        CHECK(PixelOf(dialog, 6, size.cy / 2) == Light);
        // Right of a short check-box label, and below the last line of a help text.
        HWND retail = GetDlgItem(dialog, IDC_RETAIL_MODE);
        CHECK(PixelOf(retail, SizeOf(retail).cx - 3, SizeOf(retail).cy / 2) == Light);
        HWND help = GetDlgItem(dialog, IDC_POLL_FOR_FILES_HELP);
        CHECK(PixelOf(help, SizeOf(help).cx - 2, SizeOf(help).cy - 2) == Light);
        // A disabled box too.
        HWND restriction = GetDlgItem(dialog, IDC_HIDE_SYSTEM_TAB);
        REQUIRE_FALSE(IsWindowEnabled(restriction));
        CHECK(PixelOf(restriction, SizeOf(restriction).cx - 3, SizeOf(restriction).cy / 2) == Light);
    }
    SUBCASE("the strips: dark grey outside, red inside")
    {
        const int middleY = size.cy / 2;
        const int middleX = size.cx / 2;
        CHECK(PixelOf(dialog, 0, middleY) == DarkGrey);
        CHECK(PixelOf(dialog, 3, middleY) == Red);
        CHECK(PixelOf(dialog, size.cx - 1, middleY) == DarkGrey);
        CHECK(PixelOf(dialog, size.cx - 4, middleY) == Red);
        CHECK(PixelOf(dialog, middleX, size.cy - 1) == DarkGrey);
        CHECK(PixelOf(dialog, middleX, size.cy - 4) == Red);
    }
    SUBCASE("the title bar across the top is drawn from its red slices")
    {
        const COLORREF bar = PixelOf(dialog, size.cx / 4, 10);
        CAPTURE(bar);
        CHECK(GetRValue(bar) > GetGValue(bar) + 60);
    }
    SUBCASE("the top corners are cut round")
    {
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        REQUIRE(GetWindowRgn(dialog, shape) != ERROR);
        CHECK_FALSE(PtInRegion(shape, 0, 0));
        CHECK_FALSE(PtInRegion(shape, size.cx - 1, 0));
        CHECK(PtInRegion(shape, 15, 0));
        CHECK(PtInRegion(shape, 0, 15));
        CHECK(PtInRegion(shape, size.cx - 1, size.cy - 1));
        DeleteObject(shape);
    }
    CHECK(run.PressCancel() == 0);
}
