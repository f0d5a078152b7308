#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"

namespace {
const int Paints = 20000;

struct Kind {
    std::string name;
    SkinControl* skin;  // whose hovering the kind sets
    HWND control;
    UINT action, state;
    int hovering;
    Painter paint;
    int done = 0;  // paints before the first that left the DC holding other objects
    DWORD time = 0;
};

// Paints each kind `count` times onto a DC of its own holding foreign objects.
void PaintKinds(std::vector<Kind*>& kinds, int count)
{
    for (Kind* kind : kinds) {
        kind->skin->hovering = kind->hovering;
        RECT rect;
        GetClientRect(kind->control, &rect);
        Canvas canvas(rect.right, rect.bottom);
        ForeignSelection selection(canvas.Dc());
        const Objects held = CurrentObjects(canvas.Dc());
        const DRAWITEMSTRUCT request = DrawRequest(kind->control, canvas.Dc(), rect, kind->action, kind->state);
        const DWORD start = GetTickCount();
        for (kind->done = 0; kind->done < count; ++kind->done) {
            kind->paint(request);
            if (CurrentObjects(canvas.Dc()) != held)
                break;
        }
        kind->time = GetTickCount() - start;
    }
}
}

// Every paint must release what it makes. Wine's GetGuiResources is a stub, so the measure is the
// GDI handle table itself (FreeGdiHandleSlots); running out is no measure, as Wine 8's table holds
// about 65,000 handles per process and a paint leaking one object would still succeed 20,000 times.
TEST_CASE("20,000 paints of every look and strip leave no GDI object behind and the DC as it was")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(50, 50, 413, 300));
    dialog.frame.Layout(dialog.window, dialog.titleBar);
    dialog.titleBar.caption = L"KRV Advanced Engraver Settings 1.7";
    dialog.okButton.caption = L"Ok";
    SkinButton* button = &dialog.okButton;
    SkinHeader* bar = &dialog.titleBar;
    Kind kinds[] = {
        {"button normal", button, button->window, ODA_DRAWENTIRE, 0, 0, dialog.PaintButton()},
        {"button pressed", button, button->window, ODA_SELECT, ODS_SELECTED, 0, dialog.PaintButton()},
        {"button hover", button, button->window, ODA_DRAWENTIRE, 0, 1, dialog.PaintButton()},
        {"button disabled", button, button->window, ODA_DRAWENTIRE, ODS_DISABLED, 0, dialog.PaintButton()},
        {"left strip", button, dialog.frame.leftStrip, ODA_DRAWENTIRE, 0, 0, dialog.PaintStrip()},
        {"right strip", button, dialog.frame.rightStrip, ODA_DRAWENTIRE, 0, 0, dialog.PaintStrip()},
        {"bar normal", bar, bar->window, ODA_DRAWENTIRE, 0, 0, dialog.PaintBar()},
        {"bar pressed", bar, bar->window, ODA_SELECT, ODS_SELECTED, 0, dialog.PaintBar()},
        {"bar hover", bar, bar->window, ODA_DRAWENTIRE, 0, 1, dialog.PaintBar()},
        {"bar disabled", bar, bar->window, ODA_DRAWENTIRE, ODS_DISABLED, 0, dialog.PaintBar()},
        {"bottom strip", bar, dialog.frame.bottomStrip, ODA_DRAWENTIRE, 0, 0, dialog.PaintStrip()},
    };
    std::vector<Kind*> all;
    for (Kind& kind : kinds)
        all.push_back(&kind);
    // The first paints may fill the system's own caches (DCs, fonts).
    PaintKinds(all, 50);
    const int before = FreeGdiHandleSlots();
    PaintKinds(all, Paints);
    const int left = before - FreeGdiHandleSlots();
    CHECK(left == 0);
    for (const Kind& kind : kinds) {
        CAPTURE(kind.name);
        CHECK(kind.done == Paints);
        MESSAGE(kind.name, ": ", kind.done, " paints in ", kind.time, " ms");
    }
    MESSAGE(left, " GDI objects left");

    // Still able to make objects and to paint every look right.
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    CHECK(brush != nullptr);
    DeleteObject(brush);
    button->caption.clear();
    bar->caption.clear();
    button->hovering = bar->hovering = 0;
    const std::pair<UINT, UINT> looks[] = {{0, IDB_BUTTON_NORMAL}, {ODS_SELECTED, IDB_BUTTON_PRESSED},
                                           {ODS_HOTLIGHT, IDB_BUTTON_HOVER}, {ODS_DISABLED, IDB_BUTTON_DISABLED}};
    for (const auto& look : looks)
        CHECK(PaintOnce(dialog.PaintButton(), button->window, 109, 37, ODA_DRAWENTIRE, look.first) ==
              BitmapPixels(look.second));
    CHECK(PaintOnce(dialog.PaintBar(), bar->window, 64, 32, ODA_DRAWENTIRE, 0) ==
          ExpectedBar(64, IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE));
    const Image strip = PaintOnce(dialog.PaintStrip(), dialog.frame.leftStrip, 4, 100, ODA_DRAWENTIRE, 0);
    CHECK(strip.At(0, 50) == 0x404040);
    CHECK(strip.At(3, 50) == 0x0000CF);
}
