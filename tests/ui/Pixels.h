#pragma once

#include <windows.h>

#include <vector>

// Pixels read back from a device context, as COLORREF values.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top-down rows

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // The block (x, y, w, h) of this image.
    Image Crop(int x, int y, int w, int h) const;
};

bool operator==(const Image& a, const Image& b);
inline bool operator!=(const Image& a, const Image& b) { return !(a == b); }

// Bitmap resource `id` of this module as the skin code sees it: loaded with
// LoadBitmapW and read back in the screen's format.
Image BitmapPixels(UINT id);

// Copies (x, y, w, h) of `source` through a block transfer.
Image Capture(HDC source, int x, int y, int w, int h);
// The window's whole rectangle as it is on screen (its own window DC).
Image CaptureWindow(HWND window);

// A 32-bit top-down DIB section selected into its own memory DC: a target
// for paints whose every pixel the test reads directly.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc; }
    void Fill(COLORREF color);
    Image Pixels() const;

private:
    int width;
    int height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    DWORD* bits = nullptr;
};

// The four objects a DC holds; a paint must hand a DC back with them.
struct SelectedObjects {
    HGDIOBJ bitmap;
    HGDIOBJ pen;
    HGDIOBJ brush;
    HGDIOBJ font;
};
SelectedObjects CurrentObjects(HDC dc);
bool operator==(const SelectedObjects& a, const SelectedObjects& b);

// Selects a pen, a brush and a font of its own into `dc` for its lifetime, so
// that a paint which forgets to restore a selection is seen (the stock
// objects a fresh DC holds would look the same as a paint's leftovers).
class ForeignSelection {
public:
    explicit ForeignSelection(HDC dc);
    ~ForeignSelection();
    ForeignSelection(const ForeignSelection&) = delete;
    ForeignSelection& operator=(const ForeignSelection&) = delete;

private:
    HDC dc;
    HPEN pen;
    HBRUSH brush;
    HFONT font;
    HGDIOBJ oldPen;
    HGDIOBJ oldBrush;
    HGDIOBJ oldFont;
};

// How many more GDI objects this process could create right now, found by
// creating regions until the handle table is full and deleting them again.
// Wine's GetGuiResources is a stub, so the difference of two readings is the
// honest count of objects made and not deleted in between.
int FreeGdiHandleSlots();

// COLORREF of a 32-bit DIB pixel (0x00RRGGBB).
inline COLORREF FromDib(DWORD pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
