#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
template <typename T>
UINT_PTR U(T value) { return (UINT_PTR)value; }

// Every handler records its name and arguments and answers 0x5A5A01.
struct RecordingDialog : Dlg {
    std::vector<std::string> calls;
    INT_PTR Note(std::string call, std::initializer_list<UINT_PTR> args = {})
    {
        for (UINT_PTR arg : args)
            call += " " + std::to_string(arg);
        calls.push_back(call);
        return 0x5A5A01;
    }
    INT_PTR OnActivate(WPARAM w, LPARAM l) override { return Note("Activate", {w, U(l)}); }
    INT_PTR OnCommand(WPARAM w, LPARAM l) override { return Note("Command", {w, U(l)}); }
    INT_PTR OnClose(WPARAM result) override { return Note("Close", {result}); }
    INT_PTR OnCtlColorDlg(HDC dc, HWND w) override { return Note("Dlg", {U(dc), U(w)}); }
    INT_PTR OnCtlColorBtn(HDC dc, HWND w) override { return Note("Btn", {U(dc), U(w)}); }
    INT_PTR OnCtlColorEdit(HDC dc, HWND w) override { return Note("Edit", {U(dc), U(w)}); }
    INT_PTR OnCtlColorListBox(HDC dc, HWND w) override { return Note("ListBox", {U(dc), U(w)}); }
    INT_PTR OnCtlColorStatic(HDC dc, HWND w) override { return Note("Static", {U(dc), U(w)}); }
    INT_PTR OnDrawItem(UINT id, const DRAWITEMSTRUCT* item) override { return Note("DrawItem", {id, U(item)}); }
    INT_PTR OnHScroll(WPARAM w, LPARAM l) override { return Note("HScroll", {w, U(l)}); }
    INT_PTR OnInitDialog(WPARAM, LPARAM l) override { return Note("InitDialog", {U(l)}); }
    INT_PTR OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) override { return Note("Measure", {id, U(item)}); }
    INT_PTR OnMove(unsigned x, unsigned y) override { return Note("Move", {x, y}); }
    INT_PTR OnNcPaint() override { return Note("NcPaint"); }
    INT_PTR OnNotify(WPARAM id, NMHDR* header) override { return Note("Notify", {id, U(header)}); }
    INT_PTR OnPaint() override { return Note("Paint"); }
    INT_PTR OnTimer(WPARAM id, LPARAM callback) override { return Note("Timer", {id, U(callback)}); }
    INT_PTR OnVScroll(WPARAM w, LPARAM l) override { return Note("VScroll", {w, U(l)}); }
    INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) override { return Note("Message", {message, w, U(l)}); }
};

HWND Open(Dlg* dialog)
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                              InitialDialogProc, reinterpret_cast<LPARAM>(dialog));
}
}

TEST_CASE("bound at WM_INITDIALOG, then every message to its handler with its arguments and back with its result")
{
    RecordingDialog dialog;
    Dlg plain;  // overrides nothing
    HWND window = Open(&dialog), plainWindow = Open(&plain), unbound = Open(nullptr);
    CHECK(dialog.calls.at(0) == "InitDialog " + std::to_string(U(&dialog)));
    const LPARAM l = 0x4321;
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* call;
    } routes[] = {
        {WM_MOVE, 0, MAKELPARAM(-10, -20), "Move 65526 65516"}, {WM_ACTIVATE, 1, l, "Activate 1 17185"},
        {WM_PAINT, 1, 1, "Paint"}, {WM_CLOSE, 2, 77, "Close 2"}, {WM_NCPAINT, 1, 0, "NcPaint"},
        {WM_DRAWITEM, 1011, l, "DrawItem 1011 17185"}, {WM_MEASUREITEM, 5, l, "Measure 5 17185"},
        {WM_NOTIFY, 7, l, "Notify 7 17185"}, {WM_INITDIALOG, 6, l, "InitDialog 17185"},
        {WM_COMMAND, 0x51234, l, "Command 332340 17185"}, {WM_TIMER, 9, l, "Timer 9 17185"},
        {WM_HSCROLL, 3, l, "HScroll 3 17185"}, {WM_VSCROLL, 4, l, "VScroll 4 17185"},
        {WM_CTLCOLOREDIT, 8, l, "Edit 8 17185"}, {WM_CTLCOLORLISTBOX, 8, l, "ListBox 8 17185"},
        {WM_CTLCOLORBTN, 8, l, "Btn 8 17185"}, {WM_CTLCOLORDLG, 8, l, "Dlg 8 17185"},
        {WM_CTLCOLORSTATIC, 8, l, "Static 8 17185"}, {WM_CTLCOLORSCROLLBAR, 8, l, "Message 311 8 17185"},
    };
    for (const auto& route : routes) {
        CAPTURE(route.call);
        dialog.calls.clear();
        CHECK(RoutingDialogProc(window, route.message, route.wParam, route.lParam) == 0x5A5A01);
        CHECK(dialog.calls == std::vector<std::string>{route.call});
        CHECK(RoutingDialogProc(plainWindow, route.message, route.wParam, route.lParam) ==
              (route.message == WM_INITDIALOG));
    }
    // Naming an object bound to another window: no handler runs.
    SetWindowLongPtrW(unbound, GWLP_USERDATA, (LONG_PTR)&dialog);
    dialog.calls.clear();
    CHECK(RoutingDialogProc(unbound, WM_COMMAND, IDOK, 0) == 0);
    CHECK(dialog.calls.empty());
    for (HWND w : {window, plainWindow, unbound})
        DestroyWindow(w);
}

TEST_CASE("the frame: strips below the bar in their colours, the rounded shape, only whole strip items drawn")
{
    LiveBox box;
    DialogFrame& frame = box.frame;
    RECT r;
    GetWindowRect(box.window, &r);
    const int h = r.bottom - r.top;
    for (const int w : {300, 413}) {
        CAPTURE(w);
        SetWindowPos(box.window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        SetWindowPos(box.titleBar.window, nullptr, 0, 0, w, 32, SWP_NOMOVE | SWP_NOZORDER);
        frame.Layout(box.window, box.titleBar);
        GetWindowRect(frame.leftStrip, &r);
        CHECK(r.bottom - r.top == h - 36);
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        REQUIRE(GetWindowRgn(box.window, shape) != ERROR);
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
        CHECK((!PtInRegion(shape, 0, 0) && PtInRegion(shape, 15, 0)));
        DeleteObject(shape);
        RedrawWindow(box.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const Image screen = CaptureWindow(box.window);
        const COLORREF Grey = 0x404040, Red = 0x0000CF, outward[] = {Red, Red, Grey, Grey};
        for (int i = 0; i < 4; ++i) {  // each strip's edge towards the outside, to the last pixel
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
        frame.Layout(box.window, box.titleBar);
    CHECK(FreeGdiHandleSlots() == before);
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

TEST_CASE("SharedBrushes: made once, the handles cleared when they are deleted")
{
    const int before = FreeGdiHandleSlots();
    {
        SharedBrushes outer;
        const HBRUSH dark = DarkBrush;
        {
            SharedBrushes inner;
            CHECK((DarkBrush == dark && GetObjectType(LightBrush) == OBJ_BRUSH));
            CHECK(FreeGdiHandleSlots() == before - 2);
        }
        CHECK((DarkBrush == nullptr && LightBrush == nullptr));
    }
    CHECK(FreeGdiHandleSlots() == before);
}
