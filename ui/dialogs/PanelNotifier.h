#pragma once

#include <windows.h>

// Tells the control panel (the top-level window of class "DUZAZODI") that the
// settings were saved, with WM_COMMAND 2, and then, when `closeNeeded`, asks
// it to close with WM_CLOSE, looking the window up again for that. A panel
// that answers within 5 s of Ok (`okTime`, a GetTickCount value) gets the
// command sent and waited for, one that does not gets it posted; the close
// is posted. Returns within 20 s of Ok: false when the panel refused a
// message, true when it was told, was busy past the bound, went away or
// was not running.
bool NotifyPanel(bool closeNeeded, DWORD okTime);
