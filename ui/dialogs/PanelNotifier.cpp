#include "ui/dialogs/PanelNotifier.h"

// The command goes one of two ways, by what the panel window has shown:
//
// - Sent, to a window that answers a message that asks nothing (WM_NULL)
//   within 5 s of Ok. The panel handles it while this program waits for it,
//   so it never depends on outliving its sender. While SendMessageTimeoutW
//   waits without SMTO_BLOCK, this thread handles what is sent to its own
//   windows (documented): a panel that sends back is served.
// - Posted, to a window that has not answered by then. A posted message waits
//   in the queue of the panel's own thread (documented for PostMessage), so a
//   panel that answers late, even after this program has ended, still gets it.
//
// The close is always posted, to the window found anew: a panel that went
// away on the command gets nothing. Posted after the command was handled or
// posted, it comes after the command: the system puts posted messages at the
// end of the queue, first in, first out (About Messages and Message Queues).
// A sent close could be lost: a panel that handled the command and then went
// busy past the bound would never retrieve it, and a timed-out send that was
// never retrieved is cancelled. Posting it again then would double it for a
// panel that had retrieved it and was still handling it; a post is never
// cancelled and never repeated, so the panel gets the close exactly once.
//
// The dialog is hidden at Ok, so waiting for a panel that answered and then
// went busy shows nothing. The wait ends 20 s after Ok: the time Windows 2000
// and XP give a program that does not answer at shutdown before they offer
// to end it (WaitToKillAppTimeout's default; Vista and later give a hung one
// 5 s). A panel still busy then counts as hung: its command is cancelled if
// it never retrieved it (so Microsoft describes SendMessageTimeout; Wine
// does the same), and runs to its end if it did, so it is never posted again.

namespace {
const wchar_t PanelClass[] = L"DUZAZODI";
const WPARAM PanelCommand = 2;
const DWORD AnswerMs = 5000;
const DWORD SendMs = 20000;

LONG Left(DWORD okTime, DWORD bound) { return static_cast<LONG>(okTime + bound - GetTickCount()); }

// After a send or post to `panel` failed: true when the panel refused the
// message (Windows blocks messages to a program at a higher integrity level
// with ERROR_ACCESS_DENIED; a full queue fails a post), false when it was
// only busy past the bound or has gone.
bool Refused(HWND panel)
{
    const DWORD error = GetLastError();
    return error != ERROR_TIMEOUT && error != ERROR_INVALID_WINDOW_HANDLE && IsWindow(panel);
}

// False when the panel refused the command.
bool DeliverCommand(DWORD okTime)
{
    HWND panel = FindWindowW(PanelClass, nullptr);
    if (panel == nullptr)
        return true;
    DWORD_PTR answer = 0;
    // A probe the panel refuses is no answer: it may still let the command
    // itself through.
    const LONG answerLeft = Left(okTime, AnswerMs);
    const bool answers = answerLeft > 0 && SendMessageTimeoutW(panel, WM_NULL, 0, 0, SMTO_NORMAL,
                                                               static_cast<UINT>(answerLeft), &answer) != 0;
    const LONG sendLeft = Left(okTime, SendMs);
    if (answers && sendLeft > 0)
        return SendMessageTimeoutW(panel, WM_COMMAND, PanelCommand, 0, SMTO_NORMAL, static_cast<UINT>(sendLeft),
                                   &answer) != 0 ||
               !Refused(panel);
    return PostMessageW(panel, WM_COMMAND, PanelCommand, 0) || !Refused(panel);
}

// False when the panel refused the close.
bool DeliverClose()
{
    HWND panel = FindWindowW(PanelClass, nullptr);
    return panel == nullptr || PostMessageW(panel, WM_CLOSE, 0, 0) || !Refused(panel);
}
}

bool NotifyPanel(bool closeNeeded, DWORD okTime)
{
    const bool commandTold = DeliverCommand(okTime);
    return (!closeNeeded || DeliverClose()) && commandTold;
}
