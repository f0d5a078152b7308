#pragma once

#include <windows.h>

// Where the message box's parts are: the window in screen coordinates, the
// controls in the box's client coordinates. Works across processes.
struct MessageBoxLayout {
    RECT box;
    RECT titleBar;
    RECT textArea;
    RECT panel;
    RECT icon;
    RECT ok;
    RECT cancel;
    RECT bottomStrip;
};

MessageBoxLayout ReadLayout(HWND box);

// Template 102 as the dialog manager lays it out in this process, before the
// box fits it to its text.
MessageBoxLayout TemplateLayout();

// The height the box should give its text area for `text`: the text wrapped
// in the template's text width with the system font, plus 10, at least 40.
int ExpectedTextHeight(const wchar_t* text);

RECT ControlRect(HWND dialog, int id);
inline int Width(const RECT& rect) { return rect.right - rect.left; }
inline int Height(const RECT& rect) { return rect.bottom - rect.top; }
