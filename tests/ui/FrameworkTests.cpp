#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
template <typename T>
UINT_PTR U(T value) { return (UINT_PTR)value; }

// Every handler records "name a b c" and answers 0x5A5A01.
class RecordingDialog : public Dlg {
public:
#define RECORD(name, ...) { calls.push_back(std::string(#name) + Args({__VA_ARGS__})); return 0x5A5A01; }
    INT_PTR OnActivate(WPARAM w, LPARAM l) override RECORD(OnActivate, w, U(l))
    INT_PTR OnCommand(WPARAM w, LPARAM l) override RECORD(OnCommand, w, U(l))
    INT_PTR OnClose(WPARAM result) override RECORD(OnClose, result)
    INT_PTR OnCtlColorDlg(HDC dc, HWND w) override RECORD(OnCtlColorDlg, U(dc), U(w))
    INT_PTR OnCtlColorBtn(HDC dc, HWND w) override RECORD(OnCtlColorBtn, U(dc), U(w))
    INT_PTR OnCtlColorEdit(HDC dc, HWND w) override RECORD(OnCtlColorEdit, U(dc), U(w))
    INT_PTR OnCtlColorListBox(HDC dc, HWND w) override RECORD(OnCtlColorListBox, U(dc), U(w))
    INT_PTR OnCtlColorStatic(HDC dc, HWND w) override RECORD(OnCtlColorStatic, U(dc), U(w))
    INT_PTR OnDrawItem(UINT id, const DRAWITEMSTRUCT* item) override RECORD(OnDrawItem, id, U(item))
    INT_PTR OnHScroll(WPARAM w, LPARAM l) override RECORD(OnHScroll, w, U(l))
    INT_PTR OnInitDialog(WPARAM w, LPARAM l) override RECORD(OnInitDialog, w, U(l))
    INT_PTR OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) override RECORD(OnMeasureItem, id, U(item))
    INT_PTR OnMove(unsigned x, unsigned y) override RECORD(OnMove, x, y)
    INT_PTR OnNcPaint() override RECORD(OnNcPaint, )
    INT_PTR OnNotify(WPARAM id, NMHDR* header) override RECORD(OnNotify, id, U(header))
    INT_PTR OnPaint() override RECORD(OnPaint, )
    INT_PTR OnTimer(WPARAM id, LPARAM callback) override RECORD(OnTimer, id, U(callback))
    INT_PTR OnVScroll(WPARAM w, LPARAM l) override RECORD(OnVScroll, w, U(l))
    INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) override RECORD(OnMessage, message, w, U(l))
    static std::string Args(std::initializer_list<UINT_PTR> args)
    {
        std::string text;
        for (UINT_PTR arg : args)
            text += " " + std::to_string(arg);
        return text;
    }
    std::vector<std::string> calls;
};

HWND Open(Dlg* dialog)
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                              InitialDialogProc, reinterpret_cast<LPARAM>(dialog));
}

// Where the control is in its parent's client area: "x,y wxh".
std::string PlaceOf(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}
}

TEST_CASE("binding at WM_INITDIALOG, then every message to its handler with its arguments and back with its result")
{
    RecordingDialog dialog;
    HWND window = Open(&dialog);
    REQUIRE(window != nullptr);
    // WM_SETFONT and the creation messages came first and reached no handler.
    REQUIRE(!dialog.calls.empty());
    CHECK(dialog.calls.front().rfind("OnInitDialog ", 0) == 0);
    CHECK(dialog.calls.front().substr(dialog.calls.front().rfind(' ') + 1) == std::to_string(U(&dialog)));
    const UINT_PTR dc = 0x1234;
    const LPARAM l = 0x4321;
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* call;
    } routes[] = {
        {WM_MOVE, 0, MAKELPARAM(-10, -20), "OnMove 65526 65516"},
        {WM_ACTIVATE, 1, l, "OnActivate 1 17185"}, {WM_PAINT, 1, 1, "OnPaint"}, {WM_CLOSE, 2, 77, "OnClose 2"},
        {WM_DRAWITEM, 1011, l, "OnDrawItem 1011 17185"}, {WM_MEASUREITEM, 5, l, "OnMeasureItem 5 17185"},
        {WM_NOTIFY, 7, l, "OnNotify 7 17185"}, {WM_NCPAINT, 1, 0, "OnNcPaint"},
        {WM_INITDIALOG, dc, l, "OnInitDialog 4660 17185"}, {WM_COMMAND, 0x51234, l, "OnCommand 332340 17185"},
        {WM_TIMER, 9, l, "OnTimer 9 17185"}, {WM_HSCROLL, 3, l, "OnHScroll 3 17185"},
        {WM_VSCROLL, 4, l, "OnVScroll 4 17185"}, {WM_CTLCOLOREDIT, dc, l, "OnCtlColorEdit 4660 17185"},
        {WM_CTLCOLORLISTBOX, dc, l, "OnCtlColorListBox 4660 17185"}, {WM_CTLCOLORBTN, dc, l, "OnCtlColorBtn 4660 17185"},
        {WM_CTLCOLORDLG, dc, l, "OnCtlColorDlg 4660 17185"}, {WM_CTLCOLORSTATIC, dc, l, "OnCtlColorStatic 4660 17185"},
        {WM_CTLCOLORSCROLLBAR, dc, l, "OnMessage 311 4660 17185"}, {WM_CTLCOLORMSGBOX, dc, l, "OnMessage 306 4660 17185"},
    };
    Dlg plain;  // overrides nothing
    HWND plainWindow = Open(&plain);
    for (const auto& route : routes) {
        CAPTURE(route.call);
        dialog.calls.clear();
        CHECK(RoutingDialogProc(window, route.message, route.wParam, route.lParam) == 0x5A5A01);
        CHECK(dialog.calls == std::vector<std::string>{route.call});
        CHECK(RoutingDialogProc(plainWindow, route.message, route.wParam, route.lParam) == (route.message == WM_INITDIALOG));
    }
    // Without an object, or naming an object bound to another window: 0, no handler.
    HWND unbound = Open(nullptr);
    CHECK(GetWindowLongPtrW(unbound, GWLP_USERDATA) == 0);
    SetWindowLongPtrW(unbound, GWLP_USERDATA, (LONG_PTR)&dialog);
    dialog.calls.clear();
    CHECK(RoutingDialogProc(unbound, WM_COMMAND, IDOK, 0) == 0);
    CHECK(dialog.calls.empty());
    // The plain dialog's buttons do not end it (EndDialog would hide it).
    ShowWindow(plainWindow, SW_SHOW);
    ClickControl(plainWindow, IDOK);
    SystemClose(plainWindow);
    PumpMessages(50);
    CHECK(IsWindowVisible(plainWindow));
    for (HWND w : {window, plainWindow, unbound})
        DestroyWindow(w);
}

TEST_CASE("the frame: strips below the bar, their colours, the rounded shape, and which draw requests it takes")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(300));
    DialogFrame& frame = dialog.frame;
    for (const int w : {300, 413}) {
        CAPTURE(w);
        const int h = 160;
        SetWindowPos(dialog.window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        SetWindowPos(dialog.titleBar.window, nullptr, 0, 0, w, 32, SWP_NOMOVE | SWP_NOZORDER);
        frame.Layout(dialog.window, dialog.titleBar);
        CHECK(PlaceOf(frame.leftStrip) == "0,32 4x" + std::to_string(h - 36));
        CHECK(PlaceOf(frame.rightStrip) == std::to_string(w - 4) + ",32 4x" + std::to_string(h - 36));
        CHECK(PlaceOf(frame.bottomStrip) == "0," + std::to_string(h - 4) + " " + std::to_string(w) + "x4");
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        REQUIRE(GetWindowRgn(dialog.window, shape) != ERROR);
        for (int y = 0; y < h; ++y) {  // the right corner mirrors the left one, row by row
            CAPTURE(y);
            int left = 0, right = w + 1;
            while (left < w && !PtInRegion(shape, left, y))
                ++left;
            while (right > 0 && !PtInRegion(shape, right, y))
                --right;
            CHECK(right == w - 1 - left);
            CHECK(left == (y >= 13 ? 0 : left));
        }
        CHECK((!PtInRegion(shape, 0, 0) && PtInRegion(shape, 15, 0) && PtInRegion(shape, w - 16, 0)));
        DeleteObject(shape);
        RedrawWindow(dialog.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const Image screen = CaptureWindow(dialog.window);
        const COLORREF Grey = 0x404040, Red = 0x0000CF, outward[] = {Red, Red, Grey, Grey};
        for (int i = 0; i < 4; ++i) {
            CAPTURE(i);
            CHECK(screen.Crop(i, 32, 1, h - 36).pixels == std::vector<COLORREF>(h - 36, outward[3 - i]));
            CHECK(screen.Crop(w - 1 - i, 32, 1, h - 36).pixels == std::vector<COLORREF>(h - 36, outward[3 - i]));
            std::vector<COLORREF> row(w, outward[i]);
            row[0] = row[1] = row[w - 2] = row[w - 1] = Grey;
            CHECK(screen.Crop(0, h - 4 + i, w, 1).pixels == row);
        }
    }
    // A second layout replaces the shape; the window deletes the old region.
    const int before = FreeGdiHandleSlots();
    for (int i = 0; i < 100; ++i)
        frame.Layout(dialog.window, dialog.titleBar);
    CHECK(FreeGdiHandleSlots() == before);
    // The strips answer 1 and draw only whole items; other ids answer 0 and draw nothing.
    for (const int id : {IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_STRIP_RIGHT, IDOK, IDC_TITLE_BAR, 1002}) {
        CAPTURE(id);
        for (const UINT action : {ODA_DRAWENTIRE, ODA_SELECT | ODA_FOCUS}) {
            Canvas canvas(8, 8);
            DRAWITEMSTRUCT request = DrawRequest(nullptr, canvas.Dc(), {0, 0, 8, 8}, action, ODS_SELECTED);
            const bool strip = id == IDC_STRIP_LEFT || id == IDC_STRIP_BOTTOM || id == IDC_STRIP_RIGHT;
            CHECK(frame.DrawItem(id, &request) == strip);
            CHECK((canvas.Pixels() == Canvas(8, 8).Pixels()) == (!strip || action != ODA_DRAWENTIRE));
        }
    }
}

TEST_CASE("SharedBrushes: made once, kept while one exists, deleted once")
{
    const int before = FreeGdiHandleSlots();
    {
        SharedBrushes outer;
        const HBRUSH dark = DarkBrush;
        CHECK(GetObjectType(LightBrush) == OBJ_BRUSH);
        {
            SharedBrushes inner;
            CHECK(DarkBrush == dark);
            CHECK(FreeGdiHandleSlots() == before - 2);
        }
        CHECK((DarkBrush == nullptr && LightBrush == nullptr));
    }
    CHECK(FreeGdiHandleSlots() == before);
}
