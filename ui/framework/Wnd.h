#pragma once

#include <windows.h>

// The window an object serves: null until the dialog window is initialised,
// then that window for the rest of the object's life.
class Wnd {
public:
    HWND window = nullptr;
};
