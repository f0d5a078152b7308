#include <doctest/doctest.h>

#include <algorithm>

#include "app/Language.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/Pixels.h"
#include "ui/SkinnedDialog.h"

namespace {
const COLORREF Untouched = RGB(1, 254, 3);
const UINT MissingBitmap = 999;

struct Slices {
    UINT left, right, middle, inner;
};

// Copies `piece` into `image` with its top-left corner at column x, as far
// as both reach.
void Put(Image& image, const Image& piece, int x, int width)
{
    for (int y = 0; y < std::min(image.height, piece.height); ++y)
        for (int column = 0; column < std::min(width, piece.width); ++column)
            if (x + column >= 0 && x + column < image.width)
                image.pixels[static_cast<size_t>(y) * image.width + x + column] = piece.At(column, y);
}

// The bar a w x h request must show: the caps and the inner piece at their
// places, the middle tile repeated from the bar's own origin, the right cap
// over everything else, and what was there before where no slice reaches.
Image ExpectedBar(int w, int h, const Slices& s, int leftWidth, int innerWidth, int rightWidth,
                  COLORREF before)
{
    Image image;
    image.width = w;
    image.height = h;
    image.pixels.assign(static_cast<size_t>(w) * h, before);
    Put(image, BitmapPixels(s.left), 0, leftWidth);
    if (s.inner != 0)
        Put(image, BitmapPixels(s.inner), leftWidth, innerWidth);
    const Image tile = BitmapPixels(s.middle);
    if (tile.width > 0)
        for (int y = 0; y < h; ++y)
            for (int x = leftWidth + innerWidth; x < w - rightWidth; ++x)
                image.pixels[static_cast<size_t>(y) * w + x] = tile.At(x % tile.width, y % tile.height);
    Put(image, BitmapPixels(s.right), w - rightWidth, rightWidth);
    return image;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
    bool Empty() const { return right < 0; }
};

// Where `image` differs from `expected`.
Box Differences(const Image& image, const Image& expected)
{
    Box box;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y) != expected.At(x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

Image Paint(SkinHeader& bar, int w, int h, UINT action, UINT state)
{
    Canvas canvas(w, h);
    canvas.Fill(Untouched);
    const RECT rect = {0, 0, w, h};
    const DRAWITEMSTRUCT request = DrawRequest(bar.window, canvas.Dc(), rect, action, state);
    const SelectedObjects before = CurrentObjects(canvas.Dc());
    bar.DrawItem(&request);
    CHECK(CurrentObjects(canvas.Dc()) == before);
    return canvas.Pixels();
}
}

TEST_CASE("each state of the title bar paints its look: pressed, then hover, then disabled, then a whole draw")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    // One middle tile per look tells them apart; the pressed look swaps the caps.
    const Slices normal = {IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0};
    const Slices pressed = {IDB_TITLE_RIGHT, IDB_TITLE_LEFT, IDB_TITLE_MIDDLE, 0};
    const Slices hover = {IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_HOVER, 0};
    const Slices disabled = {IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_DISABLED, 0};
    bar.SetNormalSlices(normal.left, normal.right, normal.middle, normal.inner);
    bar.SetPressedSlices(pressed.left, pressed.right, pressed.middle, pressed.inner);
    bar.SetHoverSlices(hover.left, hover.right, hover.middle, hover.inner);
    bar.SetDisabledSlices(disabled.left, disabled.right, disabled.middle, disabled.inner);

    struct Row {
        UINT state;
        UINT action;
        int hovering;
        const Slices* look;  // null: nothing may be painted
    };
    const Row rows[] = {
        // itemState                                 itemAction           hovering  look
        {ODS_SELECTED,                               ODA_DRAWENTIRE,      0,        &pressed},
        {ODS_SELECTED | ODS_DISABLED | ODS_HOTLIGHT, ODA_SELECT,          1,        &pressed},
        {ODS_HOTLIGHT,                               ODA_FOCUS,           0,        &hover},
        {0,                                          ODA_SELECT,          1,        &hover},
        {ODS_DISABLED,                               ODA_DRAWENTIRE,      1,        &hover},
        {ODS_DISABLED | ODS_HOTLIGHT,                ODA_DRAWENTIRE,      0,        &hover},
        {ODS_DISABLED,                               ODA_DRAWENTIRE,      0,        &disabled},
        {ODS_DISABLED,                               ODA_FOCUS,           0,        &disabled},
        {0,                                          ODA_DRAWENTIRE,      0,        &normal},
        {ODS_FOCUS,                                  ODA_DRAWENTIRE,      0,        &normal},
        {ODS_FOCUS,                                  ODA_FOCUS,           0,        nullptr},
        {0,                                          ODA_SELECT,          0,        nullptr},
    };
    const int w = 300;
    const int h = 32;
    for (const Row& row : rows) {
        CAPTURE(row.state);
        CAPTURE(row.action);
        CAPTURE(row.hovering);
        bar.hovering = row.hovering;
        const Image painted = Paint(bar, w, h, row.action, row.state);
        if (row.look != nullptr) {
            CHECK(painted == ExpectedBar(w, h, *row.look, 16, 0, 16, Untouched));
        } else {
            Image untouched;
            untouched.width = w;
            untouched.height = h;
            untouched.pixels.assign(static_cast<size_t>(w) * h, Untouched);
            CHECK(painted == untouched);
        }
    }
    bar.DrawItem(nullptr);
}

TEST_CASE("the slices of a W-wide bar: left cap on 0..15, middle tile on 16..W-17, right cap on W-16..W-1")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    const Image left = BitmapPixels(IDB_TITLE_LEFT);
    const Image right = BitmapPixels(IDB_TITLE_RIGHT);
    const Image tile = BitmapPixels(IDB_TITLE_MIDDLE);
    REQUIRE(left.width == 16);
    REQUIRE(right.width == 16);
    REQUIRE(tile.width == 1);
    for (const int w : {33, 100, 413, 689}) {
        CAPTURE(w);
        const Image painted = Paint(bar, w, 32, ODA_DRAWENTIRE, 0);
        for (int x = 0; x < w; ++x) {
            CAPTURE(x);
            const Image column = painted.Crop(x, 0, 1, 32);
            if (x <= 15)
                CHECK(column == left.Crop(x, 0, 1, 32));
            else if (x <= w - 17)
                CHECK(column == tile);
            else
                CHECK(column == right.Crop(x - (w - 16), 0, 1, 32));
        }
    }
}

TEST_CASE("the caption is centred over the middle; pressed, it moves 2 pixels right and down and the slices stay")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 420, 160));
    SkinHeader& bar = dialog.titleBar;
    bar.SetCaption(IDS_SETTINGS_TITLE, L" 1.7");
    const Slices slices = {IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0};
    const int h = 32;
    for (const int w : {300, 413}) {
        CAPTURE(w);
        const Image slicesOnly = ExpectedBar(w, h, slices, 16, 0, 16, Untouched);
        const Image idle = Paint(bar, w, h, ODA_DRAWENTIRE, 0);
        const Image down = Paint(bar, w, h, ODA_SELECT, ODS_SELECTED);
        const Box text = Differences(idle, slicesOnly);
        const Box pressedText = Differences(down, slicesOnly);
        REQUIRE(!text.Empty());
        CHECK(text.left >= 16);
        CHECK(text.right <= w - 17);
        // Centred between column 16 and column W - 16, and between the rows.
        CHECK(std::abs((text.left + text.right + 1) - w) <= 2);
        CHECK(std::abs((text.top + text.bottom + 1) - h) <= 3);
        CHECK(pressedText.left == text.left + 2);
        CHECK(pressedText.right == text.right + 2);
        CHECK(pressedText.top == text.top + 2);
        CHECK(pressedText.bottom == text.bottom + 2);
    }
}

TEST_CASE("bars of L+I+R pixels and narrower: no middle, no caption, the right cap last")
{
    SelectLanguage(GetModuleHandleW(nullptr));
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    bar.SetCaption(IDS_OK, L"");
    const Image left = BitmapPixels(IDB_TITLE_LEFT);
    const Image right = BitmapPixels(IDB_TITLE_RIGHT);

    SUBCASE("exactly L + I + R wide, with a 16-pixel inner piece")
    {
        bar.SetNormalSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_BUTTON_HOVER, IDB_TITLE_RIGHT);
        REQUIRE(bar.leftInnerWidth == 16);
        const Image painted = Paint(bar, 48, 32, ODA_DRAWENTIRE, 0);
        CHECK(painted.Crop(0, 0, 16, 32) == left);
        CHECK(painted.Crop(16, 0, 16, 32) == right);
        CHECK(painted.Crop(32, 0, 16, 32) == right);
    }
    SUBCASE("24 wide: the right cap covers the left cap from column 8")
    {
        const Image painted = Paint(bar, 24, 32, ODA_DRAWENTIRE, 0);
        CHECK(painted.Crop(0, 0, 8, 32) == left.Crop(0, 0, 8, 32));
        CHECK(painted.Crop(8, 0, 16, 32) == right);
    }
}

TEST_CASE("a slice that cannot be loaded leaves what the target showed")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    bar.SetNormalSlices(IDB_TITLE_LEFT, MissingBitmap, MissingBitmap + 1, 0);
    const Image painted = Paint(bar, 200, 32, ODA_DRAWENTIRE, 0);
    const Slices onlyLeft = {IDB_TITLE_LEFT, MissingBitmap, MissingBitmap, 0};
    CHECK(painted == ExpectedBar(200, 32, onlyLeft, 16, 0, 16, Untouched));
}

TEST_CASE("the widths come from the first look that can be measured and never change afterwards")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    enum Setter { Normal, Pressed, Hover, Disabled };
    struct Step {
        Setter setter;
        Slices slices;
    };
    struct Row {
        Step first;
        Step second;
        int leftWidth, rightWidth, innerWidth;
    };
    const Row rows[] = {
        // first look                                                   second look                                                         L    R   I
        {{Normal, {IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0}}, {Pressed, {IDB_BUTTON_NORMAL, IDB_BUTTON_NORMAL, IDB_TITLE_MIDDLE, 0}}, 16, 16, 0},
        {{Normal, {IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0}}, {Hover, {IDB_BUTTON_NORMAL, IDB_BUTTON_NORMAL, 0, IDB_TITLE_LEFT}},      16, 16, 16},
        {{Normal, {MissingBitmap, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0}},  {Disabled, {IDB_BUTTON_NORMAL, IDB_TITLE_LEFT, 0, 0}},                 109, 16, 0},
        {{Normal, {0, 0, 0, 0}},                                          {Pressed, {IDB_TITLE_LEFT, IDB_BUTTON_NORMAL, 0, 0}},                  16, 109, 0},
    };
    for (const Row& row : rows) {
        CAPTURE(row.leftWidth);
        CAPTURE(row.rightWidth);
        bar.leftCapWidth = bar.rightCapWidth = bar.leftInnerWidth = 0;
        for (const Step& step : {row.first, row.second}) {
            const Slices& s = step.slices;
            switch (step.setter) {
            case Normal: bar.SetNormalSlices(s.left, s.right, s.middle, s.inner); break;
            case Pressed: bar.SetPressedSlices(s.left, s.right, s.middle, s.inner); break;
            case Hover: bar.SetHoverSlices(s.left, s.right, s.middle, s.inner); break;
            case Disabled: bar.SetDisabledSlices(s.left, s.right, s.middle, s.inner); break;
            }
            CHECK(bar.leftCap[step.setter] == s.left);
            CHECK(bar.rightCap[step.setter] == s.right);
            CHECK(bar.middleTile[step.setter] == s.middle);
            CHECK(bar.leftInner[step.setter] == s.inner);
        }
        CHECK(bar.leftCapWidth == row.leftWidth);
        CHECK(bar.rightCapWidth == row.rightWidth);
        CHECK(bar.leftInnerWidth == row.innerWidth);
    }

    // The pressed look with a 109-pixel left cap still paints it 16 wide.
    bar.leftCapWidth = bar.rightCapWidth = bar.leftInnerWidth = 0;
    bar.SetNormalSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    bar.SetPressedSlices(IDB_BUTTON_NORMAL, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    CHECK(bar.leftCapWidth == 16);
    const Image painted = Paint(bar, 200, 32, ODA_SELECT, ODS_SELECTED);
    CHECK(painted.Crop(0, 0, 16, 32) == BitmapPixels(IDB_BUTTON_NORMAL).Crop(0, 0, 16, 32));
    CHECK(painted.Crop(16, 0, 1, 32) == BitmapPixels(IDB_TITLE_MIDDLE));
}

TEST_CASE("SizeToSlices makes the bar as high as its normal left cap, keeping its place and width")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    SkinHeader& bar = dialog.titleBar;
    struct Row {
        UINT leftCap;
        int height;
    };
    const Row rows[] = {
        {IDB_TITLE_LEFT, 32},
        {IDB_BUTTON_NORMAL, 37},
        {MissingBitmap, 20},  // unchanged
    };
    for (const Row& row : rows) {
        CAPTURE(row.leftCap);
        SetWindowPos(bar.window, nullptr, 5, 7, 250, 20, SWP_NOZORDER);
        bar.leftCap[SkinHeader::Normal] = row.leftCap;
        bar.SizeToSlices();
        RECT rect;
        GetWindowRect(bar.window, &rect);
        MapWindowPoints(nullptr, dialog.window, reinterpret_cast<POINT*>(&rect), 2);
        CHECK(rect.left == 5);
        CHECK(rect.top == 7);
        CHECK(rect.right - rect.left == 250);
        CHECK(rect.bottom - rect.top == row.height);
    }
}

TEST_CASE("the real title bar shows its slices on screen")
{
    SkinnedDialog dialog;
    REQUIRE(dialog.Open(100, 100, 300, 160));
    PumpMessages(100);
    const Slices slices = {IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0};
    CHECK(CaptureWindow(dialog.titleBar.window) == ExpectedBar(300, 32, slices, 16, 0, 16, Untouched));
}
