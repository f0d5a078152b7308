#include <doctest/doctest.h>

#include <algorithm>
#include <string>

#include "app/Language.h"
#include "resource.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/TestKit.h"

namespace {
// The bounding box (left, top, right, bottom; inclusive) of where `image` differs from `reference`.
std::array<int, 4> Differences(const Image& image, const Image& reference)
{
    std::array<int, 4> box = {image.width, image.height, -1, -1};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y) != reference.At(x, y))
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
    return box;
}

Image Blank(int w, int h)
{
    return {w, h, std::vector<COLORREF>(static_cast<size_t>(w) * h, Untouched)};
}

Image Bar(UINT middle)
{
    return ExpectedBar(300, IDB_TITLE_LEFT, IDB_TITLE_RIGHT, middle);
}
}

TEST_CASE("each combination of state, hovering and action paints the button's face and the bar's slices")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    // The bar's looks told apart by their middle tiles, the pressed one by swapped caps.
    SkinHeader& bar = dialog.titleBar;
    bar.SetPressedSlices(IDB_TITLE_RIGHT, IDB_TITLE_LEFT, IDB_TITLE_MIDDLE, 0);
    bar.SetHoverSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_HOVER, 0);
    bar.SetDisabledSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_DISABLED, 0);
    struct Row {
        bool isBar;
        UINT state;
        UINT action;
        int hovering;
        Image look;
    };
    const Row rows[] = {
        // The button: selected, then disabled, then hot-light or hovering, then a whole draw.
        {false, ODS_SELECTED | ODS_DISABLED | ODS_HOTLIGHT, ODA_SELECT, 1, BitmapPixels(IDB_BUTTON_PRESSED)},
        {false, ODS_DISABLED | ODS_HOTLIGHT, ODA_FOCUS, 1, BitmapPixels(IDB_BUTTON_DISABLED)},
        {false, ODS_HOTLIGHT, ODA_FOCUS, 0, BitmapPixels(IDB_BUTTON_HOVER)},
        {false, 0, ODA_SELECT, 1, BitmapPixels(IDB_BUTTON_HOVER)},
        {false, ODS_FOCUS, ODA_DRAWENTIRE, 0, BitmapPixels(IDB_BUTTON_NORMAL)},
        {false, ODS_FOCUS, ODA_FOCUS, 0, Blank(109, 37)},
        {false, 0, ODA_SELECT, 0, Blank(109, 37)},
        // The bar: hot-light or hovering come before disabled.
        {true, ODS_SELECTED | ODS_DISABLED | ODS_HOTLIGHT, ODA_SELECT, 1,
         ExpectedBar(300, IDB_TITLE_RIGHT, IDB_TITLE_LEFT, IDB_TITLE_MIDDLE)},
        {true, ODS_DISABLED, ODA_DRAWENTIRE, 1, Bar(IDB_BUTTON_HOVER)},
        {true, ODS_DISABLED | ODS_HOTLIGHT, ODA_FOCUS, 0, Bar(IDB_BUTTON_HOVER)},
        {true, ODS_DISABLED, ODA_FOCUS, 0, Bar(IDB_BUTTON_DISABLED)},
        {true, ODS_FOCUS, ODA_DRAWENTIRE, 0, Bar(IDB_TITLE_MIDDLE)},
        {true, ODS_FOCUS, ODA_FOCUS, 0, Blank(300, 32)},
        {true, 0, ODA_SELECT, 0, Blank(300, 32)},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        CAPTURE(i);
        const Row& row = rows[i];
        dialog.okButton.hovering = bar.hovering = row.hovering;
        CHECK(PaintOnce(row.isBar ? dialog.PaintBar() : dialog.PaintButton(),
                        row.isBar ? bar.window : dialog.okButton.window, row.look.width, row.look.height,
                        row.action, row.state) == row.look);
    }
}

TEST_CASE("the caption is centred, white or grey as the window is enabled, and pressed 2 pixels right and down")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 420, 160));
    dialog.okButton.SetCaption(IDS_CANCEL, L"");
    dialog.titleBar.SetCaption(IDS_SETTINGS_TITLE, L" 1.7");
    // The pressed looks show the same bitmaps, so only the caption can move.
    dialog.okButton.pressedFace = IDB_BUTTON_NORMAL;
    struct Row {
        SkinControl& control;
        Painter paint;
        Image look;
    };
    const Row rows[] = {
        {dialog.okButton, dialog.PaintButton(), BitmapPixels(IDB_BUTTON_NORMAL)},
        {dialog.titleBar, dialog.PaintBar(), ExpectedBar(413, IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE)},
    };
    for (const Row& row : rows) {
        const int w = row.look.width, h = row.look.height;
        CAPTURE(w);
        const auto added = [&](const Image& image, COLORREF color) { return image.Count(color) - row.look.Count(color); };
        const Image idle = PaintOnce(row.paint, row.control.window, w, h, ODA_DRAWENTIRE, 0);
        const std::array<int, 4> text = Differences(idle, row.look);
        REQUIRE(text[2] >= 0);
        CHECK(std::abs(text[0] + text[2] + 1 - w) <= 2);
        CHECK(std::abs(text[1] + text[3] + 1 - h) <= 3);
        const Image down = PaintOnce(row.paint, row.control.window, w, h, ODA_SELECT, ODS_SELECTED);
        CHECK(Differences(down, row.look) == std::array<int, 4>{text[0] + 2, text[1] + 2, text[2] + 2, text[3] + 2});
        CHECK(added(idle, 0xFFFFFF) > 20);
        CHECK(added(idle, 0x7F7F7F) <= 0);
        EnableWindow(row.control.window, FALSE);
        const Image grey = PaintOnce(row.paint, row.control.window, w, h, ODA_DRAWENTIRE, 0);
        EnableWindow(row.control.window, TRUE);
        CHECK(added(grey, 0x7F7F7F) > 20);
        CHECK(added(grey, 0xFFFFFF) <= 0);
    }
}

TEST_CASE("the bar's columns: left cap, middle tile, right cap, the widths measured first; L+I+R wide, no caption")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    for (const int w : {32, 33, 413, 689}) {
        CAPTURE(w);
        const Image painted = PaintOnce(dialog.PaintBar(), bar.window, w, 32, ODA_DRAWENTIRE, 0);
        const Image expected = ExpectedBar(w, IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE);
        for (int x = 0; x < w; ++x) {
            CAPTURE(x);
            CHECK(painted.Crop(x, 0, 1, 32) == expected.Crop(x, 0, 1, 32));
        }
    }
    // A pressed look with a 109-pixel left cap still shows it 16 wide.
    bar.SetPressedSlices(IDB_BUTTON_NORMAL, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    CHECK(bar.leftCapWidth == 16);
    Image painted = PaintOnce(dialog.PaintBar(), bar.window, 200, 32, ODA_SELECT, ODS_SELECTED);
    CHECK(painted.Crop(0, 0, 16, 32) == BitmapPixels(IDB_BUTTON_NORMAL).Crop(0, 0, 16, 32));
    CHECK(painted.Crop(16, 0, 1, 32) == BitmapPixels(IDB_TITLE_MIDDLE));
    // An inner piece measured by a later look: 16 + 16 + 16, no room for the caption.
    bar.SetCaption(IDS_OK, L"");
    bar.SetNormalSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_HOVER, IDB_TITLE_RIGHT);
    REQUIRE(bar.leftInnerWidth == 16);
    painted = PaintOnce(dialog.PaintBar(), bar.window, 48, 32, ODA_DRAWENTIRE, 0);
    CHECK(painted.Crop(0, 0, 16, 32) == BitmapPixels(IDB_TITLE_LEFT));
    CHECK(painted.Crop(16, 0, 16, 32) == BitmapPixels(IDB_TITLE_RIGHT));
    CHECK(painted.Crop(32, 0, 16, 32) == BitmapPixels(IDB_TITLE_RIGHT));
}

TEST_CASE("SetCaption: at most 127 characters drawn, 32 in the window text, the whole suffix in both")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinButton& button = dialog.okButton;
    wchar_t text[256];
    LoadLocalizedString(IDS_HOME_Z_AXIS_HELP, text, 256);
    const std::wstring longText = text;
    REQUIRE(longText.size() > 127);
    const UINT ids[] = {IDS_HOME_Z_AXIS_HELP, 0};  // id 0 changes nothing
    for (const UINT id : ids) {
        CAPTURE(id);
        button.SetCaption(id, id == 0 ? L"xyz" : L" 1.7");
        CHECK(button.caption == (longText.substr(0, 127) + L" 1.7").c_str());
        CHECK(WindowText(button.window) == longText.substr(0, 32) + L" 1.7");
    }
}
