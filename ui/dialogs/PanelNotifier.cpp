#include "ui/dialogs/PanelNotifier.h"

// Each message goes one of two ways, by what the panel window has shown:
//
// - Sent, to a window that handled our last message or answers one that asks
//   nothing (WM_NULL) within 5 s of Ok. The panel handles it while this
//   program waits for it, so it never depends on outliving its sender. While
//   SendMessageTimeoutW waits without SMTO_BLOCK, this thread handles what is
//   sent to its own windows (documented): a panel that sends back is served.
// - Posted, to a window that has not answered by then. A posted message waits
//   in the queue of the panel's own thread (documented for PostMessage), so a
//   panel that answers late, even after this program has ended, still gets
//   it, and posted messages come in the order posted.
//
// The dialog is hidden at Ok, so waiting for a panel that answered and then
// went busy shows nothing. The wait ends 20 s after Ok, the time Windows
// itself gives a busy program at shutdown before it ends it
// (WaitToKillAppTimeout). A send that times out is cancelled if the panel has
// not retrieved it yet, and runs to its end if it has (so Microsoft describes
// SendMessageTimeout; Wine does the same): never posted again, it cannot come
// twice. A panel still busy then is taken as hung, and a close that is due is
// posted: it restarts the panel on the saved settings, what the command asks.

namespace {
const wchar_t PanelClass[] = L"DUZAZODI";
const WPARAM PanelCommand = 2;
const DWORD AnswerMs = 5000;
const DWORD SendMs = 20000;

LONG Left(DWORD okTime, DWORD bound) { return static_cast<LONG>(okTime + bound - GetTickCount()); }

// Sends `message` to the panel window found now, or posts it (above);
// returns the window when it has handled the message.
HWND Deliver(UINT message, WPARAM wParam, DWORD okTime, HWND handledLast)
{
    HWND panel = FindWindowW(PanelClass, nullptr);
    if (panel == nullptr)
        return nullptr;
    DWORD_PTR answer = 0;
    const LONG answerLeft = Left(okTime, AnswerMs);
    const bool answers =
        panel == handledLast || (answerLeft > 0 && SendMessageTimeoutW(panel, WM_NULL, 0, 0, SMTO_NORMAL,
                                                                       static_cast<UINT>(answerLeft), &answer) != 0);
    const LONG sendLeft = Left(okTime, SendMs);
    if (!answers || sendLeft <= 0) {
        PostMessageW(panel, message, wParam, 0);
        return nullptr;
    }
    return SendMessageTimeoutW(panel, message, wParam, 0, SMTO_NORMAL, static_cast<UINT>(sendLeft), &answer) != 0
               ? panel
               : nullptr;
}
}

void NotifyPanel(bool closeNeeded, DWORD okTime)
{
    // Looked up anew for the close: a panel that went away on the command gets nothing.
    HWND handled = Deliver(WM_COMMAND, PanelCommand, okTime, nullptr);
    if (closeNeeded)
        Deliver(WM_CLOSE, 0, okTime, handled);
}
