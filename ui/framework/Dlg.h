#pragma once

#include <windows.h>

#include "ui/framework/Wnd.h"
#include "ui/skin/SkinButton.h"
#include "ui/skin/SkinHeader.h"

// What RunDialog tells the dialog procedure of the dialog it is making.
struct DialogRun {
    HINSTANCE module;
    UINT templateId;
    HMONITOR monitor;     // the monitor the system put the dialog on
    DLGTEMPLATE* fitted;  // the template lowered to fit it, where the dialog did not
};

// A modal dialog object. Bound to its window at WM_INITDIALOG; from then on
// each window message reaches one of the handlers below, whose result is the
// dialog procedure's result (0 leaves the message to the dialog manager).
// Buttons never end a dialog themselves: OnCommand posts WM_CLOSE with the
// button's id and OnClose calls EndDialog.
class Dlg : public Wnd {
public:
    Dlg() = default;
    virtual ~Dlg() = default;
    Dlg(const Dlg&) = delete;
    Dlg& operator=(const Dlg&) = delete;

    // Runs when the dialog is activated or deactivated.
    virtual INT_PTR OnActivate(WPARAM wParam, LPARAM lParam);
    // Runs for a command from a control, a menu or an accelerator.
    virtual INT_PTR OnCommand(WPARAM wParam, LPARAM lParam);
    // Runs for WM_CLOSE; `result` is its wParam (0 for the system's close).
    virtual INT_PTR OnClose(WPARAM result);
    // The colour handlers return the brush the system paints with, or 0.
    virtual INT_PTR OnCtlColorDlg(HDC dc, HWND dialog);
    virtual INT_PTR OnCtlColorBtn(HDC dc, HWND control);
    virtual INT_PTR OnCtlColorEdit(HDC dc, HWND control);
    virtual INT_PTR OnCtlColorListBox(HDC dc, HWND control);
    virtual INT_PTR OnCtlColorStatic(HDC dc, HWND control);
    // Runs when an owner-drawn control needs painting.
    virtual INT_PTR OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item);
    virtual INT_PTR OnHScroll(WPARAM wParam, LPARAM lParam);
    // Runs once, before the dialog is shown; 1 lets the system set the focus.
    virtual INT_PTR OnInitDialog(WPARAM focusControl, LPARAM initParam);
    virtual INT_PTR OnMeasureItem(UINT controlId, MEASUREITEMSTRUCT* item);
    // Client-area position; negative coordinates arrive as 16-bit patterns.
    virtual INT_PTR OnMove(unsigned x, unsigned y);
    virtual INT_PTR OnNcPaint();
    virtual INT_PTR OnNotify(WPARAM controlId, NMHDR* header);
    virtual INT_PTR OnPaint();
    virtual INT_PTR OnTimer(WPARAM timerId, LPARAM callback);
    virtual INT_PTR OnVScroll(WPARAM wParam, LPARAM lParam);
    // Every message without a handler of its own.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    SkinHeader titleBar;
    SkinButton okButton;
    SkinButton cancelButton;
    // Set while RunDialog runs the dialog.
    DialogRun* run = nullptr;
};

// The dialog procedure to give DialogBoxParamW, with the object's address
// as the creation parameter.
INT_PTR CALLBACK InitialDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Takes over from InitialDialogProc once the object is bound.
INT_PTR CALLBACK RoutingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR RouteMessage(Dlg* dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs template `templateId` modally for `dialog`, its font lowered where the
// dialog would not fit the work area of the monitor the system puts it on.
// The template comes from the owner's module; a null owner means the
// program's own module.
INT_PTR RunDialog(Dlg& dialog, HWND owner, UINT templateId);
