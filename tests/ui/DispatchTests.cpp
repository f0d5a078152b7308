#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/Program.h"
#include "ui/framework/Dlg.h"

namespace {
struct Call {
    std::string handler;
    UINT_PTR a, b, c;
    bool operator==(const Call& o) const { return handler == o.handler && a == o.a && b == o.b && c == o.c; }
};

template <typename T>
UINT_PTR U(T value) { return (UINT_PTR)value; }

// Overrides every handler to record its call and answer `answer`.
class RecordingDialog : public Dlg {
public:
    INT_PTR OnActivate(WPARAM w, LPARAM l) override { return Note("OnActivate", w, l); }
    INT_PTR OnCommand(WPARAM w, LPARAM l) override { return Note("OnCommand", w, l); }
    INT_PTR OnClose(WPARAM result) override { return Note("OnClose", result); }
    INT_PTR OnCtlColorDlg(HDC dc, HWND w) override { return Note("OnCtlColorDlg", U(dc), U(w)); }
    INT_PTR OnCtlColorBtn(HDC dc, HWND w) override { return Note("OnCtlColorBtn", U(dc), U(w)); }
    INT_PTR OnCtlColorEdit(HDC dc, HWND w) override { return Note("OnCtlColorEdit", U(dc), U(w)); }
    INT_PTR OnCtlColorListBox(HDC dc, HWND w) override { return Note("OnCtlColorListBox", U(dc), U(w)); }
    INT_PTR OnCtlColorStatic(HDC dc, HWND w) override { return Note("OnCtlColorStatic", U(dc), U(w)); }
    INT_PTR OnDrawItem(UINT id, const DRAWITEMSTRUCT* item) override { return Note("OnDrawItem", id, U(item)); }
    INT_PTR OnHScroll(WPARAM w, LPARAM l) override { return Note("OnHScroll", w, l); }
    INT_PTR OnInitDialog(WPARAM w, LPARAM l) override { return Note("OnInitDialog", w, l); }
    INT_PTR OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) override { return Note("OnMeasureItem", id, U(item)); }
    INT_PTR OnMove(unsigned x, unsigned y) override { return Note("OnMove", x, y); }
    INT_PTR OnNcPaint() override { return Note("OnNcPaint"); }
    INT_PTR OnNotify(WPARAM id, NMHDR* header) override { return Note("OnNotify", id, U(header)); }
    INT_PTR OnPaint() override { return Note("OnPaint"); }
    INT_PTR OnTimer(WPARAM id, LPARAM callback) override { return Note("OnTimer", id, callback); }
    INT_PTR OnVScroll(WPARAM w, LPARAM l) override { return Note("OnVScroll", w, l); }
    INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) override { return Note("OnMessage", message, w, l); }

    std::vector<Call> calls;
    INT_PTR answer = 0;

private:
    INT_PTR Note(const char* handler, UINT_PTR a = 0, UINT_PTR b = 0, UINT_PTR c = 0)
    {
        calls.push_back({handler, a, b, c});
        return answer;
    }
};

HWND OpenModeless(Dlg* dialog)
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                              InitialDialogProc, reinterpret_cast<LPARAM>(dialog));
}

struct Route {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Call expected;
};

// Every message of the routing table, with arguments whose route can be seen.
std::vector<Route> RoutingTable(HWND child)
{
    static DRAWITEMSTRUCT draw;
    static MEASUREITEMSTRUCT measure;
    static NMHDR notify;
    const UINT_PTR dc = 0x1234, control = U(child);
    const LPARAM l = static_cast<LPARAM>(control);
    return {
        {WM_MOVE, 0, MAKELPARAM(-10, -20), {"OnMove", 65526, 65516, 0}},
        {WM_ACTIVATE, WA_INACTIVE, l, {"OnActivate", WA_INACTIVE, control, 0}},
        {WM_PAINT, 0, 0, {"OnPaint", 0, 0, 0}},
        {WM_CLOSE, 2, 77, {"OnClose", 2, 0, 0}},
        {WM_DRAWITEM, 1011, (LPARAM)&draw, {"OnDrawItem", 1011, U(&draw), 0}},
        {WM_MEASUREITEM, 5, (LPARAM)&measure, {"OnMeasureItem", 5, U(&measure), 0}},
        {WM_NOTIFY, 7, (LPARAM)&notify, {"OnNotify", 7, U(&notify), 0}},
        {WM_NCPAINT, 1, 0, {"OnNcPaint", 0, 0, 0}},
        {WM_INITDIALOG, dc, 0x6600, {"OnInitDialog", dc, 0x6600, 0}},
        {WM_COMMAND, MAKEWPARAM(1234, 5), l, {"OnCommand", MAKEWPARAM(1234, 5), control, 0}},
        {WM_TIMER, 9, 0, {"OnTimer", 9, 0, 0}},
        {WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 3), l, {"OnHScroll", MAKEWPARAM(SB_LINEDOWN, 3), control, 0}},
        {WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 4), l, {"OnVScroll", MAKEWPARAM(SB_PAGEUP, 4), control, 0}},
        {WM_CTLCOLOREDIT, dc, l, {"OnCtlColorEdit", dc, control, 0}},
        {WM_CTLCOLORLISTBOX, dc, l, {"OnCtlColorListBox", dc, control, 0}},
        {WM_CTLCOLORBTN, dc, l, {"OnCtlColorBtn", dc, control, 0}},
        {WM_CTLCOLORDLG, dc, l, {"OnCtlColorDlg", dc, control, 0}},
        {WM_CTLCOLORSTATIC, dc, l, {"OnCtlColorStatic", dc, control, 0}},
        {WM_CTLCOLORSCROLLBAR, dc, l, {"OnMessage", WM_CTLCOLORSCROLLBAR, dc, control}},
        {WM_CTLCOLORMSGBOX, dc, l, {"OnMessage", WM_CTLCOLORMSGBOX, dc, control}},
    };
}
}

TEST_CASE("the object is bound at WM_INITDIALOG; before it, without an object or for another window, the answer is 0")
{
    RecordingDialog dialog;
    dialog.answer = 0x5A5A01;
    HWND window = OpenModeless(&dialog);
    REQUIRE(window != nullptr);
    CHECK(dialog.window == window);
    CHECK(GetWindowLongPtrW(window, GWLP_USERDATA) == (LONG_PTR)&dialog);
    CHECK(GetWindowLongPtrW(window, DWLP_DLGPROC) == (LONG_PTR)&RoutingDialogProc);
    // WM_SETFONT and the creation messages came first and reached no handler.
    REQUIRE(!dialog.calls.empty());
    CHECK(dialog.calls.front().handler == "OnInitDialog");
    CHECK(dialog.calls.front().b == U(&dialog));

    HWND unbound = OpenModeless(nullptr);
    REQUIRE(unbound != nullptr);
    CHECK(InitialDialogProc(unbound, WM_SETFONT, U(GetStockObject(DEFAULT_GUI_FONT)), TRUE) == 0);
    CHECK(InitialDialogProc(unbound, WM_INITDIALOG, 0, 0) == 0);
    CHECK(GetWindowLongPtrW(unbound, GWLP_USERDATA) == 0);
    CHECK(GetWindowLongPtrW(unbound, DWLP_DLGPROC) == (LONG_PTR)&InitialDialogProc);
    // A window naming an object bound to another window.
    SetWindowLongPtrW(unbound, GWLP_USERDATA, (LONG_PTR)&dialog);
    dialog.calls.clear();
    CHECK(RoutingDialogProc(unbound, WM_COMMAND, IDOK, 0) == 0);
    CHECK(dialog.calls.empty());
    DestroyWindow(unbound);
    DestroyWindow(window);
}

TEST_CASE("every message of the routing table reaches its handler with its arguments, and its result comes back")
{
    RecordingDialog dialog;
    HWND window = OpenModeless(&dialog);
    REQUIRE(window != nullptr);
    for (const Route& route : RoutingTable(GetDlgItem(window, IDOK))) {
        CAPTURE(route.expected.handler);
        CAPTURE(route.message);
        // Through the real window, as the dialog manager calls the procedure.
        dialog.calls.clear();
        dialog.answer = 0;
        SendMessageW(window, route.message, route.wParam, route.lParam);
        REQUIRE(!dialog.calls.empty());
        CHECK(dialog.calls.front() == route.expected);
        dialog.calls.clear();
        dialog.answer = 0x5A5A01;
        CHECK(RoutingDialogProc(window, route.message, route.wParam, route.lParam) == 0x5A5A01);
        CHECK(dialog.calls == std::vector<Call>{route.expected});
    }
    dialog.answer = 0;
    DestroyWindow(window);
}

TEST_CASE("a Dlg that overrides nothing answers 1 to WM_INITDIALOG, 0 to all else, and its buttons do not end it")
{
    Dlg plain;
    HWND window = OpenModeless(&plain);
    REQUIRE(window != nullptr);
    for (const Route& route : RoutingTable(GetDlgItem(window, IDOK))) {
        CAPTURE(route.message);
        CHECK(RoutingDialogProc(window, route.message, route.wParam, route.lParam) ==
              (route.message == WM_INITDIALOG ? 1 : 0));
    }
    // EndDialog would hide it.
    ShowWindow(window, SW_SHOW);
    SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    SystemClose(window);
    PumpMessages(100);
    CHECK(IsWindowVisible(window));
    DestroyWindow(window);
}
