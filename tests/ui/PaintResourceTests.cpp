#include <doctest/doctest.h>

#include <functional>
#include <string>

#include "resource.h"
#include "support/Program.h"
#include "ui/Pixels.h"
#include "ui/SkinnedDialog.h"

// Every paint must release what it makes. Wine's GetGuiResources is a stub,
// so the measure here is the GDI handle table itself: FreeGdiHandleSlots
// fills it with regions and counts them, and two readings differ by exactly
// the number of objects made and not deleted in between. (Running out is no
// measure: Wine 8's table holds about 65,000 handles per process, so a paint
// leaking one object every time would still succeed 20,000 times.)
//
// Each look and strip is painted 20,000 times onto an off-screen DC and 1,000
// times onto the control's own DC; after each paint the DC must hold the pen, brush, font and bitmap it
// held before, and afterwards every look must still paint correctly.

namespace {
const int Paints = 20000;

struct Kind {
    std::string name;
    HWND control;
    UINT action;
    UINT state;
    int hovering;
    std::function<void(const DRAWITEMSTRUCT&)> paint;
};

// Paints `kind` `count` times onto `dc`; false at the first paint that
// leaves the DC with other objects than it came with.
bool PaintMany(const Kind& kind, HDC dc, int count)
{
    RECT rect;
    GetClientRect(kind.control, &rect);
    ForeignSelection selection(dc);
    const SelectedObjects before = CurrentObjects(dc);
    const DRAWITEMSTRUCT request = DrawRequest(kind.control, dc, rect, kind.action, kind.state);
    for (int i = 0; i < count; ++i) {
        kind.paint(request);
        if (!(CurrentObjects(dc) == before))
            return false;
    }
    return true;
}
}

TEST_CASE("20,000 paints of every look and strip leave no GDI object behind and the DC as it was")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(50, 50, 413, 300));
    dialog.frame.Layout(dialog.window, dialog.titleBar);
    dialog.titleBar.caption = L"KRV Advanced Engraver Settings 1.7";
    dialog.okButton.caption = L"Ok";
    PumpMessages(100);
    SkinButton& button = dialog.okButton;
    SkinHeader& bar = dialog.titleBar;
    const auto paintButton = [&](const DRAWITEMSTRUCT& r) { button.DrawItem(&r); };
    const auto paintBar = [&](const DRAWITEMSTRUCT& r) { bar.DrawItem(&r); };
    const auto paintStrip = [&](const DRAWITEMSTRUCT& r) { dialog.frame.DrawItem(r.CtlID, &r); };
    const Kind kinds[] = {
        {"button normal",    button.window, ODA_DRAWENTIRE, 0,            0, paintButton},
        {"button pressed",   button.window, ODA_SELECT,     ODS_SELECTED, 0, paintButton},
        {"button hover",     button.window, ODA_DRAWENTIRE, 0,            1, paintButton},
        {"button disabled",  button.window, ODA_DRAWENTIRE, ODS_DISABLED, 0, paintButton},
        {"bar normal",       bar.window,    ODA_DRAWENTIRE, 0,            0, paintBar},
        {"bar pressed",      bar.window,    ODA_SELECT,     ODS_SELECTED, 0, paintBar},
        {"bar hover",        bar.window,    ODA_DRAWENTIRE, 0,            1, paintBar},
        {"bar disabled",     bar.window,    ODA_DRAWENTIRE, ODS_DISABLED, 0, paintBar},
        {"left strip",       dialog.frame.leftStrip,   ODA_DRAWENTIRE, 0, 0, paintStrip},
        {"right strip",      dialog.frame.rightStrip,  ODA_DRAWENTIRE, 0, 0, paintStrip},
        {"bottom strip",     dialog.frame.bottomStrip, ODA_DRAWENTIRE, 0, 0, paintStrip},
    };
    for (const Kind& kind : kinds) {
        CAPTURE(kind.name);
        button.hovering = bar.hovering = kind.hovering;
        RECT rect;
        GetClientRect(kind.control, &rect);
        Canvas offScreen(rect.right, rect.bottom);
        HDC windowDc = GetDC(kind.control);
        // The first paints may fill caches of the system's own (DCs, fonts).
        REQUIRE(PaintMany(kind, offScreen.Dc(), 50));
        REQUIRE(PaintMany(kind, windowDc, 50));
        const int before = FreeGdiHandleSlots();
        const DWORD start = GetTickCount();
        CHECK(PaintMany(kind, offScreen.Dc(), Paints));
        const DWORD offScreenTime = GetTickCount() - start;
        // On the control's own DC each transfer goes to the display, which
        // is slow under Wine: fewer paints there.
        CHECK(PaintMany(kind, windowDc, Paints / 20));
        const int leaked = before - FreeGdiHandleSlots();
        CHECK(leaked == 0);
        ReleaseDC(kind.control, windowDc);
        MESSAGE(kind.name, ": ", Paints, " paints in ", offScreenTime, " ms, ", leaked, " objects left");
    }
    button.hovering = bar.hovering = 0;

    // Still able to make objects and to paint every look right.
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    CHECK(brush != nullptr);
    DeleteObject(brush);
    button.caption.clear();
    struct Look {
        UINT state;
        UINT face;
    };
    const Look looks[] = {{0, IDB_BUTTON_NORMAL}, {ODS_SELECTED, IDB_BUTTON_PRESSED},
                          {ODS_HOTLIGHT, IDB_BUTTON_HOVER}, {ODS_DISABLED, IDB_BUTTON_DISABLED}};
    Canvas face(109, 37);
    for (const Look& look : looks) {
        CAPTURE(look.face);
        const RECT rect = {0, 0, 109, 37};
        const DRAWITEMSTRUCT request = DrawRequest(button.window, face.Dc(), rect, ODA_DRAWENTIRE, look.state);
        button.DrawItem(&request);
        CHECK(face.Pixels() == BitmapPixels(look.face));
    }
    bar.caption.clear();
    Canvas strip(4, 100);
    Canvas title(64, 32);
    const RECT barRect = {0, 0, 64, 32};
    const DRAWITEMSTRUCT barRequest = DrawRequest(bar.window, title.Dc(), barRect, ODA_DRAWENTIRE, 0);
    bar.DrawItem(&barRequest);
    const Image painted = title.Pixels();
    CHECK(painted.Crop(0, 0, 16, 32) == BitmapPixels(IDB_TITLE_LEFT));
    CHECK(painted.Crop(48, 0, 16, 32) == BitmapPixels(IDB_TITLE_RIGHT));
    const RECT stripRect = {0, 0, 4, 100};
    const DRAWITEMSTRUCT stripRequest = DrawRequest(dialog.frame.leftStrip, strip.Dc(), stripRect, ODA_DRAWENTIRE, 0);
    dialog.frame.DrawItem(IDC_STRIP_LEFT, &stripRequest);
    const Image lines = strip.Pixels();
    CHECK(lines.At(0, 50) == 0x404040);
    CHECK(lines.At(3, 50) == 0x0000CF);
}
