#pragma once

#include <windows.h>

class SkinHeader;

// The thin border strips of a skinned dialog (three owner-drawn buttons,
// 1001 left, 1005 right, 1003 bottom) and the window's rounded top corners.
// The strips belong to the dialog; the frame only finds and places them.
class DialogFrame {
public:
    // Places the strips below the title bar and gives the window its shape;
    // a second call re-places them and replaces the shape.
    void Layout(HWND dialog, const SkinHeader& titleBar);
    // 1 for a strip id (drawn when the whole item is asked for), else 0.
    int DrawItem(UINT controlId, const DRAWITEMSTRUCT* item);

    HWND leftStrip = nullptr;
    HWND rightStrip = nullptr;
    HWND bottomStrip = nullptr;
};

// The window rectangle of `control`, a child of `dialog` or the dialog itself,
// in the dialog's client coordinates.
RECT ControlRect(HWND dialog, HWND control);

// Two 2-pixel lines down the strip: `first` outside-left, `second` right of it.
void DrawVerticalStrip(const DRAWITEMSTRUCT* item, COLORREF first, COLORREF second);
// `first` along the upper edge, `second` along the lower edge and both ends.
void DrawHorizontalStrip(const DRAWITEMSTRUCT* item, COLORREF first, COLORREF second);
