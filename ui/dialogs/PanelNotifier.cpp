#include "ui/dialogs/PanelNotifier.h"

#include <cwchar>
#include <new>

// Each message (the command; the close, when asked for) is in one state:
//
//   state      moved there by   when
//   Unclaimed  -                at the start
//   Claimed    the helper       the panel answered a probe (or, for the close,
//                               none is found): the helper sends it and waits
//   Posted     the waiting      the helper has ended or the deadline has
//              thread           passed: posted to the panel window found then
//
// At the deadline a command the helper claimed must be inside its send before
// a close is posted behind it; the waiting thread gives it 2 s more, and
// otherwise posts no close at all rather than one that could go first.
//
// What this relies on:
// - A thread waiting in SendMessage handles the messages sent to its own
//   windows (documented): the helper's window answers only while the helper
//   waits in a send, or once it has ended.
// - Sent messages are retrieved before posted ones (documented for
//   GetMessage), and a posted message stays queued after its sender ends.
// - A sent message that the receiver has not retrieved when the sending
//   thread ends may be dropped: Windows documents nothing, Wine keeps it.
//   So nothing is sent to a panel that does not answer the probe. Only a
//   panel that answers it and then stops before it retrieves the command
//   depends on this: on a platform that drops the command it gets the close
//   alone, which restarts it with the saved settings, what the command asks.
// - A message posted to a window destroyed before it is retrieved is lost: a
//   panel hung at Ok that makes a new window on the posted command loses the
//   close posted with it, having restarted on the saved settings already.

namespace {
const wchar_t PanelClass[] = L"DUZAZODI";
const WPARAM PanelCommand = 2;
// How long past the deadline we wait for a helper that has claimed the
// command to be inside its send: a few instructions, unless the machine is
// very busy.
const DWORD SendingWaitMs = 2000;
const UINT HelperProbeMs = 100;

enum State : LONG { Unclaimed, Claimed, Posted };

// Shared by the helper thread and the waiting thread, and left to the helper
// when the wait ends first: the process may exit with the helper still
// waiting in a send to a slow panel.
struct Delivery {
    bool closeNeeded = false;
    DWORD deadline = 0;
    HWND helperWindow = nullptr;  // a message-only window of the helper thread
    volatile LONG command = Unclaimed;
    volatile LONG close = Unclaimed;
};

HWND FindPanel() { return FindWindowW(PanelClass, nullptr); }

bool Claim(volatile LONG& message, State by)
{
    return InterlockedCompareExchange(&message, by, Unclaimed) == Unclaimed;
}

#ifdef KRV_TEST_HOOKS
// Test builds only, as on a very busy machine: KRV_HELPER_HELD=probed:MS or
// sending:MS stops the helper, after the panel answered its probe or after it
// claimed the command, until MS past the deadline; =no-window fails the
// helper's window.
bool Hooked(const wchar_t* what, DWORD* heldMs = nullptr)
{
    wchar_t text[32];
    const DWORD length = GetEnvironmentVariableW(L"KRV_HELPER_HELD", text, 32);
    const size_t prefix = wcslen(what);
    if (length == 0 || length >= 32 || wcsncmp(text, what, prefix) != 0)
        return false;
    if (heldMs != nullptr)
        *heldMs = wcstoul(text + prefix + 1, nullptr, 10);
    return true;
}
void HoldHelper(DWORD deadline, const wchar_t* where)
{
    DWORD past = 0;
    const LONG left = Hooked(where, &past) ? static_cast<LONG>(deadline + past - GetTickCount()) : 0;
    if (left > 0)
        Sleep(static_cast<DWORD>(left));
}
#define HOLD_HELPER(delivery, where) HoldHelper((delivery).deadline, where)
#define HELPER_WINDOW_FAILS          Hooked(L"no-window")
#else
#define HOLD_HELPER(delivery, where)
#define HELPER_WINDOW_FAILS false
#endif

// Whether `panel` takes sent messages: it answers a message that asks
// nothing before the deadline. One that times out is never delivered.
bool Answers(HWND panel, DWORD deadline)
{
    const LONG left = static_cast<LONG>(deadline - GetTickCount());
    DWORD_PTR answer = 0;
    return left > 0 && SendMessageTimeoutW(panel, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(left), &answer) != 0;
}

// Sends `message` to the panel found now, once it has answered; false when
// the message is left to be posted.
bool Send(Delivery& delivery, volatile LONG& state, UINT message, WPARAM wParam)
{
    HWND panel = FindPanel();
    if (panel == nullptr)
        return Claim(state, Claimed);  // no panel: nothing to send or to post
    if (!Answers(panel, delivery.deadline))
        return false;
    HOLD_HELPER(delivery, L"probed");
    if (!Claim(state, Claimed))
        return false;
    HOLD_HELPER(delivery, L"sending");
    SendMessageW(panel, message, wParam, 0);
    return true;
}

// The sequence as it always was: the command, then the close request to the
// window found again, each waiting until the panel has handled it.
DWORD WINAPI SendToPanel(void* parameter)
{
    Delivery& delivery = *static_cast<Delivery*>(parameter);
    HWND own = HELPER_WINDOW_FAILS
                   ? nullptr
                   : CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Without it nothing could show that a send has begun: everything is
    // left to be posted, at once.
    if (own == nullptr)
        return 0;
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&delivery.helperWindow), own);
    // Looked up anew for the close: a panel that went away after the command gets nothing.
    if (Send(delivery, delivery.command, WM_COMMAND, PanelCommand) && delivery.closeNeeded)
        Send(delivery, delivery.close, WM_CLOSE, 0);
    DestroyWindow(own);
    return 0;
}

// Until the helper ends or the deadline passes. A panel handling our message
// may send to our windows in turn; that must not wait for our answer.
bool WaitForHelper(HANDLE helper, DWORD deadline)
{
    for (;;) {
        const LONG left = static_cast<LONG>(deadline - GetTickCount());
        if (left <= 0)
            return false;
        const DWORD wait = MsgWaitForMultipleObjects(1, &helper, FALSE, static_cast<DWORD>(left), QS_SENDMESSAGE);
        if (wait == WAIT_OBJECT_0)
            return true;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

// Whether, by `deadline`, the helper is known to be waiting in a send (its
// window answers) or to have ended.
bool WaitForHelperSending(HANDLE helper, HWND own, DWORD deadline)
{
    for (;;) {
        const LONG left = static_cast<LONG>(deadline - GetTickCount());
        if (left <= 0)
            return false;
        DWORD_PTR answer = 0;
        const UINT probe = left < LONG(HelperProbeMs) ? UINT(left) : HelperProbeMs;
        if (SendMessageTimeoutW(own, WM_NULL, 0, 0, SMTO_NORMAL, probe, &answer))
            return true;
        // Not the probe alone: it fails at once once the helper has destroyed its window.
        if (WaitForHelper(helper, GetTickCount() + 10))
            return true;
    }
}
}

void NotifyPanel(bool closeNeeded, DWORD deadline)
{
    // From the process heap rather than operator new, which would bring the
    // C++ exception machinery into the program for this one object.
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(Delivery));
    if (memory == nullptr)
        return;
    Delivery* delivery = new (memory) Delivery;
    delivery->closeNeeded = closeNeeded;
    delivery->deadline = deadline;
    HANDLE helper = CreateThread(nullptr, 0, SendToPanel, delivery, 0, nullptr);
    const bool helperEnded = helper == nullptr || WaitForHelper(helper, deadline);
    const bool postCommand = Claim(delivery->command, Posted);
    bool postClose = closeNeeded && Claim(delivery->close, Posted);
    // A claimed command must be inside the helper's send before this process
    // ends, and the helper with it, and before a close is posted behind it.
    // A close the helper claimed shows the command handled already.
    if (!helperEnded && !postCommand && delivery->close != Claimed) {
        HWND own = static_cast<HWND>(InterlockedCompareExchangePointer(
            reinterpret_cast<void* volatile*>(&delivery->helperWindow), nullptr, nullptr));
        if (!WaitForHelperSending(helper, own, deadline + SendingWaitMs) && postClose) {
            // Back to the helper, which sends it in turn should it get that far.
            InterlockedExchange(&delivery->close, Unclaimed);
            postClose = false;
        }
    }
    if (HWND panel = FindPanel()) {
        if (postCommand)
            PostMessageW(panel, WM_COMMAND, PanelCommand, 0);
        if (postClose)
            PostMessageW(panel, WM_CLOSE, 0, 0);
    }
    if (helper != nullptr)
        CloseHandle(helper);
    // Else the helper may still use `delivery`: it is left to the process's end.
    if (helperEnded)
        HeapFree(GetProcessHeap(), 0, memory);
}
