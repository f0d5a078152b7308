#include "ui/dialogs/PanelNotifier.h"

#include <cwchar>
#include <new>

namespace {
const wchar_t PanelClass[] = L"DUZAZODI";
const WPARAM PanelCommand = 2;
// How long past the deadline we wait for a helper that took a message to be
// waiting in its send: a few instructions, unless the machine is very busy.
const DWORD QueuedWaitMs = 2000;
const UINT ProbeMs = 100;

// Who takes a message, and so how it goes.
enum Route : LONG { Unclaimed, Sent, Posted };

// Shared by the helper thread and the waiting thread, and left to the helper
// when the wait ends first: the process may exit with the helper still
// waiting in a send to a hung panel.
struct Delivery {
    bool closeNeeded = false;
    DWORD deadline = 0;
    HWND helperWindow = nullptr;  // a message-only window of the helper thread
    // Which thread takes each message: first come, first served.
    volatile LONG command = Unclaimed;
    volatile LONG close = Unclaimed;
};

HWND FindPanel()
{
    return FindWindowW(PanelClass, nullptr);
}

bool Claim(volatile LONG& message, Route by)
{
    return InterlockedCompareExchange(&message, by, Unclaimed) == Unclaimed;
}

#ifdef KRV_TEST_HOOKS
// Test builds only: with KRV_HELPER_HELD_MS set, the helper stops between its
// claim and its send until that long past the deadline, as on a very busy
// machine.
void HoldHelper(DWORD deadline)
{
    wchar_t text[16];
    const DWORD length = GetEnvironmentVariableW(L"KRV_HELPER_HELD_MS", text, 16);
    if (length == 0 || length >= 16)
        return;
    const LONG left = static_cast<LONG>(deadline + wcstoul(text, nullptr, 10) - GetTickCount());
    if (left > 0)
        Sleep(static_cast<DWORD>(left));
}
#endif

// The sequence as it always was: the command, then the close request to the
// window found again, each waiting until the panel has handled it. This
// thread handles messages sent to its window only while waiting in one of
// these sends, so an answer from that window means a message is queued.
DWORD WINAPI SendToPanel(void* parameter)
{
    Delivery& delivery = *static_cast<Delivery*>(parameter);
    HWND own = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&delivery.helperWindow), own);
    if (!Claim(delivery.command, Sent))
        return 0;
#ifdef KRV_TEST_HOOKS
    HoldHelper(delivery.deadline);
#endif
    if (HWND panel = FindPanel())
        SendMessageW(panel, WM_COMMAND, PanelCommand, 0);
    if (delivery.closeNeeded && Claim(delivery.close, Sent)) {
        // Looked up anew: a panel that went away after the command gets nothing.
        if (HWND panel = FindPanel())
            SendMessageW(panel, WM_CLOSE, 0, 0);
    }
    if (own)
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
// window answers) or to have ended, having handed over all it took.
bool WaitForHelperSending(HANDLE helper, HWND own, DWORD deadline)
{
    for (;;) {
        const LONG left = static_cast<LONG>(deadline - GetTickCount());
        if (left <= 0)
            return false;
        DWORD_PTR answer = 0;
        if (own != nullptr && SendMessageTimeoutW(own, WM_NULL, 0, 0, SMTO_NORMAL,
                                                  left < LONG(ProbeMs) ? UINT(left) : ProbeMs, &answer))
            return true;
        // Not the probe alone: it fails at once once the helper has destroyed its window, or had none.
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
    if (helper != nullptr && WaitForHelper(helper, deadline)) {
        CloseHandle(helper);
        HeapFree(GetProcessHeap(), 0, memory);
        return;
    }
    const bool postCommand = Claim(delivery->command, Posted);
    // Taken before the probe: a close the helper holds by then shows that its
    // command was handled, so its window can only answer from the close's send.
    bool postClose = closeNeeded && Claim(delivery->close, Posted);
    // A command the helper took must be queued at the panel before a close is
    // posted behind it (sent messages are handled before posted ones), and
    // before this process ends and the helper with it (a queued message stays
    // queued when its sender ends). That takes it a few instructions at most;
    // a machine too busy for that within the bound loses rather than reorders.
    if (!postCommand) {
        HWND own = static_cast<HWND>(InterlockedCompareExchangePointer(
            reinterpret_cast<void* volatile*>(&delivery->helperWindow), nullptr, nullptr));
        if (!WaitForHelperSending(helper, own, deadline + QueuedWaitMs) && postClose) {
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
    // The helper may still use `delivery`: it is left to the process's end.
}
