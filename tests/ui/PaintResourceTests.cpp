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
    HWND control;
    UINT action, state;
    Painter paint;
    int done = 0;  // paints before the first that left the DC holding other objects
    DWORD time = 0;
};

// Paints each kind `count` times onto a DC of its own holding foreign objects. Runs on two
// threads at once, so it may not use the test framework; the skins' state is only read.
void PaintKinds(std::vector<Kind*>& kinds, int count)
{
    for (Kind* kind : kinds) {
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

DWORD WINAPI PaintThread(void* kinds)
{
    PaintKinds(*static_cast<std::vector<Kind*>*>(kinds), Paints);
    return 0;
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
    // Hot-light gives the hover look as hovering does, without writing the skin's state.
    Kind kinds[] = {
        {"bar normal", bar->window, ODA_DRAWENTIRE, 0, dialog.PaintBar()},
        {"bar pressed", bar->window, ODA_SELECT, ODS_SELECTED, dialog.PaintBar()},
        {"bar hover", bar->window, ODA_DRAWENTIRE, ODS_HOTLIGHT, dialog.PaintBar()},
        {"bar disabled", bar->window, ODA_DRAWENTIRE, ODS_DISABLED, dialog.PaintBar()},
        {"button normal", button->window, ODA_DRAWENTIRE, 0, dialog.PaintButton()},
        {"button pressed", button->window, ODA_SELECT, ODS_SELECTED, dialog.PaintButton()},
        {"button hover", button->window, ODA_DRAWENTIRE, ODS_HOTLIGHT, dialog.PaintButton()},
        {"button disabled", button->window, ODA_DRAWENTIRE, ODS_DISABLED, dialog.PaintButton()},
        {"left strip", dialog.frame.leftStrip, ODA_DRAWENTIRE, 0, dialog.PaintStrip()},
        {"right strip", dialog.frame.rightStrip, ODA_DRAWENTIRE, 0, dialog.PaintStrip()},
        {"bottom strip", dialog.frame.bottomStrip, ODA_DRAWENTIRE, 0, dialog.PaintStrip()},
    };
    // Alternate kinds go to the two threads, so that each gets two looks of each control.
    std::vector<Kind*> first, second;
    for (Kind& kind : kinds)
        ((&kind - kinds) % 2 == 0 ? first : second).push_back(&kind);
    // The first paints may fill the system's own caches (DCs, fonts) and fix the button's image size.
    PaintKinds(first, 50);
    PaintKinds(second, 50);
    const int before = FreeGdiHandleSlots();
    HANDLE thread = CreateThread(nullptr, 0, PaintThread, &second, 0, nullptr);
    REQUIRE(thread != nullptr);
    PaintKinds(first, Paints);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    const int left = before - FreeGdiHandleSlots();
    CHECK(left == 0);
    for (const Kind& kind : kinds) {
        CAPTURE(kind.name);
        CHECK(kind.done == Paints);
        MESSAGE(kind.name, ": ", kind.done, " paints in ", kind.time, " ms");
    }

    // Still able to make objects and to paint every look right.
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    CHECK(brush != nullptr);
    DeleteObject(brush);
    button->caption.clear();
    bar->caption.clear();
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
