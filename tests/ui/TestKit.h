#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/dialogs/MessageBox.h"

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

// A 32-bit DIB section in its own memory DC, showing `source`'s top left corner or else Untouched.
struct Canvas {
    Canvas(int width, int height, HDC source = nullptr);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    HDC Dc() const { return dc; }
    Image Pixels() const;

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
// The system icon drawn as an icon control of w x h on `background` shows it.
Image IconPixels(const wchar_t* icon, int w, int h, COLORREF background);

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state);
// What `paint` draws for one request onto a fresh w x h Canvas.
Image PaintOnce(const std::function<void(const DRAWITEMSTRUCT&)>& paint, HWND control, int w, int h,
                UINT action, UINT state);

// How many more GDI objects this process could make now (Wine's GetGuiResources is a stub).
int FreeGdiHandleSlots();

// Runs `show`, which runs modal dialogs on this thread; each dialog that shows is handed, from a
// timer in its modal loop, to the next step, which must end it. Steps use CHECK only.
using Step = std::function<void(HWND dialog)>;
void RunDriven(const std::function<void()>& show, std::vector<Step> steps);

// The message box made modeless with a short text, shown where the dialog manager centres it.
struct LiveBox : MessageBox {
    explicit LiveBox(UINT type = MB_OKCANCEL);
    ~LiveBox() override { DestroyWindow(window); }
};
