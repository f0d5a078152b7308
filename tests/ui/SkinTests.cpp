#include <doctest/doctest.h>


#include <algorithm>
#include <string>

#include "app/Language.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"

namespace {
// A w x h bar: the caps on the first and last 16 columns (rows below 32 only: beyond is open), the
// middle tile repeated across and down from the bar's corner.
Image ExpectedBar(const Image& painted, UINT left, UINT right, UINT middle)
{
    const Image l = BitmapPixels(left), r = BitmapPixels(right), m = BitmapPixels(middle);
    Image bar = painted;
    for (int y = 0; y < bar.height; ++y)
        for (int x = 0; x < bar.width; ++x)
            bar.pixels[y * bar.width + x] = x < 16 ? (y < 32 ? l.At(x, y) : painted.At(x, y))
                                          : x >= bar.width - 16 ? (y < 32 ? r.At(x - bar.width + 16, y) : painted.At(x, y))
                                                                : m.At(x % m.width, y % m.height);
    return bar;
}

POINT Centre(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// WM_MOUSEMOVE to `control` with the cursor at `screen`.
void MouseMove(HWND control, POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    ScreenToClient(control, &screen);
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
}
}

TEST_CASE("state, hovering and action choose the button's face and the bar's slices")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(300));
    SkinHeader& bar = dialog.titleBar;
    // The bar's looks told apart by their middle tiles.
    bar.SetPressedSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_PRESSED, 0);
    bar.SetHoverSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_HOVER, 0);
    bar.SetDisabledSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_DISABLED, 0);
    const UINT Nothing = 0, Sel = ODS_SELECTED, Dis = ODS_DISABLED, Hot = ODS_HOTLIGHT;
    struct Row {
        UINT state, action;
        int hovering;
        UINT face, tile;  // Nothing: not drawn
    } rows[] = {
        {Sel | Dis | Hot, ODA_SELECT, 1, IDB_BUTTON_PRESSED, IDB_BUTTON_PRESSED},
        {Dis | Hot, ODA_FOCUS, 0, IDB_BUTTON_DISABLED, IDB_BUTTON_HOVER},
        {Dis, ODA_DRAWENTIRE, 1, IDB_BUTTON_DISABLED, IDB_BUTTON_HOVER},
        {Dis, ODA_FOCUS, 0, IDB_BUTTON_DISABLED, IDB_BUTTON_DISABLED},
        {Hot, ODA_FOCUS, 0, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER},
        {0, ODA_SELECT, 1, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER},
        {ODS_FOCUS, ODA_DRAWENTIRE, 0, IDB_BUTTON_NORMAL, IDB_TITLE_MIDDLE},
        {ODS_FOCUS, ODA_FOCUS, 0, Nothing, Nothing},
        {0, ODA_SELECT, 0, Nothing, Nothing},
    };
    for (const Row& row : rows) {
        CAPTURE(row.state);
        CAPTURE(row.action);
        dialog.okButton.hovering = bar.hovering = row.hovering;
        const Image face = PaintOnce(dialog.PaintButton(), dialog.okButton.window, 109, 37, row.action, row.state);
        CHECK(face == (row.face ? BitmapPixels(row.face) : Canvas(109, 37).Pixels()));
        const Image slices = PaintOnce(dialog.PaintBar(), bar.window, 300, 32, row.action, row.state);
        CHECK(slices == (row.tile ? ExpectedBar(slices, IDB_TITLE_LEFT, IDB_TITLE_RIGHT, row.tile) : Canvas(300, 32).Pixels()));
    }
}

TEST_CASE("the bar's slices at any size: tiled across and down, cut at the bottom, the widths measured first")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(300));
    SkinHeader& bar = dialog.titleBar;
    for (const SIZE size : {SIZE{32, 32}, SIZE{33, 20}, SIZE{413, 50}, SIZE{100, 70}}) {
        CAPTURE(size.cx);
        CAPTURE(size.cy);
        const Image painted = PaintOnce(dialog.PaintBar(), bar.window, size.cx, size.cy, ODA_DRAWENTIRE, 0);
        CHECK(painted == ExpectedBar(painted, IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE));
    }
    // Later looks keep the first widths; a slice that cannot be loaded leaves what was on screen.
    bar.SetPressedSlices(IDB_BUTTON_NORMAL, 4242, IDB_TITLE_MIDDLE, 0);
    CHECK(bar.leftCapWidth == 16);
    const Image painted = PaintOnce(dialog.PaintBar(), bar.window, 200, 32, ODA_SELECT, ODS_SELECTED);
    CHECK(painted.Crop(0, 0, 16, 32) == BitmapPixels(IDB_BUTTON_NORMAL).Crop(0, 0, 16, 32));
    CHECK(painted.Crop(16, 0, 1, 32) == BitmapPixels(IDB_TITLE_MIDDLE));
    CHECK(painted.Crop(184, 0, 16, 32) == Canvas(16, 32).Pixels());
}

TEST_CASE("the caption: centred, white or grey, pressed 2 pixels right and down; the face size fixed at the first draw")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(300));
    SkinButton& button = dialog.okButton;
    button.SetCaption(IDS_CANCEL, L"");
    button.pressedFace = IDB_BUTTON_NORMAL;  // only the caption can move
    const Image face = BitmapPixels(IDB_BUTTON_NORMAL);
    const Image idle = PaintOnce(dialog.PaintButton(), button.window, 109, 37, ODA_DRAWENTIRE, 0);
    const Image down = PaintOnce(dialog.PaintButton(), button.window, 109, 37, ODA_SELECT, ODS_SELECTED);
    // The caption's pixels: where the image differs from the face.
    std::string idleMarks, downMarks;
    int box[4] = {109, 37, -1, -1}, white = 0;
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 109; ++x) {
            if (down.At(x, y) != face.At(x, y))
                downMarks += std::to_string(x) + "," + std::to_string(y) + " ";
            if (idle.At(x, y) == face.At(x, y))
                continue;
            idleMarks += std::to_string(x + 2) + "," + std::to_string(y + 2) + " ";
            box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
            box[2] = std::max(box[2], x), box[3] = std::max(box[3], y);
            white += idle.At(x, y) == 0xFFFFFF;
        }
    CHECK(std::abs(box[0] + box[2] + 1 - 109) <= 2);
    CHECK(std::abs(box[1] + box[3] + 1 - 37) <= 3);
    CHECK(white > 20);
    CHECK(downMarks == idleMarks);
    EnableWindow(button.window, FALSE);
    button.disabledFace = IDB_BUTTON_NORMAL;
    const Image grey = PaintOnce(dialog.PaintButton(), button.window, 109, 37, ODA_DRAWENTIRE, 0);
    CHECK(std::count(grey.pixels.begin(), grey.pixels.end(), 0x7F7F7F) -
          std::count(face.pixels.begin(), face.pixels.end(), 0x7F7F7F) > 20);
    EnableWindow(button.window, TRUE);
    // A smaller item later shows the corner of the image made at the first size.
    CHECK(PaintOnce(dialog.PaintButton(), button.window, 60, 20, ODA_DRAWENTIRE, 0) == idle.Crop(0, 0, 60, 20));
}

TEST_CASE("hovering: capture and hover look on entering, released on leaving; focus only from \"BUTTON\"; edges inside")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(300));
    SkinButton& button = dialog.okButton;
    MouseMove(button.window, Centre(button.window));
    CHECK(GetCapture() == button.window);
    CHECK(button.hovering == 1);
    UpdateWindow(button.window);
    CHECK(CaptureWindow(button.window) == BitmapPixels(IDB_BUTTON_HOVER));
    RECT r;
    GetWindowRect(button.window, &r);
    const std::pair<POINT, bool> edges[] = {{{r.left, r.top}, true},      {{r.right, r.bottom}, true},
                                            {{r.left - 1, r.top}, false}, {{r.right, r.bottom + 1}, false}};
    for (const auto& [point, inside] : edges) {
        CAPTURE(point.x);
        MouseMove(button.window, Centre(button.window));
        MouseMove(button.window, point);
        CHECK((GetCapture() == button.window) == inside);
        CHECK(button.hovering == inside);
    }
    UpdateWindow(button.window);
    CHECK(CaptureWindow(button.window) == BitmapPixels(IDB_BUTTON_NORMAL));
    // The focus moves only from a window of class "BUTTON" exactly (this module's own class).
    WNDCLASSW upper = {0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"BUTTON"};
    REQUIRE(RegisterClassW(&upper) != 0);
    HWND capitals = CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 40, 9, 9, dialog.window, nullptr, upper.hInstance, nullptr);
    HWND cancel = GetDlgItem(dialog.window, IDCANCEL);  // class "Button"
    for (const auto& [from, to] : {std::pair{capitals, button.window}, {cancel, cancel}}) {
        ReleaseCapture();
        SetFocus(from);
        MouseMove(button.window, Centre(button.window));
        CHECK(GetFocus() == to);
    }
    ReleaseCapture();
    DestroyWindow(capitals);
    UnregisterClassW(L"BUTTON", upper.hInstance);
    // A double-click comes back as a second press.
    CHECK(SendMessageW(button.window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 6)) == 0);
    MSG posted = {};
    CHECK(PeekMessageW(&posted, button.window, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE));
    CHECK((posted.message == WM_LBUTTONDOWN && posted.wParam == MK_LBUTTON && posted.lParam == MAKELPARAM(5, 6)));
    ReleaseCapture();
}
