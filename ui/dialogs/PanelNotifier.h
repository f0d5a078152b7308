#pragma once

#include <windows.h>

// Tells the control panel (the top-level window of class "DUZAZODI") that the
// settings were saved, with WM_COMMAND 2, and then, when `closeNeeded`, asks
// it to close with WM_CLOSE, looking the window up again for that. Both are
// sent synchronously, one after the other, from a helper thread; this thread
// waits until `deadline` (a GetTickCount value), handling messages sent to
// its own windows meanwhile. What has not gone out by then is posted, so
// that a panel that answers late still gets every message once, in order,
// even after this process has ended. A message the helper has begun to send
// by then is waited for up to 2 s more, until it is queued at the panel, so
// that a close posted never overtakes the command.
void NotifyPanel(bool closeNeeded, DWORD deadline);
