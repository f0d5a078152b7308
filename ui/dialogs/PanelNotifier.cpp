#include "ui/dialogs/PanelNotifier.h"

#include <cwchar>
#include <new>

namespace {
const wchar_t PanelClass[] = L"DUZAZODI";
const WPARAM PanelCommand = 2;
// How long past the deadline we wait for a helper that has begun a send to be
// waiting in it: a few instructions, unless the machine is very busy.
const DWORD QueuedWaitMs = 2000;
const UINT ProbeMs = 100;

// Where each message stands. The helper takes one (Taken), then begins to
// send it (Sending); until it begins, the waiting thread may take it from
// Unclaimed or Taken to post it instead (Posted).
enum Route : LONG { Unclaimed, Taken, Sending, Posted };

// Shared by the helper thread and the waiting thread, and left to the helper
// when the wait ends first: the process may exit with the helper still
// waiting in a send to a hung panel.
struct Delivery {
    bool closeNeeded = false;
    DWORD deadline = 0;
    HWND helperWindow = nullptr;  // a message-only window of the helper thread
    volatile LONG command = Unclaimed;
    volatile LONG close = Unclaimed;
};

HWND FindPanel() { return FindWindowW(PanelClass, nullptr); }

bool Move(volatile LONG& message, Route from, Route to)
{
    return InterlockedCompareExchange(&message, to, from) == from;
}

#ifdef KRV_TEST_HOOKS
// Test builds only: KRV_HELPER_HELD=taken:MS or sending:MS stops the helper,
// after it takes the command or after it begins to send it, until MS past the
// deadline, as on a very busy machine.
void HoldHelper(DWORD deadline, const wchar_t* where)
{
    wchar_t text[32];
    const DWORD length = GetEnvironmentVariableW(L"KRV_HELPER_HELD", text, 32);
    const size_t prefix = wcslen(where);
    if (length == 0 || length >= 32 || wcsncmp(text, where, prefix) != 0 || text[prefix] != L':')
        return;
    const LONG left = static_cast<LONG>(deadline + wcstoul(text + prefix + 1, nullptr, 10) - GetTickCount());
    if (left > 0)
        Sleep(static_cast<DWORD>(left));
}
#define HOLD_HELPER(delivery, where) HoldHelper((delivery).deadline, where)
#else
#define HOLD_HELPER(delivery, where)
#endif

// Whether the helper may send `message`: it takes it, then begins to send it,
// unless the waiting thread took it back in between.
bool BeginSend([[maybe_unused]] Delivery& delivery, volatile LONG& message)
{
    if (!Move(message, Unclaimed, Taken))
        return false;
    HOLD_HELPER(delivery, L"taken");
    return Move(message, Taken, Sending);
}

// The sequence as it always was: the command, then the close request to the
// window found again, each waiting until the panel has handled it. This
// thread handles messages sent to its window only while waiting in one of
// these sends, so an answer from that window means a message is queued.
DWORD WINAPI SendToPanel(void* parameter)
{
    Delivery& delivery = *static_cast<Delivery*>(parameter);
    HWND own = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&delivery.helperWindow), own);
    if (BeginSend(delivery, delivery.command)) {
        HOLD_HELPER(delivery, L"sending");
        if (HWND panel = FindPanel())
            SendMessageW(panel, WM_COMMAND, PanelCommand, 0);
        // Looked up anew: a panel that went away after the command gets nothing.
        if (delivery.closeNeeded && BeginSend(delivery, delivery.close))
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
// window answers) or to have ended.
bool WaitForHelperSending(HANDLE helper, HWND own, DWORD deadline)
{
    for (;;) {
        const LONG left = static_cast<LONG>(deadline - GetTickCount());
        if (left <= 0)
            return false;
        DWORD_PTR answer = 0;
        if (own != nullptr &&
            SendMessageTimeoutW(own, WM_NULL, 0, 0, SMTO_NORMAL, left < LONG(ProbeMs) ? UINT(left) : ProbeMs, &answer))
            return true;
        // Not the probe alone: it fails at once once the helper has destroyed its window, or had none.
        if (WaitForHelper(helper, GetTickCount() + 10))
            return true;
    }
}

// Takes `message` to post it unless the helper has begun to send it; gives
// where it stood before.
LONG TakeToPost(volatile LONG& message)
{
    for (;;) {
        const LONG was = message;
        if ((was != Unclaimed && was != Taken) || InterlockedCompareExchange(&message, Posted, was) == was)
            return was;
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
    const LONG commandWas = TakeToPost(delivery->command);
    const LONG closeWas = closeNeeded ? TakeToPost(delivery->close) : Posted;
    const bool postCommand = commandWas == Unclaimed || commandWas == Taken;
    bool postClose = closeWas == Unclaimed || closeWas == Taken;
    // What the helper has begun to send must be queued at the panel before a
    // close is posted behind it (sent messages are handled before posted
    // ones) and before this process ends and the helper with it (a queued
    // message stays queued when its sender ends). That takes it a few
    // instructions; a machine too busy for that within the bound loses the
    // message rather than reorders the two. A close the helper had taken
    // shows its command handled already.
    if (!postCommand && closeWas != Taken) {
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
