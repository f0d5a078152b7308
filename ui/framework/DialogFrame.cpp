#include "ui/framework/DialogFrame.h"

#include "resource.h"
#include "ui/framework/Colors.h"
#include "ui/framework/Gdi.h"
#include "ui/skin/SkinHeader.h"

namespace {
const int StripThickness = 4;

// Draws the lines with a 2-pixel pen and hands the DC back with its own pen.
bool DrawLines(HDC dc, COLORREF color, const POINT (*lines)[2], int count)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, color));
    if (!pen)
        return false;
    SelectGuard select(dc, pen.Get());
    // Else the lines would take whatever pen the DC holds.
    if (!select.Selected())
        return false;
    for (int i = 0; i < count; ++i) {
        MoveToEx(dc, lines[i][0].x, lines[i][0].y, nullptr);
        LineTo(dc, lines[i][1].x, lines[i][1].y);
    }
    return true;
}

bool ShouldDraw(const DRAWITEMSTRUCT* item) { return item != nullptr && (item->itemAction & ODA_DRAWENTIRE); }
}

void DialogFrame::Layout(HWND dialog, const SkinHeader& titleBar)
{
    leftStrip = GetDlgItem(dialog, IDC_STRIP_LEFT);
    rightStrip = GetDlgItem(dialog, IDC_STRIP_RIGHT);
    bottomStrip = GetDlgItem(dialog, IDC_STRIP_BOTTOM);

    RECT area;
    if (!GetClientRect(dialog, &area))
        return;
    // Both in the dialog's client coordinates.
    const RECT windowRect = ControlRect(dialog, dialog);
    // Without a title bar the strips start at the window's top and the right
    // strip sits at the window's right edge.
    RECT barRect = {windowRect.left, windowRect.top, windowRect.right, windowRect.top};
    if (titleBar.window != nullptr)
        barRect = ControlRect(dialog, titleBar.window);

    const int stripHeight = windowRect.bottom - barRect.bottom - StripThickness;
    MoveWindow(leftStrip, 0, barRect.bottom, StripThickness, stripHeight, FALSE);
    MoveWindow(rightStrip, barRect.right - StripThickness, barRect.bottom, StripThickness, stripHeight, FALSE);
    MoveWindow(bottomStrip, windowRect.left, windowRect.bottom - StripThickness, windowRect.right - windowRect.left,
               StripThickness, FALSE);

    // Rounded top corners, a straight body. The dialogs are borderless, so
    // client coordinates are window coordinates.
    const int w = area.right;
    const int h = area.bottom;
    GdiObject<HRGN> shape(CreateEllipticRgn(0, 0, 30, 30));
    GdiObject<HRGN> rightCorner(CreateEllipticRgn(w - 29, 0, w + 1, 30));
    GdiObject<HRGN> topEdge(CreateRectRgn(15, 0, w - 15, 30));
    GdiObject<HRGN> body(CreateRectRgn(0, 13, w, h));
    if (!shape || !rightCorner || !topEdge || !body)
        return;
    CombineRgn(shape.Get(), shape.Get(), rightCorner.Get(), RGN_OR);
    CombineRgn(shape.Get(), shape.Get(), topEdge.Get(), RGN_OR);
    CombineRgn(shape.Get(), shape.Get(), body.Get(), RGN_OR);
    // The window owns the region from here on.
    if (SetWindowRgn(dialog, shape.Get(), TRUE))
        shape.Release();
}

RECT ControlRect(HWND dialog, HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int DialogFrame::DrawItem(UINT controlId, const DRAWITEMSTRUCT* item)
{
    switch (controlId) {
    case IDC_STRIP_LEFT:
        DrawVerticalStrip(item, BorderDarkGreyColor, BorderRedColor);
        return 1;
    case IDC_STRIP_BOTTOM:
        DrawHorizontalStrip(item, BorderRedColor, BorderDarkGreyColor);
        return 1;
    case IDC_STRIP_RIGHT:
        DrawVerticalStrip(item, BorderRedColor, BorderDarkGreyColor);
        return 1;
    default:
        return 0;
    }
}

void DrawVerticalStrip(const DRAWITEMSTRUCT* item, COLORREF first, COLORREF second)
{
    if (!ShouldDraw(item))
        return;
    const LONG left = item->rcItem.left;
    const LONG height = item->rcItem.bottom - item->rcItem.top;
    const POINT outer[][2] = {{{left + 1, 0}, {left + 1, height}}};
    const POINT inner[][2] = {{{left + 3, 0}, {left + 3, height}}};
    DrawLines(item->hDC, first, outer, 1);
    DrawLines(item->hDC, second, inner, 1);
}

void DrawHorizontalStrip(const DRAWITEMSTRUCT* item, COLORREF first, COLORREF second)
{
    if (!ShouldDraw(item))
        return;
    const LONG left = item->rcItem.left;
    const LONG right = item->rcItem.right;
    const LONG bottom = item->rcItem.bottom;
    const POINT upper[][2] = {{{left + 1, 1}, {right - 3, 1}}};
    const POINT lower[][2] = {
        {{left + 1, 0}, {left + 1, bottom}},
        {{left, 3}, {right, 3}},
        {{right - 1, 0}, {right - 1, bottom}},
    };
    DrawLines(item->hDC, first, upper, 1);
    DrawLines(item->hDC, second, lower, 3);
}
