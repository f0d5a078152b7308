#pragma once

#include <windows.h>

// Shows `text` like the platform's message box and returns its result
// (IDOK, IDCANCEL, IDYES, IDNO).
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
