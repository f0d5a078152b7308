#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One message the control panel received.
struct PanelMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int window;  // which of the recorder's windows got it, from 1
};

// The control panel played by the test: a hidden top-level window of class
// "DUZAZODI" on this thread that records every WM_COMMAND and WM_CLOSE.
// Messages arrive while the thread pumps (ProgramRun's waits pump).
class PanelRecorder {
public:
    // What the panel does when the command arrives.
    enum Behaviour {
        Stays,          // keeps its window, like a panel that ignores both messages
        Leaves,         // destroys its window: the close request finds nobody
        Restarts,       // destroys its window and opens a new one
    };

    explicit PanelRecorder(Behaviour behaviour = Stays);
    ~PanelRecorder();
    PanelRecorder(const PanelRecorder&) = delete;
    PanelRecorder& operator=(const PanelRecorder&) = delete;

    const std::vector<PanelMessage>& Messages() const { return messages; }
    // "COMMAND(2,0) CLOSE(0,0)", for readable checks; empty when nothing came.
    std::string Log() const;

    // Runs for each message of the recorder's current window.
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Open();

    Behaviour behaviour;
    HWND window = nullptr;
    int windowsOpened = 0;
    std::vector<PanelMessage> messages;
};

// A control panel that has stopped answering: its window exists, but the
// thread that owns it never handles a message until the object goes away.
class HungPanel {
public:
    HungPanel();
    ~HungPanel();
    HungPanel(const HungPanel&) = delete;
    HungPanel& operator=(const HungPanel&) = delete;

    bool Ready() const { return window != nullptr; }

private:
    static DWORD WINAPI Run(void* self);

    HANDLE ready = nullptr;
    HANDLE release = nullptr;
    HANDLE thread = nullptr;
    HWND window = nullptr;
};

// The class the program looks for.
extern const wchar_t PanelClassName[];
