#include <doctest/doctest.h>

#include <string>

#include "resource.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
template <typename T>
UINT_PTR U(T value) { return (UINT_PTR)value; }
std::string Pair(UINT_PTR a, UINT_PTR b) { return std::to_string(a) + " " + std::to_string(b); }

// A few handlers record what reached them and answer 0x5A5A01.
struct RecordingDialog : Dlg {
    std::string call;
    INT_PTR Note(const std::string& what)
    {
        call = what;
        return 0x5A5A01;
    }
    INT_PTR OnCommand(WPARAM w, LPARAM l) override { return Note("Command " + Pair(w, U(l))); }
    INT_PTR OnCtlColorBtn(HDC, HWND) override { return Note("Btn"); }
    INT_PTR OnMove(unsigned x, unsigned y) override { return Note("Move " + Pair(x, y)); }
    INT_PTR OnMessage(UINT message, WPARAM, LPARAM) override { return Note("Message " + std::to_string(message)); }
};

HWND Open(Dlg* dialog)
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                              InitialDialogProc, reinterpret_cast<LPARAM>(dialog));
}
}

TEST_CASE("bound at WM_INITDIALOG, then messages to their handlers with their arguments and back with the result")
{
    RecordingDialog dialog;
    Dlg plain;  // overrides nothing
    HWND window = Open(&dialog), plainWindow = Open(&plain), unbound = Open(nullptr);
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* call;
    } routes[] = {
        {WM_MOVE, 0, MAKELPARAM(-10, -20), "Move 65526 65516"}, {WM_COMMAND, 0x51234, 77, "Command 332340 77"},
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
    DialogFrame& frame = box.frame;
    RECT r;
    GetWindowRect(box.window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    GetWindowRect(frame.leftStrip, &r);
    CHECK(r.bottom - r.top == h - 36);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    REQUIRE(GetWindowRgn(box.window, shape) != ERROR);
    for (int y = 0; y < 16; ++y) {  // the right corner mirrors the left one, row by row
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
    // A second layout replaces the shape; the window deletes the old region.
    const int before = FreeGdiHandleSlots();
    for (int i = 0; i < 100; ++i)
        frame.Layout(box.window, box.titleBar);
    CHECK(FreeGdiHandleSlots() == before);
    for (const int id : {IDC_STRIP_LEFT, IDC_STRIP_BOTTOM, IDC_STRIP_RIGHT, IDOK, IDC_TITLE_BAR}) {
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
        SharedBrushes inner;
        CHECK((DarkBrush == dark && GetObjectType(LightBrush) == OBJ_BRUSH && FreeGdiHandleSlots() == before - 2));
    }
    CHECK((DarkBrush == nullptr && LightBrush == nullptr && FreeGdiHandleSlots() == before));
}
