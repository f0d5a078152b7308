#pragma once

#include "ui/skin/SkinControl.h"

// An owner-drawn push button painted with one of four face bitmaps and its
// caption on top.
class SkinButton : public SkinControl {
public:
    // Makes the control the size of its normal face.
    void SizeToFace();
    void DrawItem(const DRAWITEMSTRUCT* item);
    void RenderFace(HDC target, const RECT& item, int dx, int dy, UINT face);

    // Bitmap resource ids; 0 = none.
    UINT normalFace = 0;
    UINT pressedFace = 0;
    UINT hoverFace = 0;
    UINT disabledFace = 0;
    // Size of the off-screen image; 0 until known.
    int faceHeight = 0;
    int faceWidth = 0;
};
