#include <doctest/doctest.h>

#include <string>

#include "app/Language.h"
#include "resource.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/Pixels.h"
#include "ui/SkinnedDialog.h"

namespace {
const COLORREF Untouched = RGB(1, 254, 3);
const RECT FaceRect = {0, 0, 109, 37};

// The pixels that differ from `face`: where the caption was drawn.
std::vector<POINT> Differences(const Image& image, const Image& face)
{
    std::vector<POINT> points;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y) != face.At(x, y))
                points.push_back({x, y});
    return points;
}

std::vector<POINT> PixelsOf(const Image& image, COLORREF color)
{
    std::vector<POINT> points;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y) == color)
                points.push_back({x, y});
    return points;
}

bool SamePoints(const std::vector<POINT>& a, const std::vector<POINT>& b, int dx, int dy)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x + dx || a[i].y != b[i].y + dy)
            return false;
    return true;
}
}

TEST_CASE("each state of the button paints its face: pressed, then disabled, then hover, then a whole draw")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    const Image normal = BitmapPixels(IDB_BUTTON_NORMAL);
    const Image pressed = BitmapPixels(IDB_BUTTON_PRESSED);
    const Image hover = BitmapPixels(IDB_BUTTON_HOVER);
    const Image disabled = BitmapPixels(IDB_BUTTON_DISABLED);
    REQUIRE(normal.width == 109);
    REQUIRE(normal != pressed);
    REQUIRE(normal != hover);
    REQUIRE(normal != disabled);

    struct Row {
        UINT state;
        UINT action;
        int hovering;
        const Image* face;  // null: nothing may be painted
    };
    const Row rows[] = {
        // itemState                                 itemAction                     hovering  face
        {ODS_SELECTED,                               ODA_DRAWENTIRE,                0,        &pressed},
        {ODS_SELECTED,                               ODA_SELECT,                    0,        &pressed},
        {ODS_SELECTED | ODS_HOTLIGHT,                ODA_SELECT,                    1,        &pressed},
        {ODS_SELECTED | ODS_DISABLED,                ODA_DRAWENTIRE,                0,        &pressed},
        {ODS_DISABLED,                               ODA_DRAWENTIRE,                0,        &disabled},
        {ODS_DISABLED,                               ODA_DRAWENTIRE,                1,        &disabled},
        {ODS_DISABLED | ODS_HOTLIGHT,                ODA_FOCUS,                     0,        &disabled},
        {ODS_HOTLIGHT,                               ODA_FOCUS,                     0,        &hover},
        {0,                                          ODA_DRAWENTIRE,                1,        &hover},
        {ODS_FOCUS,                                  ODA_FOCUS,                     1,        &hover},
        {0,                                          ODA_DRAWENTIRE,                0,        &normal},
        {ODS_FOCUS,                                  ODA_DRAWENTIRE,                0,        &normal},
        {ODS_FOCUS,                                  ODA_FOCUS,                     0,        nullptr},
        {0,                                          ODA_FOCUS,                     0,        nullptr},
        {0,                                          ODA_SELECT,                    0,        nullptr},
        {ODS_FOCUS | ODS_DEFAULT,                    ODA_SELECT | ODA_FOCUS,        0,        nullptr},
    };
    Canvas canvas(109, 37);
    for (const Row& row : rows) {
        CAPTURE(row.state);
        CAPTURE(row.action);
        CAPTURE(row.hovering);
        canvas.Fill(Untouched);
        button.hovering = row.hovering;
        const DRAWITEMSTRUCT request = DrawRequest(button.window, canvas.Dc(), FaceRect, row.action, row.state);
        const SelectedObjects before = CurrentObjects(canvas.Dc());
        button.DrawItem(&request);
        CHECK(CurrentObjects(canvas.Dc()) == before);
        const Image painted = canvas.Pixels();
        if (row.face != nullptr) {
            CHECK(painted == *row.face);
        } else {
            CHECK(PixelsOf(painted, Untouched).size() == 109u * 37u);
        }
    }
    button.DrawItem(nullptr);
}

TEST_CASE("a pressed button draws its caption 2 pixels right and down; the face does not move")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    button.SetCaption(IDS_CANCEL, L"");
    // The same face for both looks, so that only the caption can differ.
    button.pressedFace = IDB_BUTTON_NORMAL;
    const Image face = BitmapPixels(IDB_BUTTON_NORMAL);

    Canvas canvas(109, 37);
    DRAWITEMSTRUCT request = DrawRequest(button.window, canvas.Dc(), FaceRect, ODA_DRAWENTIRE, 0);
    button.DrawItem(&request);
    const Image idle = canvas.Pixels();
    request.itemState = ODS_SELECTED;
    button.DrawItem(&request);
    const Image down = canvas.Pixels();

    // Fully covered text pixels are exactly the caption colour, whatever the
    // face below: they must move by exactly (2, 2).
    const std::vector<POINT> idleText = PixelsOf(idle, 0xFFFFFF);
    const std::vector<POINT> downText = PixelsOf(down, 0xFFFFFF);
    REQUIRE(idleText.size() > 20);
    CHECK(SamePoints(downText, idleText, 2, 2));

    // Everything that is not caption is the face, unmoved: the caption's
    // pixels lie in a small block around the centre.
    for (const Image* image : {&idle, &down}) {
        for (const POINT& p : Differences(*image, face)) {
            CAPTURE(p.x);
            CAPTURE(p.y);
            CHECK(p.x > 25);
            CHECK(p.x < 84);
            CHECK(p.y > 8);
            CHECK(p.y < 30);
        }
    }
}

TEST_CASE("the caption is white on an enabled button and grey on a disabled one")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    button.SetCaption(IDS_CANCEL, L"");
    Canvas canvas(109, 37);
    struct Row {
        BOOL enabled;
        COLORREF present;
        COLORREF absent;
    };
    const Row rows[] = {
        {TRUE, 0xFFFFFF, 0x7F7F7F},
        {FALSE, 0x7F7F7F, 0xFFFFFF},
    };
    for (const Row& row : rows) {
        CAPTURE(row.enabled);
        EnableWindow(button.window, row.enabled);
        // The colour follows the window, whatever face the state picks.
        const DRAWITEMSTRUCT request = DrawRequest(button.window, canvas.Dc(), FaceRect, ODA_DRAWENTIRE, 0);
        button.DrawItem(&request);
        const Image painted = canvas.Pixels();
        CHECK(PixelsOf(painted, row.present).size() > 20);
        CHECK(PixelsOf(painted, row.absent).empty());
    }
}

TEST_CASE("the button sizes itself to its normal face, and the first draw fixes the image size")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.cancelButton;

    SUBCASE("SizeToFace: the face's size, the same place, the top of the Z order")
    {
        SetWindowPos(button.window, HWND_BOTTOM, 150, 60, 30, 12, 0);
        button.faceWidth = 0;
        button.faceHeight = 0;
        button.SizeToFace();
        RECT rect;
        GetWindowRect(button.window, &rect);
        MapWindowPoints(nullptr, dialog.window, reinterpret_cast<POINT*>(&rect), 2);
        CHECK(rect.left == 150);
        CHECK(rect.top == 60);
        CHECK(rect.right - rect.left == 109);
        CHECK(rect.bottom - rect.top == 37);
        CHECK(GetWindow(dialog.window, GW_CHILD) == button.window);
        CHECK(button.faceWidth == 109);
        CHECK(button.faceHeight == 37);
    }
    SUBCASE("a face that cannot be loaded changes nothing")
    {
        SetWindowPos(button.window, nullptr, 150, 60, 30, 12, SWP_NOZORDER);
        button.normalFace = 0;
        button.faceWidth = 0;
        button.faceHeight = 0;
        button.SizeToFace();
        RECT rect;
        GetWindowRect(button.window, &rect);
        CHECK(rect.right - rect.left == 30);
        CHECK(button.faceWidth == 0);
    }
    SUBCASE("a first draw of 80 x 20 fixes the image at 80 x 20; SizeToFace keeps it")
    {
        button.faceWidth = 0;
        button.faceHeight = 0;
        Canvas canvas(80, 20);
        const RECT small = {0, 0, 80, 20};
        const DRAWITEMSTRUCT request = DrawRequest(button.window, canvas.Dc(), small, ODA_DRAWENTIRE, 0);
        button.DrawItem(&request);
        CHECK(button.faceWidth == 80);
        CHECK(button.faceHeight == 20);
        CHECK(canvas.Pixels() == BitmapPixels(IDB_BUTTON_NORMAL).Crop(0, 0, 80, 20));
        button.SizeToFace();
        CHECK(button.faceWidth == 80);
        CHECK(button.faceHeight == 20);
    }
}

TEST_CASE("SetCaption: at most 127 characters drawn, 32 in the window text, the whole suffix in both")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;

    wchar_t full[256];
    LoadLocalizedString(IDS_HOME_Z_AXIS_HELP, full, 256);
    const std::wstring longText = full;
    REQUIRE(longText.size() > 127);
    LoadLocalizedString(IDS_FORBID_QUEUE_ACCESS, full, 256);
    const std::wstring text39 = full;
    REQUIRE(text39.size() == 39);

    struct Row {
        UINT id;
        const wchar_t* suffix;
        std::wstring caption;
        std::wstring windowText;
    };
    const Row rows[] = {
        {IDS_OK,               L"",     L"Ok",                                   L"Ok"},
        {IDS_SETTINGS_TITLE,   L" 1.7", L"KRV Advanced Engraver Settings 1.7",  L"KRV Advanced Engraver Settings 1.7"},
        {IDS_FORBID_QUEUE_ACCESS, L"!", text39 + L"!",                         text39.substr(0, 32) + L"!"},
        {IDS_HOME_Z_AXIS_HELP, L" 1.7", longText.substr(0, 127) + L" 1.7",      longText.substr(0, 32) + L" 1.7"},
        {IDS_CANCEL,           L"",     L"Cancel",                               L"Cancel"},
        // Id 0 keeps both of the previous row.
        {0,                    L"xyz",  L"Cancel",                               L"Cancel"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.id);
        button.SetCaption(row.id, row.suffix);
        CHECK(button.caption == row.caption);
        CHECK(WindowText(button.window) == row.windowText);
    }
}

TEST_CASE("the owner-draw requests of a real button paint its face on screen; a focus change paints nothing")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    HWND control = dialog.okButton.window;
    PumpMessages(100);
    const Image normal = BitmapPixels(IDB_BUTTON_NORMAL);
    CHECK(CaptureWindow(control) == normal);

    // A disabled button repaints itself disabled.
    EnableWindow(control, FALSE);
    UpdateWindow(control);
    CHECK(CaptureWindow(control) == BitmapPixels(IDB_BUTTON_DISABLED));
    EnableWindow(control, TRUE);
    UpdateWindow(control);
    CHECK(CaptureWindow(control) == normal);

    // Paint over the button, then give it the focus: the system asks for a
    // focus-only draw, which must leave the paint alone. (Losing the focus
    // invalidates a button, so the focus starts elsewhere.)
    SetFocus(dialog.cancelButton.window);
    PumpMessages(50);
    HDC dc = GetDC(control);
    RECT all = {0, 0, 109, 37};
    HBRUSH brush = CreateSolidBrush(Untouched);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(control, dc);
    dialog.drawRequests.clear();
    SetFocus(control);
    PumpMessages(50);
    bool sawFocusRequest = false;
    for (const DRAWITEMSTRUCT& request : dialog.drawRequests) {
        if (request.hwndItem != control)
            continue;
        CHECK(request.itemAction == ODA_FOCUS);
        sawFocusRequest = true;
    }
    CHECK(sawFocusRequest);
    CHECK(PixelsOf(CaptureWindow(control), Untouched).size() == 109u * 37u);
}
