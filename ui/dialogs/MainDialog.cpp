#include "ui/dialogs/MainDialog.h"

#include "app/Startup.h"
#include "resource.h"

INT_PTR MainDialog::OnCommand(WPARAM wParam, LPARAM)
{
    const WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL)
        return 0;
    PostMessageW(window, WM_CLOSE, id, 0);
    return 1;
}

INT_PTR MainDialog::OnClose(WPARAM result)
{
    EndDialog(window, static_cast<INT_PTR>(result));
    return 0;
}

void RunSettingsDialog()
{
    MainDialog dialog;
    RunDialog(dialog, MainWindow, IDD_SETTINGS);
}
