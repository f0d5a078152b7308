#pragma once

#include <windows.h>

// Tells the control panel (the top-level window of class "DUZAZODI") that the
// settings were saved, with WM_COMMAND 2, and then, when `closeNeeded`, asks
// it to close with WM_CLOSE, looking the window up again for that. Both are
// sent synchronously, one after the other, from a helper thread; this thread
// waits until `deadline` (a GetTickCount value), handling messages sent to
// its own windows meanwhile. What has not gone out by then is posted, so
// that a panel that answers late still gets every message once, in order,
// even after this process has ended. A helper caught between taking the
// command and sending it at the deadline is waited for up to 2 s more, so
// that the command is queued before a close is posted and before the
// process ends.
void NotifyPanel(bool closeNeeded, DWORD deadline);
