#include "ui/SkinnedDialog.h"

#include "res/SkinTestIds.h"
#include "resource.h"

SkinnedDialog::~SkinnedDialog()
{
    if (window != nullptr && IsWindow(window))
        DestroyWindow(window);
}

bool SkinnedDialog::Open(int x, int y, int w, int h)
{
    if (CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_SKINNED), nullptr,
                           InitialDialogProc, reinterpret_cast<LPARAM>(this)) == nullptr)
        return false;
    SetWindowPos(window, HWND_TOP, x, y, w, h, SWP_NOACTIVATE);
    SetWindowPos(titleBar.window, nullptr, 0, 0, w, 32, SWP_NOZORDER);
    PlaceControl(okButton.window, 20, 60);
    PlaceControl(cancelButton.window, 150, 60);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return true;
}

INT_PTR SkinnedDialog::OnInitDialog(WPARAM, LPARAM)
{
    titleBar.Attach(window, IDC_TITLE_BAR);
    titleBar.SetNormalSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    titleBar.SetPressedSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    titleBar.SetHoverSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    titleBar.SetDisabledSlices(IDB_TITLE_LEFT, IDB_TITLE_RIGHT, IDB_TITLE_MIDDLE, 0);
    SkinButton* buttons[] = {&okButton, &cancelButton};
    const int ids[] = {IDOK, IDCANCEL};
    for (int i = 0; i < 2; ++i) {
        buttons[i]->Attach(window, ids[i]);
        buttons[i]->normalFace = IDB_BUTTON_NORMAL;
        buttons[i]->pressedFace = IDB_BUTTON_PRESSED;
        buttons[i]->hoverFace = IDB_BUTTON_HOVER;
        buttons[i]->disabledFace = IDB_BUTTON_DISABLED;
        buttons[i]->SizeToFace();
    }
    return 1;
}

INT_PTR SkinnedDialog::OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item)
{
    if (item != nullptr)
        drawRequests.push_back(*item);
    switch (controlId) {
    case IDC_TITLE_BAR:
        titleBar.DrawItem(item);
        return 1;
    case IDOK:
        okButton.DrawItem(item);
        return 1;
    case IDCANCEL:
        cancelButton.DrawItem(item);
        return 1;
    default:
        return frame.DrawItem(controlId, item);
    }
}

INT_PTR SkinnedDialog::OnCommand(WPARAM wParam, LPARAM)
{
    commands.push_back(wParam);
    return 1;
}

void PlaceControl(HWND control, int x, int y)
{
    SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
    item.itemAction = action;
    item.itemState = state;
    item.hwndItem = control;
    item.hDC = dc;
    item.rcItem = rect;
    return item;
}
