#pragma once

#include "ui/skin/SkinControl.h"

// An owner-drawn title bar assembled from bitmap slices: left cap, optional
// inner piece, a middle tile repeated across, right cap; the caption is
// centred over the middle.
class SkinHeader : public SkinControl {
public:
    enum Look { Normal = 0, Pressed = 1, Hover = 2, Disabled = 3, LookCount = 4 };

    // Binds as any skinned control does; the bar then also moves its dialog
    // when dragged, as a caption would.
    void Attach(HWND dialog, int id);

    void SetNormalSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId);
    void SetPressedSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId);
    void SetHoverSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId);
    void SetDisabledSlices(UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId);
    // Every look gets the skin's one slice set (1020, 1021, 1022, no inner
    // piece), through the four setters in the order normal, pressed, hover,
    // disabled.
    void UseSkinSlices();
    // Gives the bar the height of the normal left cap, keeping its width.
    void SizeToSlices();
    // The same for a bar taller than that cap; a lower bar keeps its height.
    void LimitToSlices();
    void DrawItem(const DRAWITEMSTRUCT* item);
    void PaintBar(HDC target, const RECT& item, int dx, int dy, UINT leftCapId, UINT rightCapId, UINT middleTileId,
                  UINT leftInnerId);
    // Fills `rect` with bitmap `id` as a pattern aligned to the DC's origin.
    void FillPattern(HDC dc, const RECT& rect, UINT id) const;

    // Bitmap ids by look; 0 = none.
    UINT leftCap[LookCount] = {};
    UINT rightCap[LookCount] = {};
    UINT middleTile[LookCount] = {};
    UINT leftInner[LookCount] = {};
    // Shared by all looks; measured once, from the first look that has them.
    int leftCapWidth = 0;
    int rightCapWidth = 0;
    int leftInnerWidth = 0;

    static LRESULT CALLBACK DragProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                     DWORD_PTR refData);

private:
    void SetSlices(Look look, UINT leftCapId, UINT rightCapId, UINT middleTileId, UINT leftInnerId);
};
