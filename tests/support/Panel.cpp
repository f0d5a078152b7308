#include "support/Panel.h"

#include <cstdio>

const wchar_t PanelClassName[] = L"DUZAZODI";

namespace {
// Both kinds of panel share the class; a hung panel's window has no recorder.
LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    PanelRecorder* recorder = reinterpret_cast<PanelRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (recorder != nullptr)
        return recorder->Handle(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePanelWindow(PanelRecorder* recorder)
{
    // Classes belong to the process: register once.
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = PanelProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = PanelClassName;
        registered = RegisterClassW(&windowClass) != 0;
    }
    // Hidden: FindWindow finds it all the same, and it covers nothing on screen.
    return CreateWindowExW(0, PanelClassName, L"control panel (test)", WS_OVERLAPPED, 0, 0, 100, 100,
                           nullptr, nullptr, GetModuleHandleW(nullptr), recorder);
}
}

PanelRecorder::PanelRecorder(Behaviour behaviourOnCommand) : behaviour(behaviourOnCommand)
{
    Open();
}

PanelRecorder::~PanelRecorder()
{
    if (window != nullptr)
        DestroyWindow(window);
}

void PanelRecorder::Open()
{
    ++windowsOpened;
    window = CreatePanelWindow(this);
}

LRESULT PanelRecorder::Handle(HWND from, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        messages.push_back({message, wParam, lParam, windowsOpened});
        if (behaviour != Stays) {
            // Leave first, so that the new window is the only one of the class.
            SetWindowLongPtrW(from, GWLP_USERDATA, 0);
            DestroyWindow(from);
            window = nullptr;
            if (behaviour == Restarts)
                Open();
        }
        return 0;
    case WM_CLOSE:
        // Recorded, not obeyed: the test reads the log afterwards.
        messages.push_back({message, wParam, lParam, windowsOpened});
        return 0;
    default:
        return DefWindowProcW(from, message, wParam, lParam);
    }
}

std::string PanelRecorder::Log() const
{
    std::string log;
    for (const PanelMessage& entry : messages) {
        char text[64];
        std::snprintf(text, sizeof text, "%s(%lu,%ld)", entry.message == WM_CLOSE ? "CLOSE" : "COMMAND",
                      static_cast<unsigned long>(entry.wParam), static_cast<long>(entry.lParam));
        if (!log.empty())
            log += ' ';
        log += text;
    }
    return log;
}

HungPanel::HungPanel()
{
    ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    if (thread != nullptr)
        WaitForSingleObject(ready, 10000);
}

HungPanel::~HungPanel()
{
    SetEvent(release);
    if (thread != nullptr) {
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
    }
    CloseHandle(release);
    CloseHandle(ready);
}

DWORD WINAPI HungPanel::Run(void* param)
{
    HungPanel* self = static_cast<HungPanel*>(param);
    HWND created = CreatePanelWindow(nullptr);
    self->window = created;
    SetEvent(self->ready);
    // Never looks at its messages while the test runs: that is the hang.
    WaitForSingleObject(self->release, INFINITE);
    DestroyWindow(created);
    return 0;
}
