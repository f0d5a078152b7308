#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "res/SkinTestIds.h"
#include "support/Program.h"
#include "ui/framework/Dlg.h"

namespace {
struct Call {
    std::string handler;
    UINT_PTR a, b, c;
};

bool operator==(const Call& x, const Call& y)
{
    return x.handler == y.handler && x.a == y.a && x.b == y.b && x.c == y.c;
}

// Overrides every handler: records the call and its arguments, and returns
// `answer` (0 by default, so that the dialog manager goes on as usual).
class RecordingDialog : public Dlg {
public:
    INT_PTR OnActivate(WPARAM w, LPARAM l) override { return Note("OnActivate", w, l); }
    INT_PTR OnCommand(WPARAM w, LPARAM l) override { return Note("OnCommand", w, l); }
    INT_PTR OnClose(WPARAM result) override { return Note("OnClose", result); }
    INT_PTR OnCtlColorDlg(HDC dc, HWND w) override { return Note("OnCtlColorDlg", Ptr(dc), Ptr(w)); }
    INT_PTR OnCtlColorBtn(HDC dc, HWND w) override { return Note("OnCtlColorBtn", Ptr(dc), Ptr(w)); }
    INT_PTR OnCtlColorEdit(HDC dc, HWND w) override { return Note("OnCtlColorEdit", Ptr(dc), Ptr(w)); }
    INT_PTR OnCtlColorListBox(HDC dc, HWND w) override { return Note("OnCtlColorListBox", Ptr(dc), Ptr(w)); }
    INT_PTR OnCtlColorStatic(HDC dc, HWND w) override { return Note("OnCtlColorStatic", Ptr(dc), Ptr(w)); }
    INT_PTR OnDrawItem(UINT id, const DRAWITEMSTRUCT* item) override { return Note("OnDrawItem", id, Ptr(item)); }
    INT_PTR OnHScroll(WPARAM w, LPARAM l) override { return Note("OnHScroll", w, l); }
    INT_PTR OnInitDialog(WPARAM w, LPARAM l) override
    {
        Note("OnInitDialog", w, l);
        return initAnswer;
    }
    INT_PTR OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) override { return Note("OnMeasureItem", id, Ptr(item)); }
    INT_PTR OnMove(unsigned x, unsigned y) override { return Note("OnMove", x, y); }
    INT_PTR OnNcPaint() override { return Note("OnNcPaint"); }
    INT_PTR OnNotify(WPARAM id, NMHDR* header) override { return Note("OnNotify", id, Ptr(header)); }
    INT_PTR OnPaint() override { return Note("OnPaint"); }
    INT_PTR OnTimer(WPARAM id, LPARAM callback) override { return Note("OnTimer", id, callback); }
    INT_PTR OnVScroll(WPARAM w, LPARAM l) override { return Note("OnVScroll", w, l); }
    INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) override { return Note("OnMessage", message, w, l); }

    std::vector<Call> calls;
    INT_PTR answer = 0;
    INT_PTR initAnswer = 1;

    // The calls of one handler.
    std::vector<Call> Of(const std::string& handler) const
    {
        std::vector<Call> found;
        for (const Call& call : calls)
            if (call.handler == handler)
                found.push_back(call);
        return found;
    }

private:
    template <typename T>
    static UINT_PTR Ptr(T pointer) { return reinterpret_cast<UINT_PTR>(pointer); }
    INT_PTR Note(const char* handler, UINT_PTR a = 0, UINT_PTR b = 0, UINT_PTR c = 0)
    {
        calls.push_back({handler, a, b, c});
        return answer;
    }
};

HWND OpenModeless(Dlg& dialog, UINT templateId)
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr, InitialDialogProc,
                              reinterpret_cast<LPARAM>(&dialog));
}

// Every message of the routing table, with arguments whose route can be seen.
struct Route {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Call expected;
};

std::vector<Route> RoutingTable(HDC dc, HWND child, DRAWITEMSTRUCT* draw, MEASUREITEMSTRUCT* measure, NMHDR* notify)
{
    const UINT_PTR hdc = reinterpret_cast<UINT_PTR>(dc);
    const UINT_PTR control = reinterpret_cast<UINT_PTR>(child);
    const WPARAM w = hdc;
    const LPARAM l = static_cast<LPARAM>(control);
    return {
        // message             wParam                      lParam                        handler and its arguments
        {WM_MOVE,              0,                          MAKELPARAM(120, 340),         {"OnMove", 120, 340, 0}},
        {WM_MOVE,              0,                          MAKELPARAM(-10, -20),         {"OnMove", 65526, 65516, 0}},
        {WM_ACTIVATE,          WA_INACTIVE,                l,                            {"OnActivate", WA_INACTIVE, control, 0}},
        {WM_PAINT,             0,                          0,                            {"OnPaint", 0, 0, 0}},
        {WM_CLOSE,             2,                          77,                           {"OnClose", 2, 0, 0}},
        {WM_DRAWITEM,          1011,                       reinterpret_cast<LPARAM>(draw), {"OnDrawItem", 1011, reinterpret_cast<UINT_PTR>(draw), 0}},
        {WM_MEASUREITEM,       5,                          reinterpret_cast<LPARAM>(measure), {"OnMeasureItem", 5, reinterpret_cast<UINT_PTR>(measure), 0}},
        {WM_NOTIFY,            7,                          reinterpret_cast<LPARAM>(notify), {"OnNotify", 7, reinterpret_cast<UINT_PTR>(notify), 0}},
        {WM_NCPAINT,           1,                          0,                            {"OnNcPaint", 0, 0, 0}},
        {WM_INITDIALOG,        w,                          0x6600,                       {"OnInitDialog", hdc, 0x6600, 0}},
        {WM_COMMAND,           MAKEWPARAM(1234, 5),        l,                            {"OnCommand", MAKEWPARAM(1234, 5), control, 0}},
        {WM_TIMER,             9,                          0,                            {"OnTimer", 9, 0, 0}},
        {WM_HSCROLL,           MAKEWPARAM(SB_LINEDOWN, 3), l,                            {"OnHScroll", MAKEWPARAM(SB_LINEDOWN, 3), control, 0}},
        {WM_VSCROLL,           MAKEWPARAM(SB_PAGEUP, 4),   l,                            {"OnVScroll", MAKEWPARAM(SB_PAGEUP, 4), control, 0}},
        {WM_CTLCOLOREDIT,      w,                          l,                            {"OnCtlColorEdit", hdc, control, 0}},
        {WM_CTLCOLORLISTBOX,   w,                          l,                            {"OnCtlColorListBox", hdc, control, 0}},
        {WM_CTLCOLORBTN,       w,                          l,                            {"OnCtlColorBtn", hdc, control, 0}},
        {WM_CTLCOLORDLG,       w,                          l,                            {"OnCtlColorDlg", hdc, control, 0}},
        {WM_CTLCOLORSTATIC,    w,                          l,                            {"OnCtlColorStatic", hdc, control, 0}},
        {WM_CTLCOLORSCROLLBAR, w,                          l,                            {"OnMessage", WM_CTLCOLORSCROLLBAR, hdc, control}},
        {WM_CTLCOLORMSGBOX,    w,                          l,                            {"OnMessage", WM_CTLCOLORMSGBOX, hdc, control}},
        {WM_USER + 5,          11,                         12,                           {"OnMessage", WM_USER + 5, 11, 12}},
        {WM_NULL,              0,                          0,                            {"OnMessage", WM_NULL, 0, 0}},
    };
}
}

TEST_CASE("binding: the object gets the window at WM_INITDIALOG and the routing procedure takes over")
{
    RecordingDialog dialog;
    CHECK(dialog.window == nullptr);
    HWND window = OpenModeless(dialog, IDD_TEST_PLAIN);
    REQUIRE(window != nullptr);
    CHECK(dialog.window == window);
    CHECK(GetWindowLongPtrW(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(&dialog));
    CHECK(GetWindowLongPtrW(window, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&RoutingDialogProc));
    // Nothing reached a handler before WM_INITDIALOG (WM_SETFONT and the
    // creation messages came first), and OnInitDialog got the object.
    REQUIRE(!dialog.calls.empty());
    CHECK(dialog.calls.front().handler == "OnInitDialog");
    CHECK(dialog.calls.front().b == reinterpret_cast<UINT_PTR>(&dialog));
    DestroyWindow(window);
}

TEST_CASE("every message of the routing table reaches its handler with its arguments, and its result comes back")
{
    RecordingDialog dialog;
    HWND window = OpenModeless(dialog, IDD_TEST_PLAIN);
    REQUIRE(window != nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HWND child = GetDlgItem(window, IDOK);
    DRAWITEMSTRUCT draw = {};
    MEASUREITEMSTRUCT measure = {};
    NMHDR notify = {};
    for (const Route& route : RoutingTable(dc, child, &draw, &measure, &notify)) {
        CAPTURE(route.expected.handler);
        CAPTURE(route.message);
        // Through the real window: the dialog manager calls the procedure.
        dialog.calls.clear();
        dialog.answer = 0;
        dialog.initAnswer = 0;
        SendMessageW(window, route.message, route.wParam, route.lParam);
        REQUIRE(!dialog.calls.empty());
        CHECK(dialog.calls.front() == route.expected);
        // The handler's result is the procedure's result, unchanged.
        dialog.calls.clear();
        dialog.answer = dialog.initAnswer = 0x5A5A01;
        CHECK(RoutingDialogProc(window, route.message, route.wParam, route.lParam) == 0x5A5A01);
        REQUIRE(dialog.calls.size() == 1);
        CHECK(dialog.calls.front() == route.expected);
    }
    dialog.answer = 0;
    DeleteDC(dc);
    DestroyWindow(window);
}

TEST_CASE("a colour handler's brush is what the system gets for the colour message")
{
    RecordingDialog dialog;
    HWND window = OpenModeless(dialog, IDD_TEST_PLAIN);
    REQUIRE(window != nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(9, 8, 7));
    HDC dc = GetDC(window);
    dialog.answer = reinterpret_cast<INT_PTR>(brush);
    for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX}) {
        CAPTURE(message);
        CHECK(SendMessageW(window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)) ==
              reinterpret_cast<LRESULT>(brush));
    }
    dialog.answer = 0;
    ReleaseDC(window, dc);
    DestroyWindow(window);
    DeleteObject(brush);
}

TEST_CASE("a dialog moved left of and above the screen's origin gets its position as unsigned 16-bit values")
{
    RecordingDialog dialog;
    HWND window = OpenModeless(dialog, IDD_TEST_PLAIN);
    REQUIRE(window != nullptr);
    dialog.calls.clear();
    SetWindowPos(window, nullptr, -50, -60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    REQUIRE(origin.x < 0);
    REQUIRE(origin.y < 0);
    const std::vector<Call> moves = dialog.Of("OnMove");
    REQUIRE(moves.size() == 1);
    CHECK(moves[0].a == static_cast<UINT_PTR>(65536 + origin.x));
    CHECK(moves[0].b == static_cast<UINT_PTR>(65536 + origin.y));
    DestroyWindow(window);
}

TEST_CASE("without an object, or for another window, the procedures answer 0 and call no handler")
{
    SUBCASE("WM_SETFONT before WM_INITDIALOG, and WM_INITDIALOG without an object")
    {
        HWND unbound = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_PLAIN), nullptr,
                                          InitialDialogProc, 0);
        REQUIRE(unbound != nullptr);
        CHECK(GetWindowLongPtrW(unbound, GWLP_USERDATA) == 0);
        CHECK(GetWindowLongPtrW(unbound, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&InitialDialogProc));
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        CHECK(InitialDialogProc(unbound, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE) == 0);
        CHECK(InitialDialogProc(unbound, WM_COMMAND, IDOK, 0) == 0);
        CHECK(InitialDialogProc(unbound, WM_INITDIALOG, 0, 0) == 0);
        CHECK(GetWindowLongPtrW(unbound, GWLP_USERDATA) == 0);
        CHECK(GetWindowLongPtrW(unbound, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&InitialDialogProc));
        DestroyWindow(unbound);
    }
    SUBCASE("a window that carries no object, or an object bound to another window")
    {
        RecordingDialog dialog;
        HWND window = OpenModeless(dialog, IDD_TEST_PLAIN);
        RecordingDialog other;
        HWND otherWindow = OpenModeless(other, IDD_TEST_PLAIN);
        REQUIRE(window != nullptr);
        REQUIRE(otherWindow != nullptr);
        dialog.answer = other.answer = 0x5A5A01;
        dialog.calls.clear();
        other.calls.clear();
        // The second window now names the first object.
        SetWindowLongPtrW(otherWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dialog));
        CHECK(RoutingDialogProc(otherWindow, WM_COMMAND, IDOK, 0) == 0);
        SetWindowLongPtrW(otherWindow, GWLP_USERDATA, 0);
        CHECK(RoutingDialogProc(otherWindow, WM_COMMAND, IDOK, 0) == 0);
        CHECK(dialog.calls.empty());
        CHECK(other.calls.empty());
        dialog.answer = other.answer = 0;
        DestroyWindow(otherWindow);
        DestroyWindow(window);
    }
}

namespace {
// Acts on the running modal dialog from a thread timer, which its modal loop
// dispatches.
struct ModalScript {
    Dlg* dialog = nullptr;
    std::vector<void (*)(HWND)> steps;
    size_t next = 0;
    bool aliveAtEnd = false;
};
ModalScript* script = nullptr;

void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = script->dialog->window;
    if (window == nullptr)
        return;
    if (script->next < script->steps.size()) {
        script->steps[script->next++](window);
        return;
    }
    KillTimer(nullptr, timer);
    script->aliveAtEnd = IsWindow(window) && IsWindowVisible(window);
    EndDialog(window, 42);
}

INT_PTR RunScripted(Dlg& dialog, UINT templateId, std::vector<void (*)(HWND)> steps, bool& aliveAtEnd)
{
    ModalScript run;
    run.dialog = &dialog;
    run.steps = std::move(steps);
    script = &run;
    SetTimer(nullptr, 0, 40, RunStep);
    const INT_PTR result = RunDialog(dialog, nullptr, templateId);
    script = nullptr;
    aliveAtEnd = run.aliveAtEnd;
    return result;
}

void ClickOk(HWND window) { SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0); }
void ClickCancel(HWND window) { SendMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0); }
void PressEscape(HWND window)
{
    SetFocus(GetDlgItem(window, IDC_TEST_EDIT));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
}
void PressEnter(HWND window)
{
    SetFocus(GetDlgItem(window, IDC_TEST_EDIT));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
}

// Ok and Cancel close the dialog the system's way: OnCommand posts WM_CLOSE
// with the button's id, OnClose ends the dialog with it.
class ClosingDialog : public RecordingDialog {
public:
    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        RecordingDialog::OnCommand(wParam, lParam);
        const WORD id = LOWORD(wParam);
        if (id != IDOK && id != IDCANCEL)
            return 0;
        PostMessageW(window, WM_CLOSE, id, 0);
        return 1;
    }
    INT_PTR OnClose(WPARAM result) override
    {
        RecordingDialog::OnClose(result);
        EndDialog(window, static_cast<INT_PTR>(result));
        return 1;
    }
};
}

TEST_CASE("a Dlg that overrides nothing answers 1 to WM_INITDIALOG, 0 to all else, and its buttons do not end it")
{
    Dlg plain;
    HWND window = OpenModeless(plain, IDD_TEST_PLAIN);
    REQUIRE(window != nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    DRAWITEMSTRUCT draw = {};
    MEASUREITEMSTRUCT measure = {};
    NMHDR notify = {};
    for (const Route& route : RoutingTable(dc, GetDlgItem(window, IDOK), &draw, &measure, &notify)) {
        CAPTURE(route.message);
        CHECK(RoutingDialogProc(window, route.message, route.wParam, route.lParam) ==
              (route.message == WM_INITDIALOG ? 1 : 0));
    }
    DeleteDC(dc);
    DestroyWindow(window);

    Dlg modal;
    bool alive = false;
    const INT_PTR result = RunScripted(modal, IDD_TEST_PLAIN,
                                       {ClickOk, ClickCancel, PressEscape, PressEnter, SystemClose}, alive);
    CHECK(alive);
    CHECK(result == 42);
}

TEST_CASE("Ok, Cancel, Escape, Enter and the system's close reach OnClose with 1, 2, 2, 1 and 0")
{
    struct Row {
        const char* action;
        void (*step)(HWND);
        WPARAM command;  // 0: none
        INT_PTR result;
    };
    const Row rows[] = {
        {"Ok", ClickOk, IDOK, 1},
        {"Cancel", ClickCancel, IDCANCEL, 2},
        {"Escape", PressEscape, IDCANCEL, 2},
        {"Enter", PressEnter, IDOK, 1},
        {"system close", SystemClose, 0, 0},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.action));
        ClosingDialog dialog;
        bool alive = false;
        CHECK(RunScripted(dialog, IDD_TEST_PLAIN, {row.step}, alive) == row.result);
        // The edit box reports its focus too; only the buttons' ids count.
        std::vector<WPARAM> buttonCommands;
        for (const Call& call : dialog.Of("OnCommand"))
            if (LOWORD(call.a) == IDOK || LOWORD(call.a) == IDCANCEL)
                buttonCommands.push_back(LOWORD(call.a));
        CHECK(buttonCommands == (row.command != 0 ? std::vector<WPARAM>{row.command} : std::vector<WPARAM>{}));
        const std::vector<Call> closes = dialog.Of("OnClose");
        REQUIRE(closes.size() == 1);
        CHECK(closes[0].a == static_cast<UINT_PTR>(row.result));

        // The window is destroyed after EndDialog while the object lives:
        // WM_DESTROY and WM_NCDESTROY reach OnMessage after OnClose.
        bool destroyed = false;
        bool ncDestroyed = false;
        bool closed = false;
        for (const Call& call : dialog.calls) {
            if (call.handler == "OnClose")
                closed = true;
            if (call.handler == "OnMessage" && call.a == WM_DESTROY)
                destroyed = closed;
            if (call.handler == "OnMessage" && call.a == WM_NCDESTROY)
                ncDestroyed = closed && destroyed;
        }
        CHECK(destroyed);
        CHECK(ncDestroyed);
    }
}
