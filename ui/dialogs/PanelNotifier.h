#pragma once

#include <windows.h>

// Tells the control panel (the top-level window of class "DUZAZODI") that the
// settings were saved, with WM_COMMAND 2, and then, when `closeNeeded`, asks
// it to close with WM_CLOSE, looking the window up again for that. A panel
// that takes sent messages gets both sent and waited for; one that does not
// answer within 5 s of Ok (`okTime`, a GetTickCount value) gets them posted.
// Returns within 20 s of Ok.
void NotifyPanel(bool closeNeeded, DWORD okTime);
