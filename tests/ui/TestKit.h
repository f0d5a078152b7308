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
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Image Crop(int x, int y, int w, int h) const;
    bool operator==(const Image& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};

// A 32-bit DIB section showing Untouched, selected into its own memory DC.
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

// Bitmap resource `id` as the skin loads it.
Image BitmapPixels(UINT id);
// The window as it is on screen.
Image CaptureWindow(HWND window);
// `text` drawn in black with the system font as the message box draws it; true where ink is.
std::vector<bool> Ink(const Image& image);
std::vector<bool> DrawnInk(const wchar_t* text, int width, int height, UINT format);
// The system icon drawn as an icon control of w x h on `background` shows it.
Image IconPixels(const wchar_t* icon, int w, int h, COLORREF background);

// The bitmap, pen, brush and font a DC holds.
using Objects = std::array<HGDIOBJ, 4>;
Objects CurrentObjects(HDC dc);
using Painter = std::function<void(const DRAWITEMSTRUCT&)>;
DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state);
// One draw request onto a w x h Canvas holding a pen, brush and font of its own; checks that the
// DC comes back holding them.
Image PaintOnce(const Painter& paint, HWND control, int w, int h, UINT action, UINT state);

// How many more GDI objects this process could make now (Wine's GetGuiResources is a stub): two
// readings differ by exactly the objects made and not deleted in between.
int FreeGdiHandleSlots();

// Runs `show`, which runs modal dialogs on this thread; each dialog that shows is handed, from a
// timer in its modal loop, to the next step, which must end it. Steps use CHECK only.
using Step = std::function<void(HWND dialog)>;
void RunDriven(const std::function<void()>& show, std::vector<Step> steps);

// Template 102 made modeless through the framework's binding, without its text controls; the
// title bar and Ok skinned as in the message box, Ok its face's size, Cancel a plain owner-draw.
class SkinnedDialog : public Dlg {
public:
    ~SkinnedDialog() override { DestroyWindow(window); }
    // Shows it at (100, 100), w x 160, the bar w x 32, Ok at (20, 60), Cancel at (150, 60).
    bool Open(int w);
    INT_PTR OnInitDialog(WPARAM, LPARAM) override;
    INT_PTR OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item) override;

    Painter PaintButton() { return [this](const DRAWITEMSTRUCT& r) { okButton.DrawItem(&r); }; }
    Painter PaintBar() { return [this](const DRAWITEMSTRUCT& r) { titleBar.DrawItem(&r); }; }
    DialogFrame frame;
};
