#include "ui/skin/SkinHeader.h"

#include <commctrl.h>
#include <windowsx.h>

#include "resource.h"
#include "ui/framework/Gdi.h"

void SkinHeader::Attach(HWND dialog, int id)
{
    SkinControl::Attach(dialog, id);
    if (window != nullptr)
        SetWindowSubclass(window, DragProc, 0, 0);
}

// The skin has no system caption: a press on the bar hands the dialog to the
// system's own move, as a press on a caption does (DefWindowProc answers
// WM_NCLBUTTONDOWN on HTCAPTION with SC_MOVE), until the button is released.
// The button never sees the press, so it neither takes the focus nor clicks;
// it shows its pressed look meanwhile.
LRESULT CALLBACK SkinHeader::DragProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                      DWORD_PTR)
{
    if (message == WM_LBUTTONDOWN) {
        // A press turned from a double-click arrives posted, perhaps once the
        // button is up again: nothing to drag then. The key state is the one
        // of the mouse messages read so far (documented for GetKeyState).
        if (GetKeyState(VK_LBUTTON) >= 0)
            return 0;
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(bar, &at);
        SendMessageW(bar, BM_SETSTATE, TRUE, 0);
        ReleaseCapture();  // the hover's; the move takes its own
        SendMessageW(GetParent(bar), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
        SendMessageW(bar, BM_SETSTATE, FALSE, 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(bar, DragProc, subclassId);
    return DefSubclassProc(bar, message, wParam, lParam);
}

void SkinHeader::SetSlices(Look look, UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId)
{
    leftCap[look] = leftCapId;
    rightCap[look] = rightCapId;
    middleTile[look] = middleTileId;
    leftInner[look] = leftInnerId;
    if (leftCapWidth == 0)
        leftCapWidth = BitmapWidth(leftCapId);
    if (rightCapWidth == 0)
        rightCapWidth = BitmapWidth(rightCapId);
    if (leftInnerWidth == 0)
        leftInnerWidth = BitmapWidth(leftInnerId);
}

void SkinHeader::SetNormalSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId)
{
    SetSlices(Normal, leftCapId, rightCapId, middleTileId, leftInnerId);
}

void SkinHeader::SetPressedSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId)
{
    SetSlices(Pressed, leftCapId, rightCapId, middleTileId, leftInnerId);
}

void SkinHeader::SetHoverSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId)
{
    SetSlices(Hover, leftCapId, rightCapId, middleTileId, leftInnerId);
}

void SkinHeader::SetDisabledSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId)
{
    SetSlices(Disabled, leftCapId, rightCapId, middleTileId, leftInnerId);
}

void SkinHeader::UseSkinSlices()
{
    SetNormalSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    SetPressedSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    SetHoverSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    SetDisabledSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
}

void SkinHeader::SizeToSlices()
{
    const SIZE leftCapSize = BitmapSize(leftCap[Normal]);
    RECT bar;
    if (leftCapSize.cx == 0 || !GetWindowRect(window, &bar))
        return;
    SetWindowPos(window, nullptr, 0, 0, bar.right - bar.left, leftCapSize.cy, SWP_NOMOVE);
}

// The dialog manager scales a template's bar with the system's dots per inch,
// but bitmaps keep their size: below the slices a taller bar would show
// whatever was there before, and the frame's strips would start under that.
void SkinHeader::LimitToSlices()
{
    RECT bar;
    if (GetWindowRect(window, &bar) && bar.bottom - bar.top > BitmapSize(leftCap[Normal]).cy)
        SizeToSlices();
}

void SkinHeader::DrawItem(const DRAWITEMSTRUCT* item)
{
    if (item == nullptr)
        return;
    // Unlike the button, hover wins over disabled here.
    Look look;
    POINT offset = captionOffset;
    if (item->itemState & ODS_SELECTED) {
        look = Pressed;
        offset = pressedCaptionOffset;
    } else if ((item->itemState & ODS_HOTLIGHT) || hovering == 1) {
        look = Hover;
    } else if (item->itemState & ODS_DISABLED) {
        look = Disabled;
    } else if (item->itemAction & ODA_DRAWENTIRE) {
        look = Normal;
    } else {
        return;
    }
    PaintBar(item->hDC, item->rcItem, offset.x, offset.y, leftCap[look], rightCap[look], middleTile[look],
             leftInner[look]);
}

void SkinHeader::PaintBar(HDC target, const RECT& item, int dx, int dy, UINT leftCapId, UINT rightCapId,
                          UINT middleTileId, UINT leftInnerId)
{
    const int width = item.right - item.left;
    const int height = item.bottom - item.top;
    const int left = leftCapWidth;
    const int inner = leftInnerWidth;
    const int right = rightCapWidth;
    const RECT leftRect = {0, 0, left, height};
    const RECT innerRect = {left, 0, left + inner, height};
    const RECT middleRect = {left + inner, 0, width - right, height};
    const RECT rightRect = {width - right, 0, width, height};

    MemoryDC memory(nullptr);
    if (!memory)
        return;
    GdiObject<HBITMAP> image(CreateCompatibleBitmap(target, width, height));
    if (!image)
        return;
    SelectGuard select(memory.Get(), image.Get());
    if (!select.Selected())
        return;

    // Start from what is on screen, so that a slice that cannot be drawn
    // leaves the old pixels instead of garbage.
    BitBlt(memory.Get(), 0, 0, width, height, target, item.left, item.top, SRCCOPY);
    DrawBitmap(memory.Get(), leftRect, leftCapId);
    DrawBitmap(memory.Get(), innerRect, leftInnerId);
    FillPattern(memory.Get(), middleRect, middleTileId);
    DrawBitmap(memory.Get(), rightRect, rightCapId);
    DrawCaption(memory.Get(), middleRect, dx, dy);
    BitBlt(target, item.left, item.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void SkinHeader::FillPattern(HDC dc, const RECT& rect, UINT id) const
{
    if (rect.right - rect.left <= 0)
        return;
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP);
    if (resource == nullptr)
        return;
    HGLOBAL data = LoadResource(instance, resource);
    const void* packedBitmap = data ? LockResource(data) : nullptr;
    if (packedBitmap == nullptr)
        return;
    GdiObject<HBRUSH> brush(CreateDIBPatternBrushPt(packedBitmap, DIB_RGB_COLORS));
    if (!brush)
        return;
    FillRect(dc, &rect, brush.Get());
}
