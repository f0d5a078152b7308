#pragma once

#include <windows.h>

#include <vector>

#include "ui/framework/DialogFrame.h"
#include "ui/framework/Dlg.h"

// The skinned test dialog (template 201), made modeless through the same
// binding as the program's modal dialogs. OnInitDialog attaches the title bar
// and the two buttons, gives them the skin of the message box (faces 1023 to
// 1026, slices 1020 to 1022 for every look) and sizes them; draw requests go
// to them and to the frame, as in the real dialogs.
class SkinnedDialog : public Dlg {
public:
    ~SkinnedDialog() override;

    // Shows the dialog at (x, y) on screen, w x h pixels, its bar 32 high.
    bool Open(int x, int y, int w, int h);
    HWND Item(int id) const { return GetDlgItem(window, id); }

    INT_PTR OnInitDialog(WPARAM focusControl, LPARAM initParam) override;
    INT_PTR OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item) override;
    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;

    DialogFrame frame;
    // Every draw request and command, as received.
    std::vector<DRAWITEMSTRUCT> drawRequests;
    std::vector<WPARAM> commands;
};

// Places the button so that its window's top-left corner is at (x, y) in the
// dialog's client area.
void PlaceControl(HWND control, int x, int y);

// A draw request as the system would send it for `control`.
DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state);
