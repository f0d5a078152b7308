#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/TestKit.h"

namespace {
// Off every test dialog, in a corner where no centred dialog of a later test can be.
const POINT Away = {1270, 1015};

POINT Centre(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Moves the real cursor through the system's input queue, as a mouse would.
void MoveMouse(POINT screen)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    PumpMessages(60);
}

// Sends WM_MOUSEMOVE to `control` with the cursor at `screen`.
void MouseMoveMessage(HWND control, POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    ScreenToClient(control, &screen);
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
}

// Installed below the skin's subclass: records the mouse buttons and erasures the skin passes on.
struct Recorder {
    std::vector<MSG> seen;
    HWND control;

    Recorder(SkinControl& skin, HWND dialog, int id) : control(skin.window)
    {
        RemoveWindowSubclass(control, SkinControl::SubclassProc, 0);
        SetWindowSubclass(control, Proc, 7, reinterpret_cast<DWORD_PTR>(this));
        skin.Attach(dialog, id);
    }
    ~Recorder() { RemoveWindowSubclass(control, Proc, 7); }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
    {
        if ((message >= WM_LBUTTONDOWN && message <= WM_LBUTTONDBLCLK) || message == WM_ERASEBKGND)
            reinterpret_cast<Recorder*>(self)->seen.push_back({window, message, wParam, lParam, 0, {}});
        return DefSubclassProc(window, message, wParam, lParam);
    }
};
}

TEST_CASE("hovering takes the capture and shows the hover look; leaving releases it; neither erases")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    dialog.titleBar.SetHoverSlices(IDB_TITLE_RIGHT, IDB_TITLE_LEFT, IDB_TITLE_MIDDLE, 0);
    struct Row {
        SkinControl& skin;
        int id;
        Image normal, hover;
    };
    const Row rows[] = {
        {dialog.okButton, IDOK, BitmapPixels(IDB_BUTTON_NORMAL), BitmapPixels(IDB_BUTTON_HOVER)},
        {dialog.titleBar, IDC_TITLE_BAR, ExpectedBar(300, IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE),
         ExpectedBar(300, IDB_TITLE_RIGHT, IDB_TITLE_LEFT, IDB_TITLE_MIDDLE)},
    };
    for (const Row& row : rows) {
        CAPTURE(row.id);
        Recorder recorder(row.skin, dialog.window, row.id);
        HWND control = row.skin.window;
        MoveMouse(Away);
        REQUIRE(row.skin.hovering == 0);
        MoveMouse(Centre(control));
        CHECK(GetCapture() == control);
        CHECK(row.skin.hovering == 1);
        CHECK(CaptureWindow(control) == row.hover);
        MoveMouse({Centre(control).x + 20, Centre(control).y});
        CHECK(GetCapture() == control);
        MoveMouse(Away);
        CHECK(GetCapture() == nullptr);
        CHECK(row.skin.hovering == 0);
        CHECK(CaptureWindow(control) == row.normal);
        // A capture lost while hovering leaves the flag; the next move takes it again.
        MoveMouse(Centre(control));
        ReleaseCapture();
        MoveMouse({Centre(control).x + 20, Centre(control).y});
        CHECK(GetCapture() == control);
        MoveMouse(Away);
        CHECK(GetCapture() == nullptr);
        CHECK(recorder.seen.empty());
    }
}

TEST_CASE("hovering takes the focus only from a window whose class name is exactly \"BUTTON\"")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    // A class of this module named "BUTTON" in capitals: while it exists it hides the system's
    // "Button" from this module.
    WNDCLASSW upper = {};
    upper.lpfnWndProc = DefWindowProcW;
    upper.hInstance = GetModuleHandleW(nullptr);
    upper.lpszClassName = L"BUTTON";
    REQUIRE(RegisterClassW(&upper) != 0);
    HWND capitals = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 40, 10, 10, dialog.window,
                                    nullptr, upper.hInstance, nullptr);
    REQUIRE(ClassName(capitals) == L"BUTTON");
    HWND cancel = GetDlgItem(dialog.window, IDCANCEL);
    REQUIRE(ClassName(cancel) == L"Button");
    // Where the focus is, and where it must be once the mouse is over the button.
    const std::pair<HWND, HWND> rows[] = {
        {capitals, button.window}, {cancel, cancel}, {nullptr, nullptr}};
    for (const auto& row : rows) {
        CAPTURE(ClassName(row.first));
        ReleaseCapture();
        SetFocus(row.first);
        MouseMoveMessage(button.window, Centre(button.window));
        CHECK(GetCapture() == button.window);
        CHECK(GetFocus() == row.second);
    }
    ReleaseCapture();
    DestroyWindow(capitals);
    CHECK(UnregisterClassW(L"BUTTON", upper.hInstance));
}

TEST_CASE("a real double-click reaches the button as two presses, two releases and two clicks")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    Recorder recorder(dialog.okButton, dialog.window, IDOK);
    MoveMouse(Centre(dialog.okButton.window));
    recorder.seen.clear();
    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    SendInput(4, clicks, sizeof(INPUT));
    PumpMessages(100);
    REQUIRE(recorder.seen.size() == 4);
    for (int i = 0; i < 4; ++i) {
        CAPTURE(i);
        CHECK(recorder.seen[i].message == (i % 2 == 0 ? WM_LBUTTONDOWN : WM_LBUTTONUP));
        CHECK(recorder.seen[i].wParam == recorder.seen[i % 2].wParam);
        CHECK(recorder.seen[i].lParam == recorder.seen[0].lParam);
    }
    CHECK(dialog.commands == std::vector<WPARAM>(2, MAKEWPARAM(IDOK, BN_CLICKED)));
    MoveMouse(Away);
}

TEST_CASE("the cursor is inside on every edge of the window rectangle, the right and bottom ones included")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    RECT r;
    GetWindowRect(button.window, &r);
    const std::pair<POINT, bool> rows[] = {
        {{r.left, r.top}, true},      {{r.right, r.bottom}, true},      {{r.left - 1, r.top}, false},
        {{r.left, r.top - 1}, false}, {{r.right + 1, r.bottom}, false}, {{r.right, r.bottom + 1}, false},
    };
    for (const auto& row : rows) {
        const POINT cursor = row.first;
        const bool inside = row.second;
        CAPTURE(cursor.x);
        CAPTURE(cursor.y);
        // Hovering, then a move to the point: the capture stays exactly when the point is inside.
        MouseMoveMessage(button.window, Centre(button.window));
        REQUIRE(GetCapture() == button.window);
        SetCursorPos(cursor.x, cursor.y);
        CHECK(button.IsCursorInside() == inside);
        MouseMoveMessage(button.window, cursor);
        CHECK((GetCapture() == button.window) == inside);
        CHECK(button.hovering == (inside ? 1 : 0));
    }
    MouseMoveMessage(button.window, Away);
}
