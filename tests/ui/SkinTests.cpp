#include <windows.h>

#include <doctest/doctest.h>

#include <vector>

#include "ui/TestKit.h"

namespace {
// How many more GDI objects this process could make now (Wine's GetGuiResources is a stub).
int FreeGdiHandleSlots()
{
    std::vector<HRGN> regions;
    while (HRGN region = CreateRectRgn(0, 0, 1, 1))
        regions.push_back(region);
    for (HRGN region : regions)
        DeleteObject(region);
    return static_cast<int>(regions.size());
}

// The cursor moved onto and off Ok and the bar, each pressed, and the strips and the panel painted.
void UseSkin(HWND dialog)
{
    HWND ok = GetDlgItem(dialog, IDOK);
    const Image slices = TitleBarPixels(Place(dialog, IDC_TITLE_BAR).right);  // the bar in every look
    // The caption in white, stock system font, centred on the face or between the caps; pressed, 2 px lower right.
    const auto shows = [&](HWND control, UINT face, UINT state) {
        const int d = state == ODS_SELECTED ? 2 : 0;
        const Image look = control == ok ? WithCaption(BitmapPixels(face), L"Ok", {d, d, 109 + d, 37 + d}, 0xFFFFFF)
                                         : WithCaption(slices, L"Box Caption",
                                                       {16 + d, d, slices.width - 16 + d, slices.height + d}, 0xFFFFFF);
        const UINT action = state ? ODA_SELECT : ODA_DRAWENTIRE;
        return PaintOnce(dialog, GetDlgCtrlID(control), look.width, look.height, action, state) == look;
    };
    SetFocus(ok);
    for (HWND control : {ok, GetDlgItem(dialog, IDC_TITLE_BAR)}) {
        RECT r;
        GetWindowRect(control, &r);
        // In at the centre, along the edges, which count as inside, and out: each change of look repaints at once.
        const struct {
            POINT at;
            bool inside, repaints;
        } moves[] = {{{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, true, true},
                     {{r.left, r.top}, true, false},
                     {{r.right, r.bottom}, true, false},
                     {{r.right + 1, r.bottom}, false, true}};
        for (const auto& move : moves) {
            CAPTURE(move.at.x);
            ValidateRect(control, nullptr);
            POINT at = move.at;
            SetCursorPos(at.x, at.y);
            ScreenToClient(control, &at);
            SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
            CHECK(GetUpdateRect(control, nullptr, FALSE) == move.repaints);
            CHECK(shows(control, move.inside ? IDB_BUTTON_HOVER : IDB_BUTTON_NORMAL, 0));
        }
        CHECK(shows(control, IDB_BUTTON_PRESSED, ODS_SELECTED));
    }
    CHECK(GetFocus() == ok);  // not taken by the bar from a "Button"
    // The box draws its strips, read back in the settings dialog's tests, and nothing on its panel.
    PaintOnce(dialog, IDC_STRIP_LEFT, 8, 8, ODA_DRAWENTIRE, 0);
    CHECK(PaintOnce(dialog, IDC_MESSAGE_PANEL, 40, 20, ODA_DRAWENTIRE, 0) == Canvas(40, 20).Pixels());
}

// Twice, as the first run may fill the system's own caches: the second must leave no GDI object.
void UseSkinTwice(HWND dialog)
{
    UseSkin(dialog);
    const int free = FreeGdiHandleSlots();
    UseSkin(dialog);
    CHECK(FreeGdiHandleSlots() == free);
    ClickControl(dialog, IDOK);
}
}

// The skinned buttons are the message box's; the settings dialog's bar is read back at every scale in its own tests.
TEST_CASE(
    "Ok and the bar by cursor and press: looks, capture, repaints, focus kept; the strips and not the panel drawn")
{
    SetCursorPos(0, 0);  // away from the box as it opens
    ShowBox(L"Box text", {UseSkinTwice});
}
