#pragma once

#include <windows.h>

#include "app/WideString.h"

// What the skinned button and title bar share: the bound control, its
// caption and colours, hover tracking through a window subclass, and the
// drawing of bitmaps and the caption.
class SkinControl {
public:
    SkinControl() = default;
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;

    // Binds to the dialog's control `id` and starts hover tracking.
    void Attach(HWND dialog, int id);
    // Caption from string `id` plus `suffix`; id 0 changes nothing.
    void SetCaption(UINT id, const wchar_t* suffix);
    // Right and bottom edges of the window rectangle count as inside.
    bool IsCursorInside() const;
    // The caption centred on one line in `rect` moved by (dx, dy); nothing
    // in an empty or inverted rectangle.
    void DrawCaption(HDC dc, const RECT& rect, int dx, int dy) const;
    // Bitmap `id` of `instance`, unscaled, at the rectangle's top left.
    void DrawBitmap(HDC dc, const RECT& rect, UINT id) const;
    // Width of bitmap `id`, 0 when it cannot be loaded.
    int BitmapWidth(UINT id) const;
    // Width and height of bitmap `id`, both 0 when it cannot be loaded.
    SIZE BitmapSize(UINT id) const;

    static LRESULT CALLBACK SubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                         DWORD_PTR refData);

    HWND window = nullptr;
    HINSTANCE instance = nullptr;
    WideString caption;
    int hovering = 0;
    POINT captionOffset = {0, 0};
    POINT pressedCaptionOffset = {2, 2};
    COLORREF textColor = 0xFFFFFF;
    COLORREF disabledTextColor = 0x7F7F7F;
};
