#include "ui/dialogs/PanelNotifier.h"

#include <new>

namespace {
const wchar_t PanelClass[] = L"DUZAZODI";
const WPARAM PanelCommand = 2;
// The longest a helper may need to get from claiming a message to waiting in
// its send: a few instructions, unless the machine is very busy.
const UINT QueuedProbeMs = 200;

enum Claim : LONG { Unclaimed, Sent, Posted };

// Shared by the helper thread and the waiting thread, and left to the helper
// when the wait ends first: the process may exit with the helper still
// waiting in a send to a hung panel.
struct Delivery {
    bool closeNeeded = false;
    HWND helperWindow = nullptr;  // a message-only window of the helper thread
    // Which thread takes each message: first come, first served.
    volatile LONG command = Unclaimed;
    volatile LONG close = Unclaimed;
};

HWND FindPanel()
{
    return FindWindowW(PanelClass, nullptr);
}

bool Claim(volatile LONG& message, Claim by)
{
    return InterlockedCompareExchange(&message, by, Unclaimed) == Unclaimed;
}

// The sequence as it always was: the command, then the close request to the
// window found again, each waiting until the panel has handled it.
DWORD WINAPI SendToPanel(void* parameter)
{
    Delivery& delivery = *static_cast<Delivery*>(parameter);
    HWND own = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&delivery.helperWindow), own);
    if (!Claim(delivery.command, Sent))
        return 0;
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
    HANDLE helper = CreateThread(nullptr, 0, SendToPanel, delivery, 0, nullptr);
    if (helper != nullptr && WaitForHelper(helper, deadline)) {
        CloseHandle(helper);
        HeapFree(GetProcessHeap(), 0, memory);
        return;
    }
    const bool postCommand = Claim(delivery->command, Posted);
    const bool postClose = closeNeeded && Claim(delivery->close, Posted);
    // A thread waiting in a send handles messages sent to it, so an answer
    // from the helper's window means its own message is in the panel's queue
    // by now: what we post goes behind it, and the sent message comes first
    // anyway, as sent messages always do.
    if (HWND own = static_cast<HWND>(InterlockedCompareExchangePointer(
            reinterpret_cast<void* volatile*>(&delivery->helperWindow), nullptr, nullptr))) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(own, WM_NULL, 0, 0, SMTO_NORMAL, QueuedProbeMs, &answer);
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
