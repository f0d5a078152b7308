#pragma once

#include <windows.h>

// <windows.h> makes MessageBox a macro for MessageBoxW; here it names the
// class below, and the platform's box is always called as MessageBoxW.
#undef MessageBox

#include "ui/framework/DialogFrame.h"
#include "ui/framework/Dlg.h"

// The skinned replacement of the platform message box (template 102): the
// text word-wrapped in a sunken panel, the icon of its type, and Ok, Ok and
// Cancel, or Yes and No. It sizes itself to its text before it shows.
class MessageBox : public Dlg {
public:
    // Takes the platform message box's arguments and gives its results; the
    // platform box stands in when this one cannot be shown or ends with 0.
    int Show(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

    INT_PTR OnInitDialog(WPARAM focusControl, LPARAM initParam) override;
    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnClose(WPARAM result) override;
    INT_PTR OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item) override;
    INT_PTR OnCtlColorDlg(HDC dc, HWND dialog) override;

    void AttachControls();
    // Buttons, faces, frame, font and icon by messageType.
    void ApplyType();
    void DrawMessageText(const DRAWITEMSTRUCT* item);

    HWND textArea = nullptr;
    HWND panel = nullptr;
    HWND iconControl = nullptr;
    DialogFrame frame;
    // Borrowed from the caller of Show for as long as it runs.
    const wchar_t* messageText = nullptr;
    const wchar_t* messageCaption = nullptr;
    UINT messageType = 0;
};

// Shows `text` like the platform's message box and returns its result
// (IDOK, IDCANCEL, IDYES, IDNO). The owner may be null.
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
