#include <doctest/doctest.h>

#include <string>

#include "resource.h"
#include "ui/TestKit.h"

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
    Dlg plain;  // overrides nothing
    HWND window = Open(&dialog), plainWindow = Open(&plain), unbound = Open(nullptr);
    const struct {
        UINT message;
        LPARAM wParam, lParam;
        const char* call;
    } routes[] = {
        {WM_MOVE, 0, MAKELPARAM(-10, -20), "Move 131042"}, {WM_COMMAND, 0x51234, 77, "Command 332340"},
        {WM_CTLCOLORBTN, 8, 0, "Btn"}, {WM_CTLCOLORSCROLLBAR, 8, 0, "Message 311"},
    };
    for (const auto& route : routes) {
        CAPTURE(route.call);
        CHECK(RoutingDialogProc(window, route.message, route.wParam, route.lParam) == 0x5A5A01);
        CHECK(dialog.call == route.call);
        CHECK(RoutingDialogProc(plainWindow, route.message, route.wParam, route.lParam) == 0);
    }
    // Naming an object bound to another window: no handler runs.
    SetWindowLongPtrW(unbound, GWLP_USERDATA, (LONG_PTR)&dialog);
    dialog.call.clear();
    CHECK((RoutingDialogProc(unbound, WM_COMMAND, IDOK, 0) == 0 && dialog.call.empty()));
    for (HWND w : {window, plainWindow, unbound})
        DestroyWindow(w);
}

TEST_CASE("the frame: strips below the bar, the rounded shape, only whole strip items drawn")
{
    LiveBox box;
    RECT r;
    GetWindowRect(box.window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    GetWindowRect(box.frame.leftStrip, &r);
    CHECK(r.bottom - r.top == h - 36);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    REQUIRE(GetWindowRgn(box.window, shape) != ERROR);
    for (int y = 0; y < 16; ++y)  // the right corner mirrors the left one
        for (int x = -1; x < 16; ++x)
            CHECK(PtInRegion(shape, x, y) == PtInRegion(shape, w - 1 - x, y));
    CHECK((!PtInRegion(shape, 0, 0) && PtInRegion(shape, 15, 0) && PtInRegion(shape, 0, 13)));
    DeleteObject(shape);
    for (const int id : {IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_STRIP_RIGHT, IDOK, IDC_TITLE_BAR})
        for (const UINT action : {ODA_DRAWENTIRE, ODA_SELECT | ODA_FOCUS}) {
            CAPTURE(id);
            Canvas canvas(8, 8);
            DRAWITEMSTRUCT request = DrawRequest(nullptr, canvas.dc, {0, 0, 8, 8}, action, ODS_SELECTED);
            const bool strip = id != IDOK && id != IDC_TITLE_BAR;
            CHECK(box.frame.DrawItem(id, &request) == strip);
            CHECK((canvas.Pixels().At(1, 1) == Untouched) == (!strip || action != ODA_DRAWENTIRE));
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
        UINT state, action, hovering, face, tile;  // face, tile 0: nothing drawn
        SIZE bar;
    } rows[] = {
        {Sel | Dis | Hot, ODA_SELECT, 1, IDB_BUTTON_PRESSED, IDB_BUTTON_PRESSED, {200, 32}},
        {Dis, All, 1, IDB_BUTTON_DISABLED, IDB_BUTTON_HOVER, {33, 20}},
        {Dis, ODA_FOCUS, 0, IDB_BUTTON_DISABLED, IDB_BUTTON_DISABLED, {300, 32}},
        {Hot, ODA_FOCUS, 0, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER, {300, 32}},
        {ODS_FOCUS, All, 0, IDB_BUTTON_NORMAL, IDB_TITLE_MIDDLE, {413, 70}},
        {ODS_FOCUS, ODA_FOCUS, 0, 0, 0, {300, 32}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.state);
        CAPTURE(row.action);
        button.hovering = bar.hovering = row.hovering;
        const Image face = PaintOnce(button, 109, 37, row.action, row.state);
        CHECK(face == (row.face ? BitmapPixels(row.face) : Canvas(109, 37).Pixels()));
        const int w = row.bar.cx, h = row.bar.cy;
        const Image painted = PaintOnce(bar, w, h, row.action, row.state);
        // Caps of the first widths over the top 32 rows, the old pixels below them and where a cap cannot load.
        const Image m = BitmapPixels(row.tile ? row.tile : IDB_TITLE_MIDDLE), r = BitmapPixels(IDB_TITLE_RIGHT);
        const Image l = BitmapPixels(row.tile == IDB_BUTTON_PRESSED ? IDB_BUTTON_NORMAL : IDB_TITLE_LEFT);
        const COLORREF middle = m.At(w / 2 % m.width, (h - 1) % m.height), corner = h > 32 ? Untouched : l.At(0, h - 1);
        CHECK(painted.At(w / 2, h - 1) == (row.tile ? middle : Untouched));
        CHECK(painted.At(0, h - 1) == (row.tile ? corner : Untouched));
        CHECK(painted.At(w - 1, 0) == (row.tile && row.tile != IDB_BUTTON_PRESSED ? r.At(15, 0) : Untouched));
    }
}

TEST_CASE("the caption: white, moved 2 pixels when pressed, grey when disabled; the face size fixed at the first draw")
{
    LiveBox box;
    SkinButton& button = box.okButton;
    button.pressedFace = button.disabledFace = IDB_BUTTON_NORMAL;  // only the caption can change
    const Image face = BitmapPixels(IDB_BUTTON_NORMAL);
    const Image idle = PaintOnce(button, 109, 37, ODA_DRAWENTIRE, 0);
    const Image down = PaintOnce(button, 109, 37, ODA_SELECT, ODS_SELECTED);
    // A smaller item later shows the corner of the image made at the first size.
    const Image small = PaintOnce(button, 60, 20, ODA_SELECT, ODS_SELECTED);
    EnableWindow(button.window, FALSE);
    const Image grey = PaintOnce(button, 109, 37, ODA_DRAWENTIRE, 0);
    int white = 0, moved = 0, greyed = 0, cut = 0;
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 107; ++x) {
            moved += (idle.At(x, y) != face.At(x, y)) != (down.At(x + 2, y + 2) != face.At(x + 2, y + 2));
            white += idle.At(x, y) != face.At(x, y) && idle.At(x, y) == 0xFFFFFF;
            greyed += grey.At(x, y) != face.At(x, y) && grey.At(x, y) == 0x7F7F7F;
            cut += x < 60 && y < 20 && small.At(x, y) != down.At(x, y);
        }
    CHECK((white > 20 && moved == 0 && greyed > 20 && cut == 0));
}

TEST_CASE("hovering: capture while inside, edges included; focus taken from \"BUTTON\" only; a double-click presses")
{
    LiveBox box;
    HWND button = box.okButton.window;
    RECT r;
    GetWindowRect(button, &r);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MouseMove(button, centre);
    MouseMove(button, {r.right, r.bottom});
    CHECK((GetCapture() == button && box.okButton.hovering == 1));
    MouseMove(button, {r.right + 1, r.bottom});
    CHECK((GetCapture() == nullptr && box.okButton.hovering == 0));
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
    CHECK((posted.message == WM_LBUTTONDOWN && posted.lParam == MAKELPARAM(5, 6)));
}
