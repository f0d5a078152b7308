// Template 101 as the dialog manager alone makes it, from the program's own
// resources: no skin, no settings, no dialog object. What the program's
// start-up time and its dialog's size are measured against.
#include <windows.h>

#include "resource.h"

namespace {
INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        EndDialog(dialog, LOWORD(wParam));
    return message == WM_INITDIALOG;
}
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, BareProc, 0));
}
