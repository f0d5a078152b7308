#include <doctest/doctest.h>

#include <algorithm>

#include "resource.h"
#include "support/Program.h"
#include "ui/Pixels.h"
#include "ui/SkinnedDialog.h"
#include "ui/framework/SharedBrushes.h"

namespace {
const COLORREF Grey = 0x404040;
const COLORREF Red = 0x0000CF;
const COLORREF Untouched = RGB(1, 254, 3);

RECT ClientRectOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct Place {
    int x, y, w, h;
};

Place PlaceOf(HWND control)
{
    const RECT r = ClientRectOf(control);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool operator==(const Place& a, const Place& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

doctest::String toString(const Place& p)
{
    return (std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(p.w) + "x" +
            std::to_string(p.h)).c_str();
}

// The window's region, or null when it has none.
HRGN WindowRegion(HWND window)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, region) == ERROR) {
        DeleteObject(region);
        return nullptr;
    }
    return region;
}

void Repaint(HWND dialog)
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(50);
}
}

TEST_CASE("the strips of a w x h dialog with a 32-pixel bar: left and right below the bar, bottom across")
{
    struct Row {
        int w, h;
    };
    const Row rows[] = {{300, 160}, {413, 500}, {120, 40}, {689, 545}};
    for (const Row& row : rows) {
        CAPTURE(row.w);
        CAPTURE(row.h);
        SkinnedDialog dialog;
        REQUIRE(dialog.Open(50, 50, row.w, row.h));
        dialog.frame.Layout(dialog.window, dialog.titleBar);
        CHECK(dialog.frame.leftStrip == dialog.Item(IDC_STRIP_LEFT));
        CHECK(dialog.frame.rightStrip == dialog.Item(IDC_STRIP_RIGHT));
        CHECK(dialog.frame.bottomStrip == dialog.Item(IDC_STRIP_BOTTOM));
        CHECK(PlaceOf(dialog.frame.leftStrip) == Place{0, 32, 4, row.h - 36});
        CHECK(PlaceOf(dialog.frame.rightStrip) == Place{row.w - 4, 32, 4, row.h - 36});
        CHECK(PlaceOf(dialog.frame.bottomStrip) == Place{0, row.h - 4, row.w, 4});
    }
}

TEST_CASE("without a title bar the side strips start at the window's top and the right one at its right edge")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(50, 50, 300, 160));
    SkinHeader unbound;
    dialog.frame.Layout(dialog.window, unbound);
    CHECK(PlaceOf(dialog.frame.leftStrip) == Place{0, 0, 4, 156});
    CHECK(PlaceOf(dialog.frame.rightStrip) == Place{296, 0, 4, 156});
    CHECK(PlaceOf(dialog.frame.bottomStrip) == Place{0, 156, 300, 4});
}

TEST_CASE("the strips' colours, column by column: dark grey outside, red inside")
{
    SkinnedDialog dialog;
    const int w = 300;
    const int h = 160;
    REQUIRE(dialog.Open(50, 50, w, h));
    dialog.frame.Layout(dialog.window, dialog.titleBar);
    Repaint(dialog.window);
    const Image screen = CaptureWindow(dialog.window);

    // Every row of the side strips, below the bar and above the bottom strip.
    for (int y = 32; y < h - 4; ++y) {
        CAPTURE(y);
        const COLORREF left[] = {Grey, Grey, Red, Red};
        const COLORREF right[] = {Red, Red, Grey, Grey};
        for (int x = 0; x < 4; ++x) {
            CAPTURE(x);
            CHECK(screen.At(x, y) == left[x]);
            CHECK(screen.At(w - 4 + x, y) == right[x]);
        }
    }
    // The bottom strip: red along its upper edge, dark grey along its lower
    // edge and at both ends.
    for (int x = 0; x < w; ++x) {
        CAPTURE(x);
        const bool end = x < 2 || x >= w - 2;
        CHECK(screen.At(x, h - 4) == (end ? Grey : Red));
        CHECK(screen.At(x, h - 3) == (end ? Grey : Red));
        CHECK(screen.At(x, h - 2) == Grey);
        CHECK(screen.At(x, h - 1) == Grey);
    }
}

TEST_CASE("DrawItem draws strips only for a whole-item request, answers 1 for the strips and 0 for the rest")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(50, 50, 300, 160));
    struct Row {
        UINT id;
        UINT action;
        int result;
        bool drawn;
    };
    const Row rows[] = {
        // control            action                   result  drawn
        {IDC_STRIP_LEFT,      ODA_DRAWENTIRE,          1,      true},
        {IDC_STRIP_RIGHT,     ODA_DRAWENTIRE,          1,      true},
        {IDC_STRIP_BOTTOM,    ODA_DRAWENTIRE,          1,      true},
        {IDC_STRIP_LEFT,      ODA_FOCUS,               1,      false},
        {IDC_STRIP_RIGHT,     ODA_SELECT,              1,      false},
        {IDC_STRIP_BOTTOM,    ODA_SELECT | ODA_FOCUS,  1,      false},
        {IDC_TITLE_BAR,       ODA_DRAWENTIRE,          0,      false},
        {IDOK,                ODA_DRAWENTIRE,          0,      false},
        {1002,                ODA_DRAWENTIRE,          0,      false},
    };
    Canvas canvas(40, 40);
    const RECT rect = {0, 0, 40, 40};
    for (const Row& row : rows) {
        CAPTURE(row.id);
        CAPTURE(row.action);
        canvas.Fill(Untouched);
        ForeignSelection selection(canvas.Dc());
        const SelectedObjects before = CurrentObjects(canvas.Dc());
        const DRAWITEMSTRUCT request = DrawRequest(dialog.Item(IDOK), canvas.Dc(), rect, row.action, 0);
        CHECK(dialog.frame.DrawItem(row.id, &request) == row.result);
        CHECK(CurrentObjects(canvas.Dc()) == before);
        const Image painted = canvas.Pixels();
        const bool changed = std::count(painted.pixels.begin(), painted.pixels.end(), Untouched) != 40 * 40;
        CHECK(changed == row.drawn);
    }
    for (UINT id : {IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_STRIP_RIGHT})
        CHECK(dialog.frame.DrawItem(id, nullptr) == 1);
    CHECK(dialog.frame.DrawItem(IDOK, nullptr) == 0);
}

TEST_CASE("the window's shape: rounded top corners mirroring each other, a full body from row 13")
{
    for (const int w : {300, 413}) {
        CAPTURE(w);
        const int h = 160;
        SkinnedDialog dialog;
        REQUIRE(dialog.Open(50, 50, w, h));
        CHECK(WindowRegion(dialog.window) == nullptr);
        dialog.frame.Layout(dialog.window, dialog.titleBar);
        HRGN shape = WindowRegion(dialog.window);
        REQUIRE(shape != nullptr);

        // The corners are cut, the top edge between them and the body are whole.
        CHECK(!PtInRegion(shape, 0, 0));
        CHECK(!PtInRegion(shape, w - 1, 0));
        CHECK(!PtInRegion(shape, 2, 2));
        CHECK(!PtInRegion(shape, w - 3, 2));
        for (int x = 15; x < w - 15; ++x)
            CHECK(PtInRegion(shape, x, 0));
        for (int y = 13; y < h; y += 7) {
            CHECK(PtInRegion(shape, 0, y));
            CHECK(PtInRegion(shape, w - 1, y));
        }
        CHECK(!PtInRegion(shape, 0, h));
        CHECK(!PtInRegion(shape, w, 20));
        // An elliptic region leaves out its bounding box's last column, so
        // the right ellipse, bounded by w - 29 and w + 1, ends on the last
        // column: each row of the right corner is the mirror image of the
        // same row of the left corner (bounded by w - 30 and w, it would end
        // one pixel short).
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
        CHECK(PtInRegion(shape, w - 1, 12));
        DeleteObject(shape);

        // On screen, the cut corner shows the desktop, not the bar's corner.
        Repaint(dialog.window);
        HDC screen = GetDC(nullptr);
        RECT rect;
        GetWindowRect(dialog.window, &rect);
        const COLORREF corner = Capture(screen, rect.left, rect.top, 1, 1).At(0, 0);
        const COLORREF desktop = Capture(screen, 5, 5, 1, 1).At(0, 0);
        ReleaseDC(nullptr, screen);
        CHECK(corner == desktop);
        CHECK(corner != BitmapPixels(IDB_TITLE_LEFT).At(0, 0));
    }
}

TEST_CASE("a second layout re-places the strips and replaces the shape; no GDI object is left behind")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(50, 50, 300, 160));
    dialog.frame.Layout(dialog.window, dialog.titleBar);
    dialog.frame.Layout(dialog.window, dialog.titleBar);
    CHECK(PlaceOf(dialog.frame.leftStrip) == Place{0, 32, 4, 124});
    CHECK(PlaceOf(dialog.frame.bottomStrip) == Place{0, 156, 300, 4});

    // Resized, as the message box does before its layout.
    SetWindowPos(dialog.window, nullptr, 0, 0, 413, 200, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(dialog.titleBar.window, nullptr, 0, 0, 413, 32, SWP_NOMOVE | SWP_NOZORDER);
    dialog.frame.Layout(dialog.window, dialog.titleBar);
    CHECK(PlaceOf(dialog.frame.rightStrip) == Place{409, 32, 4, 164});
    CHECK(PlaceOf(dialog.frame.bottomStrip) == Place{0, 196, 413, 4});
    HRGN shape = WindowRegion(dialog.window);
    REQUIRE(shape != nullptr);
    RECT box;
    GetRgnBox(shape, &box);
    CHECK(box.right == 413);
    CHECK(box.bottom == 200);
    CHECK(PtInRegion(shape, 299, 0));   // the old right corner is top edge now
    CHECK(!PtInRegion(shape, 412, 0));  // the new one is cut
    DeleteObject(shape);

    // Each layout makes four regions and hands one to the window, which
    // deletes the one it had: after a thousand layouts no object is left.
    const int before = FreeGdiHandleSlots();
    for (int i = 0; i < 1000; ++i)
        dialog.frame.Layout(dialog.window, dialog.titleBar);
    CHECK(FreeGdiHandleSlots() == before);
}

TEST_CASE("SharedBrushes: made once, kept while they exist, deleted once")
{
    REQUIRE(DarkBrush == nullptr);
    REQUIRE(LightBrush == nullptr);
    const int before = FreeGdiHandleSlots();
    {
        SharedBrushes outer;
        REQUIRE(DarkBrush != nullptr);
        REQUIRE(LightBrush != nullptr);
        LOGBRUSH dark = {};
        LOGBRUSH light = {};
        GetObjectW(DarkBrush, sizeof dark, &dark);
        GetObjectW(LightBrush, sizeof light, &light);
        CHECK(dark.lbStyle == BS_SOLID);
        CHECK(dark.lbColor == 0x707072);
        CHECK(light.lbStyle == BS_SOLID);
        CHECK(light.lbColor == 0xE2E2E2);
        CHECK(FreeGdiHandleSlots() == before - 2);
        const HBRUSH darkHandle = DarkBrush;
        const HBRUSH lightHandle = LightBrush;
        {
            SharedBrushes inner;
            CHECK(DarkBrush == darkHandle);
            CHECK(LightBrush == lightHandle);
            CHECK(FreeGdiHandleSlots() == before - 2);
        }
        // The inner scope deleted them; the outer one finds nothing to delete.
        CHECK(DarkBrush == nullptr);
        CHECK(LightBrush == nullptr);
        CHECK(GetObjectType(darkHandle) == 0);
        CHECK(FreeGdiHandleSlots() == before);
    }
    CHECK(FreeGdiHandleSlots() == before);
    CHECK(DarkBrush == nullptr);
}
