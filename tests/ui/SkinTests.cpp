#include <windows.h>

#include <commctrl.h>
#include <doctest/doctest.h>

#include <algorithm>
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
        {WM_MOVE, 0, MAKELPARAM(-10, -20), "Move 131042"},
        {WM_COMMAND, 0x51234, 77, "Command 332340"},
        {WM_CTLCOLORBTN, 8, 0, "Btn"},
        {WM_CTLCOLORSCROLLBAR, 8, 0, "Message 311"},
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

// Calls `proc` as the system calls it, taking its arguments off the stack by itself (CALLBACK, on 32-bit
// Windows), and says whether it did. Wine's callers restore the stack pointer after such a call and hide a
// procedure that does not; Windows' own need not.
template <typename Proc, typename... Args>
__attribute__((noinline)) bool TakesItsArgumentsOffTheStack(Proc proc, Args... args)
{
#ifdef __i386__
    void *before, *after;
    asm volatile("mov %%esp, %0" : "=r"(before) : : "memory");
    proc(args...);
    asm volatile("mov %%esp, %0" : "=r"(after) : : "memory");
    return before == after;
#else
    proc(args...);  // x64 has one calling convention
    return true;
#endif
}

TEST_CASE("the procedures the system calls take their arguments off the stack")
{
    HWND control = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    CHECK(TakesItsArgumentsOffTheStack(reinterpret_cast<DLGPROC>(InitialDialogProc), control, WM_NULL, 0, 0));
    CHECK(TakesItsArgumentsOffTheStack(reinterpret_cast<DLGPROC>(RoutingDialogProc), control, WM_NULL, 0, 0));
    CHECK(TakesItsArgumentsOffTheStack(reinterpret_cast<SUBCLASSPROC>(SkinControl::SubclassProc), control, WM_NULL, 0,
                                       0, 0, 0));
    DestroyWindow(control);
}

TEST_CASE("the frame: strips below the bar in grey and red, the rounded shape, only whole strip items drawn")
{
    LiveBox box;
    const RECT whole = Place(box.window, 0);
    const int w = whole.right - whole.left, h = whole.bottom - whole.top;
    // Each strip's place (the bar is 32 high), and from its outer edge inward two grey lines, then two red.
    const struct {
        int id;
        RECT place;
        POINT outer, inward;
    } strips[] = {{IDC_STRIP_LEFT, {0, 32, 4, h - 4}, {0, h / 2}, {1, 0}},
                  {IDC_STRIP_RIGHT, {w - 4, 32, w, h - 4}, {w - 1, h / 2}, {-1, 0}},
                  {IDC_STRIP_BOTTOM, {0, h - 4, w, h}, {w / 2, h - 1}, {0, -1}}};
    HDC dc = GetDC(box.window);
    for (const auto& strip : strips) {
        CAPTURE(strip.id);
        const RECT place = Place(box.window, strip.id);
        CHECK(EqualRect(&place, &strip.place));
        for (int i = 0; i < 4; ++i)
            CHECK(GetPixel(dc, strip.outer.x + i * strip.inward.x, strip.outer.y + i * strip.inward.y) ==
                  (i < 2 ? 0x404040 : 0x0000CF));
    }
    CHECK((GetPixel(dc, 0, h - 4) == 0x404040 && GetPixel(dc, w - 1, h - 4) == 0x404040));  // the bottom strip's ends
    ReleaseDC(box.window, dc);
    HRGN shape = CreateRectRgn(0, 0, 0, 0), expected = FrameShape(w, h);
    CHECK((GetWindowRgn(box.window, shape) != ERROR && EqualRgn(shape, expected)));
    DeleteObject(shape);
    DeleteObject(expected);
    CHECK(box.frame.DrawItem(IDC_STRIP_LEFT, nullptr) == 1);
    // The box draws no other control: not its panel, nor one it does not know.
    for (const int id : {IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_STRIP_RIGHT, IDC_MESSAGE_PANEL, 4242})
        for (const UINT action : {ODA_DRAWENTIRE, ODA_SELECT | ODA_FOCUS}) {
            CAPTURE(id);
            Canvas canvas(8, 8);
            DRAWITEMSTRUCT request = DrawRequest(nullptr, canvas.dc, {0, 0, 8, 8}, action, ODS_SELECTED);
            const bool strip = id != IDC_MESSAGE_PANEL && id != 4242;
            CHECK(box.OnDrawItem(id, &request) == strip);
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
    box.cancelButton.caption.clear();
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
        {0, ODA_FOCUS, 1, IDB_BUTTON_HOVER, IDB_BUTTON_HOVER, {300, 32}},
        {ODS_FOCUS, ODA_FOCUS, 0, 0, 0, {300, 32}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.state);
        CAPTURE(row.action);
        button.hovering = box.cancelButton.hovering = bar.hovering = row.hovering;
        for (SkinButton* each : {&button, &box.cancelButton})
            CHECK(PaintOnce(*each, 109, 37, row.action, row.state) ==
                  (row.face ? BitmapPixels(row.face) : Canvas(109, 37).Pixels()));
        const int w = row.bar.cx, h = row.bar.cy;
        const Image painted = PaintOnce(bar, w, h, row.action, row.state);
        // In the top and bottom rows: caps of the first widths (16) as high as their bitmaps, the tile repeated from
        // the bar's origin between them, the old pixels elsewhere and where a cap cannot load.
        const Image m = BitmapPixels(row.tile ? row.tile : IDB_TITLE_MIDDLE), r = BitmapPixels(IDB_TITLE_RIGHT);
        const Image l = BitmapPixels(row.tile == IDB_BUTTON_PRESSED ? IDB_BUTTON_NORMAL : IDB_TITLE_LEFT);
        const int rightHeight = row.tile == IDB_BUTTON_PRESSED ? 0 : r.height;
        const auto expected = [&](int x, int y) {
            if (!row.tile || (x >= w - 16 && y >= rightHeight) || (x < 16 && y >= l.height))
                return Untouched;
            return x >= w - 16 ? r.At(x - w + 16, y) : x >= 16 ? m.At(x % m.width, y % m.height) : l.At(x, y);
        };
        int wrong = 0;
        for (const int y : {0, h - 1})
            for (int x = 0; x < w; ++x)
                wrong += painted.At(x, y) != expected(x, y);
        CHECK(wrong == 0);
    }
}

TEST_CASE("captions in the system font, centred on the face or the bar's middle: white, 2 pixels on when pressed, grey")
{
    LiveBox box;
    SkinButton& button = box.okButton;
    SkinHeader& bar = box.titleBar;
    button.pressedFace = button.disabledFace = IDB_BUTTON_NORMAL;  // only the caption can change
    const Image face = BitmapPixels(IDB_BUTTON_NORMAL);
    const int w = 60;  // the bar's middle, 28 pixels, is narrower than the box's caption, which stays inside it
    const WideString title = bar.caption;
    bar.caption.clear();
    const Image bare = PaintOnce(bar, w, 32, ODA_DRAWENTIRE, 0);
    bar.caption = title;
    const struct {
        UINT state;
        int hovering, shift;
        COLORREF color;
    } rows[] = {{0, 0, 0, 0xFFFFFF}, {ODS_SELECTED, 0, 2, 0xFFFFFF}, {ODS_DISABLED, 1, 0, 0x7F7F7F}};
    for (const auto& row : rows) {
        CAPTURE(row.state);
        EnableWindow(button.window, row.color == 0xFFFFFF);
        EnableWindow(bar.window, row.color == 0xFFFFFF);
        button.hovering = bar.hovering = row.hovering;
        const int d = row.shift;
        CHECK(PaintOnce(button, 109, 37, ODA_DRAWENTIRE, row.state) ==
              WithCaption(face, button.caption.c_str(), {d, d, 109 + d, 37 + d}, row.color));
        CHECK(PaintOnce(bar, w, 32, ODA_DRAWENTIRE, row.state) ==
              WithCaption(bare, L"Box Caption", {16 + d, d, w - 16 + d, 32 + d}, row.color));
    }
    // A smaller item later shows the corner of the image made at the first size.
    const Image down = PaintOnce(button, 109, 37, ODA_SELECT, ODS_SELECTED);
    const Image small = PaintOnce(button, 60, 20, ODA_SELECT, ODS_SELECTED);
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
