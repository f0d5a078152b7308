#include <windows.h>

#include <commctrl.h>
#include <doctest/doctest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "resource.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
// A few handlers record what reached them and answer 0x5A5A01.
struct RecordingDialog : Dlg {
    std::string call;
    INT_PTR Note(const std::string& what)
    {
        call = what;
        return 0x5A5A01;
    }
    INT_PTR OnCommand(WPARAM w, LPARAM) override { return Note("Command " + std::to_string(w)); }
    INT_PTR OnCtlColorBtn(HDC, HWND) override { return Note("Btn"); }
    INT_PTR OnMove(unsigned x, unsigned y) override { return Note("Move " + std::to_string(x + y)); }
    INT_PTR OnMessage(UINT message, WPARAM, LPARAM) override { return Note("Message " + std::to_string(message)); }
};

HWND Open(Dlg* dialog)
{
    return CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, InitialDialogProc, (LPARAM)dialog);
}

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

// Runs `paint` twice, as the first run may fill the system's own caches; the second must leave no GDI object.
void PaintTwiceLeavingNothing(const std::function<void()>& paint)
{
    paint();
    const int before = FreeGdiHandleSlots();
    paint();
    CHECK(FreeGdiHandleSlots() == before);
}

void MouseMove(HWND control, POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    ScreenToClient(control, &screen);
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
}
}

TEST_CASE("bound at WM_INITDIALOG, then messages to their handlers with their arguments and back with the result")
{
    RecordingDialog dialog;
    HWND window = Open(&dialog), unbound = Open(nullptr);
    const struct {
        UINT message;
        LPARAM wParam, lParam;
        const char* call;
    } routes[] = {
        {WM_MOVE, 0, MAKELPARAM(-10, -20), "Move 131042"},
        {WM_COMMAND, 0x51234, 77, "Command 332340"},
        {WM_CTLCOLORBTN, 8, 0, "Btn"},
        {WM_CTLCOLORSCROLLBAR, 8, 0, "Message 311"},
    };
    for (const auto& route : routes) {
        CAPTURE(route.call);
        CHECK((RoutingDialogProc(window, route.message, route.wParam, route.lParam) == 0x5A5A01 &&
               dialog.call == route.call));
    }
    // Naming an object bound to another window: no handler runs.
    SetWindowLongPtrW(unbound, GWLP_USERDATA, (LONG_PTR)&dialog);
    dialog.call.clear();
    CHECK((RoutingDialogProc(unbound, WM_COMMAND, IDOK, 0) == 0 && dialog.call.empty()));
    DestroyWindow(window);
    DestroyWindow(unbound);
}

// Where the strips lie and how they look is read back from the real dialogs at every scale.
TEST_CASE("the frame draws a strip only when the whole item is asked for, and answers for the strips alone")
{
    LiveBox box;
    CHECK(box.frame.DrawItem(IDC_STRIP_LEFT, nullptr) == 1);
    // The box draws no other control: not its panel, nor one it does not know.
    PaintTwiceLeavingNothing([&] {
        for (const int id : {IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_STRIP_RIGHT, IDC_MESSAGE_PANEL, 4242})
            for (const UINT action : {ODA_DRAWENTIRE, ODA_SELECT | ODA_FOCUS}) {
                CAPTURE(id);
                Canvas canvas(8, 8);
                DRAWITEMSTRUCT request = DrawRequest(nullptr, canvas.dc, {0, 0, 8, 8}, action, ODS_SELECTED);
                const bool strip = id != IDC_MESSAGE_PANEL && id != 4242;
                CHECK(box.OnDrawItem(id, &request) == strip);
                CHECK((canvas.Pixels().At(1, 1) == Untouched) == (!strip || action != ODA_DRAWENTIRE));
                CHECK(GetCurrentObject(canvas.dc, OBJ_PEN) == GetStockObject(BLACK_PEN));  // the DC's own again
            }
    });
}

TEST_CASE("the looks of button and bar by state, hovering and action, the bar at any size, the captions centred")
{
    LiveBox box;
    SkinHeader& bar = box.titleBar;
    // The bar's looks told apart by their middle tiles; a right cap that cannot load leaves the screen.
    bar.SetHoverSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_HOVER, 0);
    bar.SetDisabledSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_DISABLED, 0);
    bar.SetPressedSlices(IDB_BUTTON_NORMAL, 4242, IDB_BUTTON_PRESSED, 0);
    const UINT Sel = ODS_SELECTED, Dis = ODS_DISABLED, Hot = ODS_HOTLIGHT, All = ODA_DRAWENTIRE;
    // The caption's colour follows the window's state, white or grey; a face or tile of 0: nothing drawn.
    const struct {
        UINT state, action, hovering;
        bool enabled;
        UINT face, tile;
        SIZE bar;
    } rows[] = {
        {Sel | Dis | Hot, ODA_SELECT, 1, true, IDB_BUTTON_PRESSED, IDB_BUTTON_PRESSED, {200, 32}},
        {Dis, All, 1, false, IDB_BUTTON_DISABLED, IDB_BUTTON_HOVER, {33, 20}},
        {Dis, ODA_FOCUS, 0, false, IDB_BUTTON_DISABLED, IDB_BUTTON_DISABLED, {300, 32}},
        {Hot, ODA_FOCUS, 0, true, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER, {300, 32}},
        {ODS_FOCUS, All, 0, true, IDB_BUTTON_NORMAL, IDB_TITLE_MIDDLE, {413, 70}},
        {0, ODA_FOCUS, 1, true, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER, {60, 32}},  // a middle narrower than the caption
        {ODS_FOCUS, ODA_FOCUS, 0, true, 0, 0, {300, 32}},
    };
    PaintTwiceLeavingNothing([&] {
        for (const auto& row : rows) {
            CAPTURE(row.state);
            CAPTURE(row.action);
            box.okButton.hovering = box.cancelButton.hovering = bar.hovering = row.hovering;
            const int d = (row.state & Sel) ? 2 : 0;  // a pressed caption moves 2 pixels on
            const COLORREF color = row.enabled ? 0xFFFFFF : 0x7F7F7F;
            for (SkinButton* each : {&box.okButton, &box.cancelButton}) {
                EnableWindow(each->window, row.enabled);
                const RECT face = {d, d, 109 + d, 37 + d};
                CHECK(PaintOnce(*each, 109, 37, row.action, row.state) ==
                      (row.face ? WithCaption(BitmapPixels(row.face), each->caption.c_str(), face, color)
                                : Canvas(109, 37).Pixels()));
            }
            // Caps of the first widths (16) as high as their bitmaps, the tile repeated from the bar's origin between
            // them, the old pixels elsewhere and where a cap cannot load; the caption over the middle.
            EnableWindow(bar.window, row.enabled);
            const int w = row.bar.cx, h = row.bar.cy;
            const Image m = BitmapPixels(row.tile ? row.tile : IDB_TITLE_MIDDLE), r = BitmapPixels(IDB_TITLE_RIGHT);
            const Image l = BitmapPixels(row.tile == IDB_BUTTON_PRESSED ? IDB_BUTTON_NORMAL : IDB_TITLE_LEFT);
            const int rightHeight = row.tile == IDB_BUTTON_PRESSED ? 0 : r.height;
            Image slices{w, h, {}};
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    slices.pixels.push_back(!row.tile || (x >= w - 16 && y >= rightHeight) || (x < 16 && y >= l.height)
                                                ? Untouched
                                            : x >= w - 16 ? r.At(x - w + 16, y)
                                            : x >= 16     ? m.At(x % m.width, y % m.height)
                                                          : l.At(x, y));
            CHECK(PaintOnce(bar, w, h, row.action, row.state) ==
                  (row.tile ? WithCaption(slices, L"Box Caption", {16 + d, d, w - 16 + d, h + d}, color) : slices));
        }
    });
    // A smaller item later shows the corner of the image made at the first size.
    const Image down = PaintOnce(box.okButton, 109, 37, ODA_SELECT, ODS_SELECTED);
    const Image small = PaintOnce(box.okButton, 60, 20, ODA_SELECT, ODS_SELECTED);
    for (int y = 0; y < 20; ++y)
        CHECK(std::equal(&small.pixels[y * 60], &small.pixels[y * 60 + 60], &down.pixels[y * 109]));
}

TEST_CASE("hovering: capture while inside, edges included; focus taken from \"BUTTON\" only; a double-click presses")
{
    LiveBox box;
    HWND button = box.okButton.window;
    RECT r;
    GetWindowRect(button, &r);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MouseMove(button, centre);
    CHECK(GetUpdateRect(button, nullptr, FALSE));  // each change of hovering repaints the button
    ValidateRect(button, nullptr);
    for (const POINT edge : {POINT{r.left, r.top}, POINT{r.right, r.bottom}}) {
        MouseMove(button, edge);
        CHECK((GetCapture() == button && box.okButton.hovering == 1 && !GetUpdateRect(button, nullptr, FALSE)));
    }
    MouseMove(button, {r.right + 1, r.bottom});
    CHECK((GetCapture() == nullptr && box.okButton.hovering == 0 && GetUpdateRect(button, nullptr, FALSE)));
    // This module's own class "BUTTON", unlike the system's "Button", gives the focus away.
    WNDCLASSW upper = {0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), {}, {}, {}, {}, L"BUTTON"};
    REQUIRE(RegisterClassW(&upper) != 0);
    HWND capitals = CreateWindowW(L"BUTTON", L"", WS_CHILD, 0, 0, 9, 9, box.window, {}, upper.hInstance, {});
    HWND cancel = box.cancelButton.window;
    for (const auto& [from, to] : {std::pair{capitals, button}, {cancel, cancel}}) {
        ReleaseCapture();
        SetFocus(from);
        MouseMove(button, centre);
        CHECK(GetFocus() == to);
    }
    CHECK(SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 6)) == 0);
    MSG posted = {};
    CHECK(PeekMessageW(&posted, button, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE));
    CHECK((posted.message == WM_LBUTTONDOWN && posted.wParam == MK_LBUTTON && posted.lParam == MAKELPARAM(5, 6)));
}
