#include <doctest/doctest.h>

#include "resource.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

// The free handle slots see one object left behind, so a few hundred paints of each look are plenty.
TEST_CASE("300 paints of every look leave no GDI object behind and the DC as it was; shared brushes made once")
{
    LiveBox box;
    const UINT looks[][2] = {{ODA_DRAWENTIRE, 0}, {ODA_SELECT, ODS_SELECTED}, {ODA_DRAWENTIRE, ODS_DISABLED}};
    int before = 0;
    for (const int paints : {5, 300}) {  // the first paints may fill the system's own caches
        before = FreeGdiHandleSlots();
        for (const int id : {IDOK, IDC_TITLE_BAR, IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_MESSAGE_TEXT})
            for (const auto& look : looks) {
                HWND control = GetDlgItem(box.window, id);
                RECT rect;
                GetClientRect(control, &rect);
                Canvas canvas(rect.right, rect.bottom);
                const HGDIOBJ pen = GetCurrentObject(canvas.dc, OBJ_PEN), font = GetCurrentObject(canvas.dc, OBJ_FONT);
                const DRAWITEMSTRUCT request = DrawRequest(control, canvas.dc, rect, look[0], look[1]);
                for (int i = 0; i < paints; ++i)
                    box.OnDrawItem(id, &request);
                CHECK((GetCurrentObject(canvas.dc, OBJ_PEN) == pen && GetCurrentObject(canvas.dc, OBJ_FONT) == font));
            }
    }
    CHECK(FreeGdiHandleSlots() == before);
    {
        SharedBrushes outer;
        const HBRUSH dark = DarkBrush;
        SharedBrushes inner;
        CHECK((DarkBrush == dark && GetObjectType(LightBrush) == OBJ_BRUSH && FreeGdiHandleSlots() == before - 2));
    }
    CHECK((DarkBrush == nullptr && LightBrush == nullptr && FreeGdiHandleSlots() == before));
}
