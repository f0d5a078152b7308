#pragma once

#include <windows.h>

// Tells the control panel (the top-level window of class "DUZAZODI") that the
// settings were saved, with WM_COMMAND 2, and then, when `closeNeeded`, asks
// it to close with WM_CLOSE, looking the window up again for that. Each is
// sent, and waited for, from a helper thread once the panel has shown that
// it takes sent messages; this thread waits until `deadline` (a GetTickCount
// value), handling messages sent to its own windows meanwhile. What has not
// been sent by then is posted to the panel window found then, so that a
// panel that answers late still gets every message once, the command first,
// even after this process has ended.
void NotifyPanel(bool closeNeeded, DWORD deadline);
