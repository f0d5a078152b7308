#include <doctest/doctest.h>

#include <algorithm>

#include "resource.h"
#include "ui/TestKit.h"

namespace {
// A w x h bar: the caps on the first and last 16 columns of the top 32 rows, what was there below
// them, the middle tile repeated across and down from the bar's corner.
Image ExpectedBar(int w, int h, UINT middle, UINT right = IDB_TITLE_RIGHT)
{
    const Image l = BitmapPixels(IDB_TITLE_LEFT), r = BitmapPixels(right), m = BitmapPixels(middle);
    Image bar{w, h, std::vector<COLORREF>(w * h, Untouched)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x >= 16 && x < w - 16)
                bar.pixels[y * w + x] = m.At(x % m.width, y % m.height);
            else if (y < 32 && (x < 16 || r.width))
                bar.pixels[y * w + x] = x < 16 ? l.At(x, y) : r.At(x - w + 16, y);
    return bar;
}

void MouseMove(HWND control, POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    ScreenToClient(control, &screen);
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
}
}

TEST_CASE("the looks of button and bar by state, hovering and action; the bar at any size")
{
    LiveBox box;
    SkinHeader& bar = box.titleBar;
    SkinButton& button = box.okButton;
    bar.caption.clear();
    button.caption.clear();
    // The bar's looks told apart by their middle tiles; a right cap that cannot load leaves the screen.
    bar.SetHoverSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_HOVER, 0);
    bar.SetDisabledSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_DISABLED, 0);
    bar.SetPressedSlices(IDB_BUTTON_NORMAL, 4242, IDB_BUTTON_PRESSED, 0);
    const UINT Sel = ODS_SELECTED, Dis = ODS_DISABLED, Hot = ODS_HOTLIGHT, All = ODA_DRAWENTIRE;
    const struct {
        UINT state, action;
        int hovering;
        UINT face, tile;  // 0: nothing drawn
        SIZE bar;
    } rows[] = {
        {Sel | Dis | Hot, ODA_SELECT, 1, IDB_BUTTON_PRESSED, IDB_BUTTON_PRESSED, {200, 32}},
        {Dis | Hot, ODA_FOCUS, 0, IDB_BUTTON_DISABLED, IDB_BUTTON_HOVER, {300, 32}},
        {Dis, All, 1, IDB_BUTTON_DISABLED, IDB_BUTTON_HOVER, {33, 20}},
        {Dis, ODA_FOCUS, 0, IDB_BUTTON_DISABLED, IDB_BUTTON_DISABLED, {300, 32}},
        {Hot, ODA_FOCUS, 0, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER, {300, 32}},
        {0, ODA_SELECT, 1, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER, {300, 32}},
        {ODS_FOCUS, All, 0, IDB_BUTTON_NORMAL, IDB_TITLE_MIDDLE, {413, 50}},
        {0, All, 0, IDB_BUTTON_NORMAL, IDB_TITLE_MIDDLE, {100, 70}},
        {ODS_FOCUS, ODA_FOCUS, 0, 0, 0, {300, 32}},
        {0, ODA_SELECT, 0, 0, 0, {300, 32}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.state);
        CAPTURE(row.action);
        button.hovering = bar.hovering = row.hovering;
        const auto paintButton = [&](const DRAWITEMSTRUCT& r) { button.DrawItem(&r); };
        const auto paintBar = [&](const DRAWITEMSTRUCT& r) { bar.DrawItem(&r); };
        const int w = row.bar.cx, h = row.bar.cy;
        const Image face = PaintOnce(paintButton, button.window, 109, 37, row.action, row.state);
        CHECK(face == (row.face ? BitmapPixels(row.face) : Canvas(109, 37).Pixels()));
        const Image painted = PaintOnce(paintBar, bar.window, w, h, row.action, row.state);
        if (row.tile == IDB_BUTTON_PRESSED)  // the widths measured first are kept
            CHECK(painted.Crop(0, 0, 16, 32) == BitmapPixels(IDB_BUTTON_NORMAL).Crop(0, 0, 16, 32));
        CHECK(painted.Crop(16, 0, w - 16, h) ==
              (row.tile ? ExpectedBar(w, h, row.tile, row.tile == IDB_BUTTON_PRESSED ? 4242 : IDB_TITLE_RIGHT)
                        : Canvas(w, h).Pixels()).Crop(16, 0, w - 16, h));
    }
}

TEST_CASE("the caption: centred, white or grey, moved 2 pixels when pressed; the face size fixed at the first draw")
{
    LiveBox box;
    SkinButton& button = box.okButton;
    button.pressedFace = IDB_BUTTON_NORMAL;  // only the caption can move
    const auto paint = [&](const DRAWITEMSTRUCT& r) { button.DrawItem(&r); };
    const Image face = BitmapPixels(IDB_BUTTON_NORMAL);
    const Image idle = PaintOnce(paint, button.window, 109, 37, ODA_DRAWENTIRE, 0);
    const Image down = PaintOnce(paint, button.window, 109, 37, ODA_SELECT, ODS_SELECTED);
    int box4[4] = {109, 37, -1, -1}, white = 0, moved = 0;
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 107; ++x) {
            moved += (idle.At(x, y) != face.At(x, y)) != (down.At(x + 2, y + 2) != face.At(x + 2, y + 2));
            if (idle.At(x, y) == face.At(x, y))
                continue;
            box4[0] = std::min(box4[0], x), box4[1] = std::min(box4[1], y);
            box4[2] = std::max(box4[2], x), box4[3] = std::max(box4[3], y);
            white += idle.At(x, y) == 0xFFFFFF;
        }
    CHECK(std::abs(box4[0] + box4[2] + 1 - 109) <= 2);
    CHECK(std::abs(box4[1] + box4[3] + 1 - 37) <= 3);
    CHECK((white > 20 && moved == 0));
    // A smaller item later shows the corner of the image made at the first size.
    CHECK(PaintOnce(paint, button.window, 60, 20, ODA_SELECT, ODS_SELECTED) == down.Crop(0, 0, 60, 20));
    EnableWindow(button.window, FALSE);
    button.disabledFace = IDB_BUTTON_NORMAL;
    const Image grey = PaintOnce(paint, button.window, 109, 37, ODA_DRAWENTIRE, 0);
    CHECK(std::count(grey.pixels.begin(), grey.pixels.end(), 0x7F7F7F) -
          std::count(face.pixels.begin(), face.pixels.end(), 0x7F7F7F) > 20);
}

TEST_CASE("hovering: capture while inside, edges included; focus taken from \"BUTTON\" only; a double-click presses")
{
    LiveBox box;
    HWND button = box.okButton.window;
    RECT r;
    GetWindowRect(button, &r);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const std::pair<POINT, bool> edges[] = {{{r.left, r.top}, true}, {{r.right, r.bottom}, true},
                                            {{r.left - 1, r.top}, false}, {{r.right, r.bottom + 1}, false}};
    for (const auto& [point, inside] : edges) {
        CAPTURE(point.x);
        MouseMove(button, centre);
        CHECK((GetCapture() == button && box.okButton.hovering == 1));
        MouseMove(button, point);
        CHECK(((GetCapture() == button) == inside && box.okButton.hovering == inside));
    }
    // This module's own class "BUTTON", unlike the system's "Button", gives the focus away.
    WNDCLASSW upper = {0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"BUTTON"};
    REQUIRE(RegisterClassW(&upper) != 0);
    HWND capitals = CreateWindowW(L"BUTTON", L"", WS_CHILD, 0, 0, 9, 9, box.window, nullptr, upper.hInstance, nullptr);
    HWND cancel = box.cancelButton.window;
    for (const auto& [from, to] : {std::pair{capitals, button}, {cancel, cancel}}) {
        ReleaseCapture();
        SetFocus(from);
        MouseMove(button, centre);
        CHECK(GetFocus() == to);
    }
    ReleaseCapture();
    DestroyWindow(capitals);
    UnregisterClassW(L"BUTTON", upper.hInstance);
    CHECK(SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 6)) == 0);
    MSG posted = {};
    CHECK(PeekMessageW(&posted, button, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE));
    CHECK((posted.message == WM_LBUTTONDOWN && posted.lParam == MAKELPARAM(5, 6)));
}
