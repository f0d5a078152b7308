#include <doctest/doctest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "app/Startup.h"
#include "ui/TestKit.h"

namespace {
OSVERSIONINFOW reported;
BOOL WINAPI FakeVersion(OSVERSIONINFOW* version)
{
    if (version->dwOSVersionInfoSize != sizeof reported)  // 276: the plain record
        return FALSE;
    *version = reported;
    return TRUE;
}

// The monitors the program sees: the primary and the one the system put the dialog on (none: the real ones). On a
// display at 150%, Windows 8.1 and later show a program unaware of the scale at 96 dpi, stretched 1.5 times: a 1366x768
// laptop's is seen as 911 x 512.
struct Monitor {
    RECT area, work;
    double stretch;
};
const Monitor Laptop = {{0, 0, 911, 512}, {0, 0, 911, 512}, 1.5}, Large = {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 1};
const Monitor LaptopBeside = {{1920, 0, 2831, 512}, {1920, 0, 2831, 512}, 1.5};
const Monitor LargeBeside = {{911, 0, 2831, 1080}, {911, 0, 2831, 1040}, 1};
const Monitor *primary, *placed;
// The real functions, to which the fakes pass what they do not answer.
void *realMonitorFromPoint, *realGetMonitorInfoW, *realEnumDisplaySettingsW, *realSendMessageTimeoutW,
    *realPostMessageW;
#define REAL(function) reinterpret_cast<decltype(&function)>(real##function)
HMONITOR WINAPI MonitorAt(POINT point, DWORD flags)
{
    return placed ? HMONITOR(placed) : REAL(MonitorFromPoint)(point, flags);
}
BOOL WINAPI MonitorSeen(HMONITOR monitor, MONITORINFO* info)  // a monitor found some other way: the primary
{
    if (!placed)
        return REAL(GetMonitorInfoW)(monitor, info);
    const Monitor* seen = monitor == HMONITOR(placed) ? placed : primary;
    std::tie(info->rcMonitor, info->rcWork) = std::tie(seen->area, seen->work);
    if (info->cbSize == sizeof(MONITORINFOEXW))  // its display's name
        lstrcpyW(reinterpret_cast<MONITORINFOEXW*>(info)->szDevice, seen == placed ? L"placed" : L"primary");
    return TRUE;
}
BOOL WINAPI DisplaySeen(const wchar_t* device, DWORD which, DEVMODEW* mode)
{
    if (!placed)
        return REAL(EnumDisplaySettingsW)(device, which, mode);
    const Monitor* seen = device && device == std::wstring(L"placed") ? placed : primary;
    mode->dmPelsHeight = DWORD((seen->area.bottom - seen->area.top) * seen->stretch);
    return TRUE;
}

// The top-level dialogs this thread showed.
std::set<HWND> shown;
LRESULT CALLBACK WatchShows(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_SHOWWINDOW && call->wParam && !(GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD))
        shown.insert(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The control panel, a window of this thread; the error with which Windows fails the program's message to it, sent or
// posted (0: it gets it; a window gone is destroyed first); the messages it got.
HWND panel;
std::map<UINT, DWORD> refusals;
std::string told;
bool Refused(HWND window, UINT message)
{
    const DWORD error = window == panel ? refusals[message] : 0;
    if (error == ERROR_INVALID_WINDOW_HANDLE)
        DestroyWindow(panel);
    else if (window == panel && error == 0 && message != WM_NULL)
        told += message == WM_COMMAND ? "COMMAND " : "CLOSE ";
    SetLastError(error);
    return error != 0;
}
LRESULT WINAPI SendSeen(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT ms, DWORD_PTR* result)
{
    return Refused(window, message) ? 0 : REAL(SendMessageTimeoutW)(window, message, wParam, lParam, flags, ms, result);
}
BOOL WINAPI PostSeen(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return !Refused(window, message) && REAL(PostMessageW)(window, message, wParam, lParam);
}

// The program's calls that the tests answer.
void RedirectCalls()
{
#define REDIRECT(function, fake)                                                                                       \
    (real##function = RedirectImport(#function, reinterpret_cast<void*>(fake), L"user32.dll"))
    REQUIRE(RedirectImport("GetVersionExW", reinterpret_cast<void*>(FakeVersion)) != nullptr);
    REQUIRE((REDIRECT(MonitorFromPoint, MonitorAt) && REDIRECT(GetMonitorInfoW, MonitorSeen) &&
             REDIRECT(EnumDisplaySettingsW, DisplaySeen) && REDIRECT(SendMessageTimeoutW, SendSeen) &&
             REDIRECT(PostMessageW, PostSeen)));
}

// The program from start to exit, each dialog it shows handed to the next step; its exit code.
int RunProgram(std::vector<Step> steps)
{
    int exitCode = 1;
    RunDriven([&] { exitCode = RunApplication(GetModuleHandleW(nullptr)); }, std::move(steps));
    return exitCode;
}

// Each control of the settings dialog that gets a text, its string, and whether it takes the system font.
// clang-format off
#define CONTROL(name, systemFont) {IDC_##name, IDS_##name, systemFont}
const struct { int id; UINT stringId; bool systemFont; } Controls[] = {
    CONTROL(MANUAL_RDM, true), CONTROL(MANUAL_OTHER, true), CONTROL(DELETE_AFTER_RUN, true),
    CONTROL(USER_SWITCHING, true), CONTROL(DATALOGGING, true), CONTROL(POLL_FOR_FILES_HELP, false),
    CONTROL(MANUAL_RDM_HELP, false), CONTROL(MANUAL_OTHER_HELP, false), CONTROL(USER_SWITCHING_HELP, false),
    CONTROL(HOME_Z_AXIS_HELP, false), CONTROL(POLL_FOR_FILES, true), CONTROL(HOME_Z_AXIS, true),
    CONTROL(HIDE_SYSTEM_TAB, false), CONTROL(FORBID_QUEUE_ACCESS, false), CONTROL(DISABLE_FIXTURE_TYPE, false),
    CONTROL(HIDE_SETTINGS_BUTTON, false), CONTROL(LOG_START, false), CONTROL(LOG_COMPLETE, false),
    CONTROL(LOG_PAUSE, false), CONTROL(LOG_RESUME, false), CONTROL(LOG_ERROR, false), CONTROL(LOG_DATE, false),
    CONTROL(LOG_TIME, false), CONTROL(LOG_JOB_NAME, false), CONTROL(LOG_DURATION, false), CONTROL(LOG_USER, false),
    CONTROL(LOG_SERIAL_NUMBER, false), CONTROL(RETAIL_MODE, true), {IDOK, IDS_OK, false}, {IDCANCEL, IDS_CANCEL, false},
};
// clang-format on

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The shipped texts in place, single options in the system font where it fits their boxes, all on light grey.
void CheckTexts(HWND dialog)
{
    const HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    TEXTMETRICW system = {};
    HDC dc = GetDC(dialog);  // which starts with the system font
    GetTextMetricsW(dc, &system);
    for (const auto& row : Controls) {
        CAPTURE(row.id);
        wchar_t text[1024];
        HWND control = GetDlgItem(dialog, row.id);
        RECT box = {};
        GetClientRect(control, &box);
        CHECK(WindowText(control) ==
              std::wstring(text, LoadStringW(GetModuleHandleW(nullptr), row.stringId, text, 1024)));
        CHECK(FontOf(control) == (row.systemFont && box.bottom >= system.tmHeight ? systemFont : FontOf(dialog)));
    }
    CHECK(WindowText(GetDlgItem(dialog, IDC_TITLE_BAR)) == L"KRV Advanced Engraver Settings 1.7");
    CHECK(WindowText(dialog) == L"KRV Advanced Engraver Settings 1.7");
    LOGBRUSH brush = {};
    GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORSTATIC, WPARAM(dc), 0)), sizeof brush, &brush);
    CHECK((brush.lbColor == 0xE2E2E2 && GetBkColor(dc) == 0xE2E2E2));
    ReleaseDC(dialog, dc);
}
}

TEST_CASE("start-up: the dialog where the system reports XP or later, else the refusal; English whatever Lang says")
{
    RedirectCalls();
    HWND plain = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, nullptr, 0);
    const RECT at96 = Place(plain, 0);
    DestroyWindow(plain);
    // XP, 2003, Vista, 7, and 8 to 10 as a program without a manifest's system list sees them (also where the system
    // put the dialog on a laptop's screen at 150%: alone, beside a large primary screen, or the primary beside one);
    // 2000, NT 4 and 98. Only English ships: a Lang out of range must not lose its texts.
    // clang-format off
    const struct { DWORD platform, major, minor; std::string lang; bool supported; const Monitor *primary = nullptr, *placed = nullptr; } rows[] = {
        {2, 5, 1, "", true}, {2, 5, 2, "9", true}, {2, 6, 0, "4294967295", true}, {2, 6, 1, "", true},
        {2, 6, 2, "", true}, {2, 6, 2, "", true, &Laptop, &Laptop}, {2, 6, 2, "", true, &Large, &LaptopBeside},
        {2, 6, 2, "", true, &Laptop, &LargeBeside}, {2, 5, 0, "9", false}, {2, 4, 0, "", false}, {1, 4, 10, "", false},
    };
    // clang-format on
    ResetSettingsFolders(PrimaryFolderExists);
    for (const auto& row : rows) {
        INFO(row.platform << " " << row.major << "." << row.minor << " Lang=" << row.lang << " placed " << row.placed);
        WriteFileBytes(PrimaryIni(), "[SETTINGS]\r\nLang=" + row.lang + "\r\n");
        reported = {0, row.major, row.minor, 0, row.platform, {}};
        std::tie(primary, placed) = std::tie(row.primary, row.placed);
        const Step check = [&](HWND dialog) {
            CHECK(WindowText(GetDlgItem(dialog, IDOK)) == L"Ok");
            // On the monitor the system chose: made smaller on a laptop's, inside its work area, its texts as tall on
            // the display, 1.5 times what the program sees, as at 96 dpi; as it is on a large one.
            const RECT whole = Place(dialog, 0);
            RECT common = {};
            if (placed && placed->stretch > 1)
                CHECK((IntersectRect(&common, &whole, &placed->work) && EqualRect(&common, &whole) &&
                       MulDiv(whole.bottom - whole.top, 3, 2) >= at96.bottom - at96.top));
            else if (placed)
                CHECK((whole.right - whole.left == at96.right - at96.left &&
                       whole.bottom - whole.top == at96.bottom - at96.top));
            if (row.supported)
                CheckTexts(dialog);
            else {  // the skinned box: caption, text, one Ok and the hand icon
                CHECK(WindowText(dialog) == L"Cannot Install");
                CHECK(WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT)) ==
                      L"The KRV Engraver Application requires Windows XP or higher.");
                CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
                CHECK(SendBounded(GetDlgItem(dialog, IDC_MESSAGE_ICON), STM_GETICON) ==
                      reinterpret_cast<DWORD_PTR>(LoadIconW(nullptr, IDI_HAND)));
            }
            ClickControl(dialog, row.supported ? IDCANCEL : IDOK);
        };
        shown.clear();
        HHOOK watch = SetWindowsHookExW(WH_CALLWNDPROC, WatchShows, nullptr, GetCurrentThreadId());
        CHECK(RunProgram({check}) == (row.supported ? 0 : -1));
        UnhookWindowsHookEx(watch);
        CHECK(shown.size() == 1);  // the one seen is the one fitted: none made before it flashes
    }
    placed = nullptr;
    ResetSettingsFolders(NoFolders);
}

// Windows refuses a program's messages to one at a higher integrity level with ERROR_ACCESS_DENIED, a post to a full
// queue with ERROR_NOT_ENOUGH_QUOTA: the settings are saved, the panel must be restarted. A busy or gone one is no
// news.
TEST_CASE("a panel that refuses the command or the close is named in one box; a busy or gone one is not")
{
    RedirectCalls();
    reported = {0, 5, 1, 0, VER_PLATFORM_WIN32_NT, {}};
    WNDCLASSW panelClass = {0, DefWindowProcW, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"DUZAZODI"};
    RegisterClassW(&panelClass);
    const Step okWithClose = [](HWND dialog) { ClickControl(dialog, IDC_HOME_Z_AXIS), ClickControl(dialog, IDOK); };
    const Step notTold = [](HWND box) {
        CHECK((WindowText(box) == L"Cannot Notify Control Panel" && GetWindow(box, GW_OWNER) == nullptr));
        CHECK(WindowText(GetDlgItem(box, IDC_MESSAGE_TEXT)) ==
              L"Your settings were saved, but the control panel could not be told of them. Restart the control panel "
              L"to use the new settings.");
        ClickControl(box, IDOK);
    };
    // Run as administrator; the probe refused but the messages let through; the command refused, the close not; a
    // full queue; busy past the bound over the command; gone during it.
    const DWORD Denied = ERROR_ACCESS_DENIED;
    // clang-format off
    const struct { DWORD probe, command, close; std::vector<Step> steps; std::string told; } rows[] = {
        {Denied, Denied, Denied, {okWithClose, notTold}, ""}, {Denied, 0, 0, {okWithClose}, "COMMAND CLOSE "},
        {0, Denied, 0, {okWithClose, notTold}, "CLOSE "}, {0, 0, ERROR_NOT_ENOUGH_QUOTA, {okWithClose, notTold}, "COMMAND "},
        {0, ERROR_TIMEOUT, 0, {okWithClose}, "CLOSE "}, {0, ERROR_INVALID_WINDOW_HANDLE, 0, {okWithClose}, ""},
    };
    // clang-format on
    for (const auto& row : rows) {
        INFO(row.probe << " " << row.command << " " << row.close);
        ResetSettingsFolders(AllFolders);
        panel = CreateWindowExW(0, L"DUZAZODI", L"panel", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        refusals = {{WM_NULL, row.probe}, {WM_COMMAND, row.command}, {WM_CLOSE, row.close}};
        told.clear();
        CHECK(RunProgram(row.steps) == 0);
        CHECK(told == row.told);
        DestroyWindow(panel);
    }
    refusals.clear();
    ResetSettingsFolders(NoFolders);
}

// The box the program shows, MB_OK | MB_ICONHAND, with the texts a person may meet: more lines than the
// template's area holds (the save failure's list of files), and a word too long for a line (a long path).
TEST_CASE("the box sized to its text keeping its middle, Ok alone, the hand; a system close asks the platform's box")
{
    // Template 102 as the dialog manager places it, before the box moves anything.
    HWND plain = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, nullptr, 0);
    const RECT box = Place(plain, 0), area = Place(plain, IDC_MESSAGE_TEXT), icon = Place(plain, IDC_MESSAGE_ICON);
    const RECT ok = Place(plain, IDOK), panel = Place(plain, IDC_MESSAGE_PANEL);
    DestroyWindow(plain);
    // The text is drawn in the stock system font, a line below the other, each cut with "..." where it is too wide.
    Canvas measure(1, 1);
    SelectObject(measure.dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW font = {};
    GetTextMetricsW(measure.dc, &font);
    const auto fitted = [&](std::wstring line, int width) {
        for (SIZE size; GetTextExtentPoint32W(measure.dc, line.c_str(), int(line.size()), &size), size.cx > width;)
            line = line.substr(0, line.size() - (line.back() == L'.' ? 4 : 1)) + L"...";
        return line;
    };
    std::wstring tall = L"Line 1 of 14.";  // the row to grow
    for (int i = 2; i <= 14; ++i)
        tall += L"\r\nLine " + std::to_wstring(i) + L" of 14.";
    const struct {
        std::wstring text;
        int lines;
    } rows[] = {{tall, 14}, {L"Two\r\nlines.", 2}, {L"A long word:\r\n" + std::wstring(200, L'W'), 2}};
    for (const auto& row : rows) {
        INFO(ToUtf8(row.text.substr(0, 12)));
        // Plus 10, at least 40.
        const int height = std::max(40, row.lines * int(font.tmHeight) + 10), grown = height - (area.bottom - area.top);
        const Step check = [&](HWND dialog) {
            CHECK((WindowText(dialog) == L"Box Caption" && WindowText(GetDlgItem(dialog, IDOK)) == L"Ok"));
            CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
            const RECT now = Place(dialog, 0), text = Place(dialog, IDC_MESSAGE_TEXT), button = Place(dialog, IDOK);
            const RECT expected = {area.left, area.top, area.right, area.top + height};
            CHECK(EqualRect(&text, &expected));
            CHECK((now.top == box.top - grown / 2 && now.bottom == box.bottom + grown / 2));
            CHECK(Place(dialog, IDC_MESSAGE_PANEL).bottom == panel.bottom + grown);
            // Ok takes its face's size, moves with the text and right by a quarter of what the box leaves beside it.
            CHECK((button.right - button.left == 109 && button.bottom - button.top == 37));
            CHECK((button.top == ok.top + grown && button.left == ok.left + (now.right - now.left - 109) / 4));
            CHECK(Place(dialog, IDC_MESSAGE_ICON).top == area.top + (height - icon.bottom + icon.top) / 2);
            CHECK(SendBounded(GetDlgItem(dialog, IDC_MESSAGE_ICON), STM_GETICON) ==
                  reinterpret_cast<DWORD_PTR>(LoadIconW(nullptr, IDI_HAND)));
            CHECK(SendBounded(GetDlgItem(dialog, IDC_MESSAGE_TEXT), WM_GETFONT) ==
                  reinterpret_cast<DWORD_PTR>(GetStockObject(SYSTEM_FONT)));
            const int w = area.right - area.left;
            Canvas lines(w, height);
            SelectObject(lines.dc, GetStockObject(SYSTEM_FONT));
            std::wstring rest = row.text + L"\r\n";
            for (int y = 0; !rest.empty(); y += font.tmHeight, rest.erase(0, rest.find(L'\n') + 1)) {
                const std::wstring line = fitted(rest.substr(0, rest.find(L'\r')), w);
                TextOutW(lines.dc, 0, y, line.c_str(), int(line.size()));
            }
            CHECK(PaintOnce(dialog, IDC_MESSAGE_TEXT, w, height, ODA_DRAWENTIRE, 0) == lines.Pixels());
            ClickControl(dialog, IDOK);
        };
        ShowBox(row.text.c_str(), {check});
    }
    // A close that carries 0 leaves the answer to the platform's box, with the same text and caption.
    const Step platform = [](HWND platformBox) {
        CHECK((GetDlgItem(platformBox, IDC_MESSAGE_TEXT) == nullptr && WindowText(platformBox) == L"Box Caption"));
        CHECK(FindWindowExW(platformBox, nullptr, nullptr, L"Asked again.") != nullptr);
        ClickControl(platformBox, IDOK);
    };
    ShowBox(L"Asked again.", {SystemClose, platform});
    // A text taller than the screen is cut at the bottom: the box and its Ok stay on the screen.
    std::wstring endless = L"Line.";
    for (int i = 0; i < 200; ++i)
        endless += L"\r\nLine.";
    const Step onScreen = [](HWND dialog) {
        RECT work = {}, whole = Place(dialog, 0), button = Place(dialog, IDOK), common = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        OffsetRect(&button, whole.left, whole.top);
        CHECK((IntersectRect(&common, &whole, &work) && EqualRect(&common, &whole)));
        CHECK((IntersectRect(&common, &button, &work) && EqualRect(&common, &button)));
        ClickControl(dialog, IDOK);
    };
    ShowBox(endless.c_str(), {onScreen});
}
