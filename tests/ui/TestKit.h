#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <vector>

#include "ui/framework/DialogFrame.h"
#include "ui/framework/Dlg.h"

// A colour no skin bitmap holds: what a target showed before a paint.
const COLORREF Untouched = RGB(1, 254, 3);

// Pixels read back from a device context, top-down rows.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Image Crop(int x, int y, int w, int h) const;
    int Count(COLORREF color) const;
    bool operator==(const Image& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};

// Bitmap resource `id` as the skin sees it: LoadBitmapW, read back in the screen's format.
Image BitmapPixels(UINT id);
// The window's whole rectangle as it is on screen.
Image CaptureWindow(HWND window);
// A w-wide bar: left cap on 0..15, middle tile repeated from column 0 on 16..w-17, right cap on w-16..w-1.
Image ExpectedBar(int w, UINT left, UINT right, UINT middle);

// A 32-bit DIB section showing Untouched, in its own memory DC.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    HDC Dc() const { return dc; }
    Image Pixels() const;

private:
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    DWORD* bits = nullptr;
};

// The bitmap, pen, brush and font a DC holds.
using Objects = std::array<HGDIOBJ, 4>;
Objects CurrentObjects(HDC dc);

// Selects a pen, brush and font of its own into a DC while it lives, so that a paint which
// restores stock objects instead of what it found is seen.
class ForeignSelection {
public:
    explicit ForeignSelection(HDC dc);
    ~ForeignSelection();
    ForeignSelection(const ForeignSelection&) = delete;

private:
    HDC dc;
    Objects mine, old;
};

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state);
using Painter = std::function<void(const DRAWITEMSTRUCT&)>;
// One draw request for `control` onto a w x h Canvas with foreign objects selected; checks that
// the DC comes back holding them.
Image PaintOnce(const Painter& paint, HWND control, int w, int h, UINT action, UINT state);

// How many more GDI objects this process could make now: regions are made until the handle table
// is full, then deleted. Wine's GetGuiResources is a stub; two readings differ by exactly the
// objects made and not deleted in between.
int FreeGdiHandleSlots();

// The message box template made modeless through the framework's binding, without its text
// controls; the title bar (every look the same slices) and Ok skinned like the message box's,
// Ok as big as its face, Cancel a plain owner-drawn button.
class SkinnedDialog : public Dlg {
public:
    ~SkinnedDialog() override { DestroyWindow(window); }
    // Shows the dialog at (x, y), w x h pixels, its bar 32 high, Ok at (20, 60), Cancel at (150, 60).
    bool Open(int x, int y, int w, int h);
    INT_PTR OnInitDialog(WPARAM, LPARAM) override;
    INT_PTR OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item) override;
    INT_PTR OnCommand(WPARAM wParam, LPARAM) override;

    Painter PaintButton() { return [this](const DRAWITEMSTRUCT& r) { okButton.DrawItem(&r); }; }
    Painter PaintBar() { return [this](const DRAWITEMSTRUCT& r) { titleBar.DrawItem(&r); }; }
    Painter PaintStrip() { return [this](const DRAWITEMSTRUCT& r) { frame.DrawItem(r.CtlID, &r); }; }

    DialogFrame frame;
    std::vector<WPARAM> commands;
};
