// A stand-in for the engraver control panel, for trying the settings utility
// without the engraver software: a window of the panel's class "DUZAZODI"
// that shows, and prints to standard output, every WM_COMMAND and WM_CLOSE
// it receives, and whether it came sent (the sender waiting for it) or
// posted. It stays open on WM_CLOSE so that the list can be read; closing it
// from its title bar ends it.
//
// Switches, to watch the utility cope with a panel that does not answer:
//   /hang SECONDS          handle no message for SECONDS once the window shows
//   /slow-command SECONDS  take SECONDS over each WM_COMMAND
//   /close-on-command      go away on the first WM_COMMAND, as a panel that
//                          restarts does
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {
const wchar_t ClassName[] = L"DUZAZODI";
const int ListId = 100;

HWND list = nullptr;
DWORD hangSeconds = 0;
DWORD slowCommandSeconds = 0;
bool closeOnCommand = false;

const wchar_t* Delivery()
{
    // clang-format off
    switch (InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) {
    case ISMEX_NOSEND:   return L"posted";
    case ISMEX_SEND:     return L"sent";
    case ISMEX_NOTIFY:   return L"notify";
    default:             return L"callback";
    }
    // clang-format on
}

std::wstring Describe(UINT message, WPARAM wParam, LPARAM lParam)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t line[256];
    const wchar_t* meaning = L"";
    if (message == WM_COMMAND)
        meaning = wParam == 2 ? L"the settings were saved" : L"";
    else
        meaning = L"options that need a restart changed: a real panel would close now";
    swprintf(line, 256, L"%02u:%02u:%02u  %ls %ls  wParam=%lu  lParam=%ld  %ls%ls", now.wHour, now.wMinute, now.wSecond,
             message == WM_COMMAND ? L"WM_COMMAND" : L"WM_CLOSE", Delivery(), static_cast<unsigned long>(wParam),
             static_cast<long>(lParam), *meaning ? L"- " : L"", meaning);
    return line;
}

// Shown in the window and printed, so that it can be followed from a terminal.
void Report(const std::wstring& line)
{
    if (list != nullptr) {
        const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    }
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE)
        return;
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &text[0], size, nullptr, nullptr);
    text += "\n";
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ListId)),
                               reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance, nullptr);
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return 0;
    case WM_SIZE:
        MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_COMMAND:
        // The list box sends no notifications (no LBS_NOTIFY): every command is from outside.
        Report(Describe(message, wParam, lParam));
        if (slowCommandSeconds != 0) {
            Report(L"Taking " + std::to_wstring(slowCommandSeconds) + L" s over the command...");
            Sleep(slowCommandSeconds * 1000);
            Report(L"Done with the command.");
        }
        if (closeOnCommand) {
            Report(L"Going away on the command.");
            DestroyWindow(window);
        }
        return 0;
    case WM_CLOSE:
        Report(Describe(message, wParam, lParam));
        return 0;
    case WM_SYSCOMMAND:
        // The user's own close goes through here and really closes.
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        const std::wstring name = arguments[i];
        const DWORD seconds = i + 1 < count ? wcstoul(arguments[i + 1], nullptr, 10) : 0;
        if (name == L"/hang")
            hangSeconds = seconds, ++i;
        else if (name == L"/slow-command")
            slowCommandSeconds = seconds, ++i;
        else if (name == L"/close-on-command")
            closeOnCommand = true;
    }
    LocalFree(arguments);

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassW(&windowClass))
        return 1;
    // Top left, out of the way of the settings dialog, which is centred.
    HWND window = CreateWindowExW(0, ClassName, L"Control panel stand-in (DUZAZODI)", WS_OVERLAPPEDWINDOW, 0, 0, 720,
                                  200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, show);
    Report(L"Control panel stand-in: waiting for the settings utility's messages (press Ok there).");
    if (hangSeconds != 0) {
        UpdateWindow(window);
        Report(L"Hanging for " + std::to_wstring(hangSeconds) + L" s: no message is handled meanwhile.");
        Sleep(hangSeconds * 1000);
        Report(L"Answering again.");
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
