#pragma once

#include <windows.h>

// The work area of the monitor that holds `window`, or of the primary monitor
// for none: where a dialog must lie whole to be usable.
RECT WorkArea(HWND window);

// Dialog template `id` of `module` as it should be made: null when the dialog
// it makes fits the work area as it is; otherwise a copy (for HeapFree) whose
// font is lowered until it fits, but never made smaller than the template's
// font at 96 dpi. An extended template only; any other stays as it is.
DLGTEMPLATE* FitTemplate(HINSTANCE module, UINT id);
