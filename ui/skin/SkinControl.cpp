#include "ui/skin/SkinControl.h"

#include <commctrl.h>

#include <cwchar>

#include "app/Language.h"
#include "ui/framework/Gdi.h"

void SkinControl::Attach(HWND dialog, int id)
{
    window = GetDlgItem(dialog, id);
    if (window == nullptr)
        return;
    SetWindowSubclass(window, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

void SkinControl::SetCaption(UINT id, const wchar_t* suffix)
{
    if (id == 0)
        return;
    if (suffix == nullptr)
        suffix = L"";

    wchar_t text[128];
    LoadLocalizedString(id, text, 128);
    caption = WideString(text) + suffix;

    // The window text takes at most 32 characters of the localized text but
    // always the whole suffix, so a version suffix is never cut off.
    wchar_t shortText[33];
    LoadLocalizedString(id, shortText, 33);
    const WideString windowText = WideString(shortText) + suffix;
    SetWindowTextW(window, windowText.c_str());
}

bool SkinControl::IsCursorInside() const
{
    POINT cursor;
    RECT rect;
    if (!GetCursorPos(&cursor) || !GetWindowRect(window, &rect))
        return false;
    return cursor.x >= rect.left && cursor.x <= rect.right && cursor.y >= rect.top && cursor.y <= rect.bottom;
}

void SkinControl::DrawCaption(HDC dc, const RECT& rect, int dx, int dy) const
{
    RECT textRect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(window) ? textColor : disabledTextColor);
    // Wine's text output puts an inverted clip rectangle in order and would
    // draw a bar's caption over its caps: a middle without width has none.
    if (caption.empty() || textRect.right <= textRect.left || textRect.bottom <= textRect.top)
        return;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void SkinControl::DrawBitmap(HDC dc, const RECT& rect, UINT id) const
{
    MemoryDC memory(nullptr);
    if (!memory)
        return;
    GdiObject<HBITMAP> bitmap(LoadBitmapW(instance, MAKEINTRESOURCEW(id)));
    if (!bitmap)
        return;
    SelectGuard select(memory.Get(), bitmap.Get());
    // Else the copy would come from the memory DC's default 1x1 bitmap.
    if (!select.Selected())
        return;
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory.Get(), 0, 0, SRCCOPY);
}

int SkinControl::BitmapWidth(UINT id) const { return BitmapSize(id).cx; }

SIZE SkinControl::BitmapSize(UINT id) const
{
    if (id == 0)
        return {0, 0};
    GdiObject<HBITMAP> bitmap(LoadBitmapW(instance, MAKEINTRESOURCEW(id)));
    BITMAP info;
    if (!bitmap || GetObjectW(bitmap.Get(), sizeof info, &info) == 0)
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

LRESULT CALLBACK SkinControl::SubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR subclassId, DWORD_PTR refData)
{
    SkinControl* self = reinterpret_cast<SkinControl*>(refData);
    if (self == nullptr)
        return DefSubclassProc(control, message, wParam, lParam);

    switch (message) {
    case WM_MOUSEMOVE:
        // Holding the capture is how the control learns that the cursor left.
        // Taken with no button down, a capture follows the cursor only over
        // this thread's windows (documented for SetCapture): a cursor that
        // leaves the dialog straight for another program's window keeps the
        // hover look on until it comes back, a look and nothing more.
        if (GetCapture() != self->window) {
            SetCapture(self->window);
            HWND focus = GetFocus();
            wchar_t className[32];
            if (focus != nullptr && GetClassNameW(focus, className, 32) > 0 && std::wcscmp(className, L"BUTTON") == 0)
                SetFocus(self->window);
            self->hovering = 1;
            InvalidateRect(self->window, nullptr, FALSE);
        } else if (!self->IsCursorInside()) {
            ReleaseCapture();
            self->hovering = 0;
            InvalidateRect(self->window, nullptr, FALSE);
        }
        break;
    case WM_LBUTTONDBLCLK:
        // A quick second click presses the button again instead of being lost.
        PostMessageW(control, WM_LBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, SubclassProc, subclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}
