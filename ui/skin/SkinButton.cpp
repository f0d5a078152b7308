#include "ui/skin/SkinButton.h"

#include "ui/framework/Gdi.h"

void SkinButton::SizeToFace()
{
    const SIZE face = BitmapSize(normalFace);
    if (face.cx == 0)
        return;
    SetWindowPos(window, nullptr, 0, 0, face.cx, face.cy, SWP_NOMOVE);
    if (faceWidth == 0)
        faceWidth = face.cx;
    if (faceHeight == 0)
        faceHeight = face.cy;
}

void SkinButton::DrawItem(const DRAWITEMSTRUCT* item)
{
    if (item == nullptr)
        return;
    if (item->itemState & ODS_SELECTED)
        RenderFace(item->hDC, item->rcItem, pressedCaptionOffset.x, pressedCaptionOffset.y, pressedFace);
    else if (item->itemState & ODS_DISABLED)
        RenderFace(item->hDC, item->rcItem, captionOffset.x, captionOffset.y, disabledFace);
    else if ((item->itemState & ODS_HOTLIGHT) || hovering == 1)
        RenderFace(item->hDC, item->rcItem, captionOffset.x, captionOffset.y, hoverFace);
    else if (item->itemAction & ODA_DRAWENTIRE)
        RenderFace(item->hDC, item->rcItem, captionOffset.x, captionOffset.y, normalFace);
    // A focus-only change of an idle button paints nothing: the faces show no focus.
}

void SkinButton::RenderFace(HDC target, const RECT& item, int dx, int dy, UINT face)
{
    MemoryDC memory(target);
    if (!memory)
        return;
    const int width = item.right - item.left;
    const int height = item.bottom - item.top;
    if (faceWidth == 0)
        faceWidth = width;
    if (faceHeight == 0)
        faceHeight = height;
    GdiObject<HBITMAP> image(CreateCompatibleBitmap(target, faceWidth, faceHeight));
    if (!image)
        return;
    SelectGuard select(memory.Get(), image.Get());
    if (!select.Selected())
        return;

    const RECT faceRect = {0, 0, faceWidth, faceHeight};
    DrawBitmap(memory.Get(), faceRect, face);
    DrawCaption(memory.Get(), faceRect, dx, dy);
    // One block transfer, so the control never shows a half-drawn face.
    BitBlt(target, item.left, item.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}
