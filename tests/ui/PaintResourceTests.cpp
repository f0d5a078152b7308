#include <doctest/doctest.h>

#include "resource.h"
#include "ui/TestKit.h"

// Every paint must release what it makes and hand the DC back as it came. The free handle slots
// see one object left behind, so a few hundred paints of each look are plenty.
TEST_CASE("300 paints of every look and strip leave no GDI object behind and the DC as it was")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(413));
    dialog.titleBar.caption = L"KRV Advanced Engraver Settings 1.7";
    dialog.okButton.caption = L"Ok";
    const Painter strip = [&](const DRAWITEMSTRUCT& r) { dialog.frame.DrawItem(r.CtlID, &r); };
    const struct {
        SkinControl* skin;
        HWND control;
        Painter paint;
    } parts[] = {{&dialog.okButton, dialog.okButton.window, dialog.PaintButton()},
                 {&dialog.titleBar, dialog.titleBar.window, dialog.PaintBar()},
                 {&dialog.okButton, dialog.frame.leftStrip, strip},
                 {&dialog.okButton, dialog.frame.bottomStrip, strip}};
    const struct { UINT action, state; int hovering; } looks[] = {
        {ODA_DRAWENTIRE, 0, 0}, {ODA_SELECT, ODS_SELECTED, 0}, {ODA_DRAWENTIRE, 0, 1}, {ODA_DRAWENTIRE, ODS_DISABLED, 0}};
    int before = 0;
    for (const int paints : {5, 300}) {  // the first paints may fill the system's own caches
        before = paints == 300 ? FreeGdiHandleSlots() : 0;
        for (const auto& part : parts)
            for (const auto& look : looks) {
                part.skin->hovering = look.hovering;
                RECT rect;
                GetClientRect(part.control, &rect);
                Canvas canvas(rect.right, rect.bottom);
                const Objects held = CurrentObjects(canvas.Dc());
                const DRAWITEMSTRUCT request = DrawRequest(part.control, canvas.Dc(), rect, look.action, look.state);
                for (int i = 0; i < paints; ++i)
                    part.paint(request);
                CHECK(CurrentObjects(canvas.Dc()) == held);
            }
    }
    CHECK(FreeGdiHandleSlots() == before);
}
