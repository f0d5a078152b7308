#include "dialogs/MessageBoxLayout.h"

#include "resource.h"

RECT ControlRect(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

MessageBoxLayout ReadLayout(HWND box)
{
    MessageBoxLayout layout = {};
    GetWindowRect(box, &layout.box);
    layout.titleBar = ControlRect(box, IDC_TITLE_BAR);
    layout.textArea = ControlRect(box, IDC_MESSAGE_TEXT);
    layout.panel = ControlRect(box, IDC_MESSAGE_PANEL);
    layout.icon = ControlRect(box, IDC_MESSAGE_ICON);
    layout.ok = ControlRect(box, IDOK);
    layout.cancel = ControlRect(box, IDCANCEL);
    layout.bottomStrip = ControlRect(box, IDC_STRIP_BOTTOM);
    return layout;
}

namespace {
// Leaves every message to the dialog manager.
INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
}

MessageBoxLayout TemplateLayout()
{
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                                     PlainDialogProc, 0);
    const MessageBoxLayout layout = ReadLayout(dialog);
    DestroyWindow(dialog);
    return layout;
}

int ExpectedTextHeight(const wchar_t* text)
{
    const RECT area = TemplateLayout().textArea;
    RECT rect = {0, 0, Width(area), 0};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DrawTextW(dc, text, -1, &rect, DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CALCRECT);
    SelectObject(dc, previous);
    DeleteDC(dc);
    const int height = Height(rect) + 10;
    return height < 40 ? 40 : height;
}
