#pragma once

#include <windows.h>

// The monitor that holds the middle of `window`: for a dialog the system
// centred in the work area of a monitor, that monitor.
HMONITOR MonitorOf(HWND window);

// The work area of `monitor`: where a dialog must lie whole to be usable.
RECT WorkArea(HMONITOR monitor);

// Whether `window`, as large as it is, fits the work area of `monitor`.
bool FitsWorkArea(HWND window, HMONITOR monitor);

// Moves `window` to the middle of the work area of `monitor`.
void CentreIn(HWND window, HMONITOR monitor);

// Dialog template `id` of `module`, for a dialog that does not fit the work
// area of `monitor` as it is: a copy (for HeapFree) whose font is lowered
// until it fits, but never made smaller on that monitor's display than the
// template's font at 96 dpi. Null where no lower font is allowed, and for
// any template but an extended one with a font.
DLGTEMPLATE* FitTemplate(HINSTANCE module, UINT id, HMONITOR monitor);
