#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/Pixels.h"
#include "ui/SkinnedDialog.h"

namespace {
POINT Centre(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Moves the cursor to `screen` through the system's input queue, as a mouse
// would, and lets the resulting WM_MOUSEMOVE arrive.
void MoveMouse(POINT screen)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y, 65535, height - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    PumpMessages(60);
}

void ClickTwice()
{
    INPUT inputs[4] = {};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    SendInput(4, inputs, sizeof(INPUT));
    PumpMessages(100);
}

// Sends WM_MOUSEMOVE to `control` with the cursor at `screen`.
void MouseMoveMessage(HWND control, POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    POINT client = screen;
    ScreenToClient(control, &client);
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
}

bool Invalidated(HWND window)
{
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

// Records the messages that reach the control's own procedure: installed
// below the skin's subclass, it sees what the skin passes on.
struct Recorder {
    struct Entry {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> entries;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data)
    {
        Recorder* self = reinterpret_cast<Recorder*>(data);
        if ((message >= WM_LBUTTONDOWN && message <= WM_LBUTTONDBLCLK) || message == WM_ERASEBKGND)
            self->entries.push_back({message, wParam, lParam});
        return DefSubclassProc(window, message, wParam, lParam);
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Entry& entry : entries)
            messages.push_back(entry.message);
        return messages;
    }
};

// Puts the recorder under the skin's subclass of `control`.
void RecordBelowSkin(SkinControl& skin, HWND dialog, int id, Recorder& recorder)
{
    RemoveWindowSubclass(skin.window, SkinControl::SubclassProc, 0);
    SetWindowSubclass(skin.window, Recorder::Proc, 7, reinterpret_cast<DWORD_PTR>(&recorder));
    skin.Attach(dialog, id);
}

// Off every test dialog, and in a corner where no centred dialog of a later
// test on the same display can be.
const POINT Away = {1270, 1015};
}

TEST_CASE("hovering: the capture is taken over the button and released outside, each change repainting without erasing")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    Recorder recorder;
    RecordBelowSkin(button, dialog.window, IDOK, recorder);
    MoveMouse(Away);
    PumpMessages(50);
    REQUIRE(button.hovering == 0);
    const Image normal = BitmapPixels(IDB_BUTTON_NORMAL);
    const Image hover = BitmapPixels(IDB_BUTTON_HOVER);

    // Idle -> hovering: capture, hover face.
    MoveMouse(Centre(button.window));
    CHECK(GetCapture() == button.window);
    CHECK(button.hovering == 1);
    CHECK(CaptureWindow(button.window) == hover);

    // Inside again: nothing changes, nothing is invalidated.
    POINT inside = Centre(button.window);
    inside.x += 20;
    MoveMouse(inside);
    CHECK(GetCapture() == button.window);
    CHECK(button.hovering == 1);

    // Outside: capture released, normal face.
    MoveMouse(Away);
    CHECK(GetCapture() == nullptr);
    CHECK(button.hovering == 0);
    CHECK(CaptureWindow(button.window) == normal);

    // Capture lost while hovering leaves a stale flag; the next move over the
    // button takes the capture again.
    MoveMouse(Centre(button.window));
    REQUIRE(GetCapture() == button.window);
    ReleaseCapture();
    CHECK(button.hovering == 1);
    MoveMouse(inside);
    CHECK(GetCapture() == button.window);
    CHECK(button.hovering == 1);
    MoveMouse(Away);
    CHECK(GetCapture() == nullptr);

    // The repaints never erased the background.
    for (UINT message : recorder.Messages())
        CHECK(message != WM_ERASEBKGND);
}

TEST_CASE("each change of hovering invalidates the control without erasing; a move inside does not")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    Recorder recorder;
    RecordBelowSkin(bar, dialog.window, IDC_TITLE_BAR, recorder);
    PumpMessages(50);
    REQUIRE(!Invalidated(bar.window));

    struct Row {
        POINT cursor;
        bool capture;
        int hovering;
        bool invalidated;
    };
    const POINT centre = Centre(bar.window);
    const Row rows[] = {
        {centre,                       true,  1, true},
        {{centre.x + 30, centre.y},    true,  1, false},
        {Away,                         false, 0, true},
    };
    for (const Row& row : rows) {
        CAPTURE(row.cursor.x);
        MouseMoveMessage(bar.window, row.cursor);
        CHECK((GetCapture() == bar.window) == row.capture);
        CHECK(bar.hovering == row.hovering);
        CHECK(Invalidated(bar.window) == row.invalidated);
        UpdateWindow(bar.window);
    }
    for (UINT message : recorder.Messages())
        CHECK(message != WM_ERASEBKGND);
}

TEST_CASE("the title bar shows its hover look while the mouse is over it")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    bar.SetHoverSlices(IDB_TITLE_RIGHT, IDB_TITLE_LEFT, IDB_TITLE_MIDDLE, 0);
    MoveMouse(Away);
    const Image left = BitmapPixels(IDB_TITLE_LEFT);
    const Image right = BitmapPixels(IDB_TITLE_RIGHT);
    CHECK(CaptureWindow(bar.window).Crop(0, 0, 16, 32) == left);
    MoveMouse(Centre(bar.window));
    CHECK(bar.hovering == 1);
    CHECK(CaptureWindow(bar.window).Crop(0, 0, 16, 32) == right);
    MoveMouse(Away);
    CHECK(bar.hovering == 0);
    CHECK(CaptureWindow(bar.window).Crop(0, 0, 16, 32) == left);
}

TEST_CASE("the button takes the focus only from a window whose class name is exactly \"BUTTON\"")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;

    // A class of this module named "BUTTON" in capitals. While it exists it
    // hides the system's "Button" from this module, so it lives only here.
    WNDCLASSW upper = {};
    upper.lpfnWndProc = DefWindowProcW;
    upper.hInstance = GetModuleHandleW(nullptr);
    upper.lpszClassName = L"BUTTON";
    REQUIRE(RegisterClassW(&upper) != 0);
    HWND capitals = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 40, 10, 10, dialog.window,
                                    nullptr, upper.hInstance, nullptr);
    REQUIRE(capitals != nullptr);
    REQUIRE(ClassName(capitals) == L"BUTTON");
    REQUIRE(ClassName(dialog.cancelButton.window) == L"Button");
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 60, 10, 10, dialog.window,
                                nullptr, upper.hInstance, nullptr);

    struct Row {
        std::string focused;
        HWND focus;
        HWND focusAfter;
    };
    const Row rows[] = {
        {"BUTTON", capitals, button.window},
        {"Button", dialog.cancelButton.window, dialog.cancelButton.window},
        {"Edit", edit, edit},
        {"nothing", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        CAPTURE(row.focused);
        ReleaseCapture();  // idle
        button.hovering = 0;
        SetFocus(row.focus);
        REQUIRE(GetFocus() == row.focus);
        MouseMoveMessage(button.window, Centre(button.window));
        CHECK(GetCapture() == button.window);
        CHECK(button.hovering == 1);
        CHECK(GetFocus() == row.focusAfter);
    }
    ReleaseCapture();
    DestroyWindow(capitals);
    DestroyWindow(edit);
    CHECK(UnregisterClassW(L"BUTTON", upper.hInstance));
}

TEST_CASE("a double-click reaches the button as exactly one more WM_LBUTTONDOWN")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    Recorder recorder;
    RecordBelowSkin(button, dialog.window, IDOK, recorder);

    SUBCASE("the message itself: answered 0, one WM_LBUTTONDOWN posted with its key state and position")
    {
        const WPARAM keys = MK_LBUTTON | MK_SHIFT;
        const LPARAM position = MAKELPARAM(17, 9);
        CHECK(SendMessageW(button.window, WM_LBUTTONDBLCLK, keys, position) == 0);
        CHECK(recorder.entries.empty());
        MSG posted;
        // (Mouse moves of the real pointer may be queued too; only the button
        // messages count.)
        REQUIRE(PeekMessageW(&posted, button.window, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE));
        CHECK(posted.message == WM_LBUTTONDOWN);
        CHECK(posted.wParam == keys);
        CHECK(posted.lParam == position);
        CHECK(!PeekMessageW(&posted, button.window, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE));
        ReleaseCapture();
    }
    SUBCASE("two real clicks: two presses, two releases, two clicks reported")
    {
        MoveMouse(Centre(button.window));
        recorder.entries.clear();
        dialog.commands.clear();
        ClickTwice();
        const std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP};
        CHECK(recorder.Messages() == expected);
        if (recorder.entries.size() == 4)
            CHECK(recorder.entries[2].lParam == recorder.entries[0].lParam);
        const std::vector<WPARAM> clicks = {MAKEWPARAM(IDOK, BN_CLICKED), MAKEWPARAM(IDOK, BN_CLICKED)};
        CHECK(dialog.commands == clicks);
        MoveMouse(Away);
    }
}

TEST_CASE("the cursor is inside on every edge of the window rectangle, the right and bottom ones included")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    RECT r;
    GetWindowRect(button.window, &r);
    struct Row {
        POINT cursor;
        bool inside;
    };
    const Row rows[] = {
        {{r.left, r.top}, true},
        {{r.right, r.bottom}, true},
        {{r.right, r.top}, true},
        {{r.left, r.bottom}, true},
        {{r.left - 1, r.top}, false},
        {{r.left, r.top - 1}, false},
        {{r.right + 1, r.bottom}, false},
        {{r.right, r.bottom + 1}, false},
        {{r.right + 1, r.bottom + 1}, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.cursor.x);
        CAPTURE(row.cursor.y);
        // Hovering with the capture, then a move to the point: the capture is
        // kept exactly when the point counts as inside.
        MouseMoveMessage(button.window, Centre(button.window));
        REQUIRE(GetCapture() == button.window);
        SetCursorPos(row.cursor.x, row.cursor.y);
        CHECK(button.IsCursorInside() == row.inside);
        MouseMoveMessage(button.window, row.cursor);
        CHECK((GetCapture() == button.window) == row.inside);
        CHECK(button.hovering == (row.inside ? 1 : 0));
    }
    MouseMoveMessage(button.window, Away);
}
