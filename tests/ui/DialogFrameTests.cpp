#include <doctest/doctest.h>

#include <string>

#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
const COLORREF Grey = 0x404040;
const COLORREF Red = 0x0000CF;

std::string Place(int x, int y, int w, int h)
{
    return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x" + std::to_string(h);
}

// Where the control is in its parent's client area.
std::string PlaceOf(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return Place(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

HRGN WindowRegion(HWND window)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, region) == ERROR) {
        DeleteObject(region);
        return nullptr;
    }
    return region;
}
}

TEST_CASE("the strips of a w x h dialog with a 32-pixel bar; a second layout re-places them and replaces the shape")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(50, 50, 300, 160));
    DialogFrame& frame = dialog.frame;
    for (const SIZE size : {SIZE{300, 160}, SIZE{413, 500}}) {
        const int w = size.cx, h = size.cy;
        CAPTURE(w);
        // Resized first, as the message box does before its layout.
        SetWindowPos(dialog.window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        SetWindowPos(dialog.titleBar.window, nullptr, 0, 0, w, 32, SWP_NOMOVE | SWP_NOZORDER);
        frame.Layout(dialog.window, dialog.titleBar);
        CHECK(PlaceOf(frame.leftStrip) == Place(0, 32, 4, h - 36));
        CHECK(PlaceOf(frame.rightStrip) == Place(w - 4, 32, 4, h - 36));
        CHECK(PlaceOf(frame.bottomStrip) == Place(0, h - 4, w, 4));
        HRGN shape = WindowRegion(dialog.window);
        REQUIRE(shape != nullptr);
        RECT box;
        GetRgnBox(shape, &box);
        CHECK(box.right == w);
        CHECK(box.bottom == h);
        CHECK(!PtInRegion(shape, w - 1, 0));
        CHECK(PtInRegion(shape, 299, 0) == (w > 300));  // the old right corner is top edge now
        DeleteObject(shape);
    }
    // Each layout makes four regions and hands one to the window, which deletes the one it had.
    const int before = FreeGdiHandleSlots();
    for (int i = 0; i < 1000; ++i)
        frame.Layout(dialog.window, dialog.titleBar);
    CHECK(FreeGdiHandleSlots() == before);
}

TEST_CASE("the strips' colours, column by column: dark grey outside, red inside")
{
    const int w = 300, h = 160;
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(50, 50, w, h));
    dialog.frame.Layout(dialog.window, dialog.titleBar);
    RedrawWindow(dialog.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(50);
    const Image screen = CaptureWindow(dialog.window);
    const COLORREF left[] = {Grey, Grey, Red, Red};
    for (int y = 32; y < h - 4; ++y)
        for (int x = 0; x < 4; ++x) {
            CAPTURE(y);
            CAPTURE(x);
            CHECK(screen.At(x, y) == left[x]);
            CHECK(screen.At(w - 1 - x, y) == left[x]);
        }
    // The bottom strip: red along its upper edge, dark grey along its lower edge and at both ends.
    for (int x = 0; x < w; ++x) {
        CAPTURE(x);
        const COLORREF upper = x < 2 || x >= w - 2 ? Grey : Red;
        CHECK(screen.At(x, h - 4) == upper);
        CHECK(screen.At(x, h - 3) == upper);
        CHECK(screen.At(x, h - 2) == Grey);
        CHECK(screen.At(x, h - 1) == Grey);
    }
}

TEST_CASE("the window's shape: rounded top corners mirroring each other, the right one ending on the last column")
{
    for (const int w : {300, 413}) {
        CAPTURE(w);
        const int h = 160;
        SkinnedDialog dialog;
        REQUIRE(dialog.Open(50, 50, w, h));
        dialog.frame.Layout(dialog.window, dialog.titleBar);
        HRGN shape = WindowRegion(dialog.window);
        REQUIRE(shape != nullptr);
        CHECK(!PtInRegion(shape, 0, 0));
        CHECK(!PtInRegion(shape, 2, 2));
        for (int x = 15; x < w - 15; ++x)
            CHECK(PtInRegion(shape, x, 0));
        for (int y = 13; y < h; ++y)
            CHECK((PtInRegion(shape, 0, y) && PtInRegion(shape, w - 1, y) && !PtInRegion(shape, w, y)));
        // An elliptic region leaves out its box's last column: bounded by w - 29 and w + 1, the right
        // corner mirrors the left one row by row (bounded by w - 30 and w, it ends one pixel short).
        for (int y = 0; y < 13; ++y) {
            CAPTURE(y);
            int left = 0;
            while (!PtInRegion(shape, left, y))
                ++left;
            int right = w + 1;
            while (!PtInRegion(shape, right, y))
                --right;
            CHECK(right == w - 1 - left);
        }
        DeleteObject(shape);
    }
}

TEST_CASE("SharedBrushes: made once, kept while one exists, deleted once")
{
    REQUIRE(DarkBrush == nullptr);
    const int before = FreeGdiHandleSlots();
    {
        SharedBrushes outer;
        CHECK(GetObjectType(DarkBrush) == OBJ_BRUSH);
        CHECK(GetObjectType(LightBrush) == OBJ_BRUSH);
        CHECK(FreeGdiHandleSlots() == before - 2);
        const HBRUSH darkHandle = DarkBrush;
        {
            SharedBrushes inner;
            CHECK(DarkBrush == darkHandle);
            CHECK(FreeGdiHandleSlots() == before - 2);
        }
        // The inner scope deleted them; the outer one finds nothing to delete.
        CHECK(DarkBrush == nullptr);
        CHECK(LightBrush == nullptr);
        CHECK(FreeGdiHandleSlots() == before);
    }
    CHECK(FreeGdiHandleSlots() == before);
}
