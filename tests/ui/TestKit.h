#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/dialogs/MessageBox.h"

// A colour no skin bitmap holds: what a target showed before a paint.
const COLORREF Untouched = RGB(1, 254, 3);

struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // top-down rows
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Image& o) const { return width == o.width && pixels == o.pixels; }
};

// A 32-bit DIB section in its own memory DC, all Untouched.
struct Canvas {
    Canvas(int width, int height);
    ~Canvas();  // the DC gives the bitmap up as it goes
    Image Pixels() const;

    int width, height;
    HDC dc;
    HBITMAP bitmap;
    DWORD* bits = nullptr;
};

Image BitmapPixels(UINT id);

// `base` with `text` drawn over it the way the skin draws captions: in a new DC's font (the stock system font),
// transparent, in `color`, centred on one line in `rect`.
Image WithCaption(const Image& base, const wchar_t* text, RECT rect, COLORREF color);

// A control's window rectangle in its dialog's client coordinates; id 0: the dialog's own, on the screen.
inline RECT Place(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(id ? GetDlgItem(dialog, id) : dialog, &rect);
    MapWindowPoints(nullptr, id ? dialog : nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The frame's window region for a w x h dialog: rounded top corners, a straight body.
HRGN FrameShape(int w, int h);

inline DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state)
{
    return {ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(control)), 0, action, state, control, dc, rect, 0};
}

// What a skinned control draws for one request onto a fresh w x h Canvas.
template <class Control>
Image PaintOnce(Control& control, int w, int h, UINT action, UINT state)
{
    Canvas canvas(w, h);
    const DRAWITEMSTRUCT request = DrawRequest(control.window, canvas.dc, {0, 0, w, h}, action, state);
    control.DrawItem(&request);
    return canvas.Pixels();
}

// How many more GDI objects this process could make now (Wine's GetGuiResources is a stub).
int FreeGdiHandleSlots();

// Runs `show`, which runs modal dialogs on this thread; each dialog that shows is handed, from a
// timer in its modal loop, to the next step, which must end it. Steps use CHECK only.
using Step = std::function<void(HWND dialog)>;
void RunDriven(const std::function<void()>& show, std::vector<Step> steps);

// The message box made modeless with a short text.
struct LiveBox : MessageBox {
    explicit LiveBox(UINT type = MB_OKCANCEL);
    ~LiveBox() override { DestroyWindow(window); }
};
