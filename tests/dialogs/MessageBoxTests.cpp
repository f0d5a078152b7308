#include <doctest/doctest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/TestKit.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/framework/Colors.h"
#include "ui/framework/SharedBrushes.h"

namespace {
// What start-up prepares before the box can show: brushes, English texts.
bool PrepareLikeStartup()
{
    static SharedBrushes brushes;
    ResetSettingsFolders(NoFolders);
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    return true;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

RECT ControlRect(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The box's window on screen and its controls in its client area.
struct BoxLayout {
    explicit BoxLayout(HWND dialog)
        : text(ControlRect(dialog, IDC_MESSAGE_TEXT)), panel(ControlRect(dialog, IDC_MESSAGE_PANEL)),
          icon(ControlRect(dialog, IDC_MESSAGE_ICON)), ok(ControlRect(dialog, IDOK)),
          cancel(ControlRect(dialog, IDCANCEL))
    {
        GetWindowRect(dialog, &box);
    }
    RECT box, text, panel, icon, ok, cancel;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Template 102 as the dialog manager lays it out, before the box fits it to its text.
BoxLayout TemplateLayout()
{
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                                     PlainDialogProc, 0);
    const BoxLayout layout(dialog);
    DestroyWindow(dialog);
    return layout;
}

// The black pixels: a text's, whatever the background.
std::vector<bool> Ink(const Image& image)
{
    std::vector<bool> ink;
    for (COLORREF pixel : image.pixels)
        ink.push_back(pixel == 0);
    return ink;
}

// `text` drawn in black with the system font into a white rectangle.
Image Drawn(const wchar_t* text, int width, int height, UINT format)
{
    Canvas canvas(width, height);
    RECT rect = {0, 0, width, height};
    FillRect(canvas.Dc(), &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(canvas.Dc(), GetStockObject(SYSTEM_FONT));
    DrawTextW(canvas.Dc(), text, -1, &rect, format);
    return canvas.Pixels();
}

// The text area's height for `text`: wrapped with the system font, plus 10, at least 40.
int ExpectedTextHeight(const wchar_t* text, const RECT& templateArea)
{
    RECT rect = {0, 0, Width(templateArea), 0};
    Canvas canvas(1, 1);
    SelectObject(canvas.Dc(), GetStockObject(SYSTEM_FONT));
    DrawTextW(canvas.Dc(), text, -1, &rect, DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CALCRECT);
    return std::max(Height(rect) + 10, 40);
}

HICON ShownIcon(HWND control) { return reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0)); }

bool Reddish(COLORREF color) { return GetRValue(color) > 150 && GetGValue(color) < 80; }

using Step = std::function<void(HWND dialog)>;

// Each dialog this thread shows is handed, from a timer in its modal loop, to
// the next step, which ends it. Steps use CHECK only: an exception must not
// unwind through the system's message dispatching.
struct {
    std::vector<Step> steps;
    size_t next;
    HWND current;
    DWORD since;
} driver;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = IsWindowVisible(GetActiveWindow()) ? GetActiveWindow() : nullptr;
    if (dialog != nullptr && dialog != driver.current && driver.next < driver.steps.size()) {
        driver.current = dialog;
        driver.since = GetTickCount();
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // the step reads its pixels
        driver.steps[driver.next++](dialog);
    } else if (dialog != nullptr && GetTickCount() - driver.since > 5000) {
        // Unexpected, or left open by its step: it would hang the test.
        FAIL_CHECK("a dialog stayed open: " << ToUtf8(WindowText(dialog)));
        EndDialog(dialog, -2);
    }
}

int ShowDriven(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type, std::vector<Step> steps)
{
    [[maybe_unused]] static const bool prepared = PrepareLikeStartup();
    driver = {std::move(steps), 0, nullptr, GetTickCount()};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
    const int result = ShowMessageBox(owner, text, caption, type);
    KillTimer(nullptr, timer);
    CHECK_MESSAGE(driver.next == driver.steps.size(), "fewer dialogs showed than expected");
    return result;
}

int ShowAndDrive(UINT type, const wchar_t* text, Step step)
{
    return ShowDriven(nullptr, text, L"Box Caption", type, {step});
}
}

TEST_CASE("buttons, captions and icon by type")
{
    const BoxLayout plain = TemplateLayout();
    struct Row {
        UINT type;
        const wchar_t* ok;      // "Button2": the template's text, no caption set
        const wchar_t* cancel;  // null: hidden
        const wchar_t* icon;    // null: none, the text takes its place
    };
    const Row rows[] = {
        {MB_OK,                      L"Ok",      nullptr,   nullptr},
        {MB_OKCANCEL,                L"Ok",      L"Cancel", nullptr},
        {MB_YESNO,                   L"Yes",     L"No",     nullptr},
        {MB_OK | MB_ICONHAND,        L"Ok",      nullptr,   IDI_HAND},
        {MB_OK | MB_ICONQUESTION,    L"Ok",      nullptr,   IDI_QUESTION},
        {MB_OK | MB_ICONEXCLAMATION, L"Ok",      nullptr,   IDI_EXCLAMATION},
        {MB_OK | MB_ICONASTERISK,    L"Ok",      nullptr,   IDI_ASTERISK},
        {MB_YESNO | MB_ICONQUESTION, L"Yes",     L"No",     IDI_QUESTION},
        {MB_ABORTRETRYIGNORE,        L"Button2", nullptr,   nullptr},
        {MB_YESNOCANCEL,             L"Button2", nullptr,   nullptr},
        {MB_RETRYCANCEL,             L"Button2", nullptr,   nullptr},
        {MB_CANCELTRYCONTINUE,       L"Button2", nullptr,   nullptr},
    };
    for (const Row& row : rows) {
        CAPTURE(row.type);
        ShowAndDrive(row.type, L"Some text.", [&](HWND box) {
            CHECK(WindowText(box) == L"Box Caption");
            const BoxLayout now(box);
            HWND cancel = GetDlgItem(box, IDCANCEL);
            CHECK(WindowText(GetDlgItem(box, IDOK)) == row.ok);
            CHECK(Width(now.ok) == 109);  // its face's
            CHECK(now.ok.top == now.cancel.top);
            CHECK(IsWindowVisible(cancel) == (row.cancel != nullptr));
            if (row.cancel != nullptr) {
                CHECK(WindowText(cancel) == row.cancel);
                CHECK(Width(now.cancel) == 109);
                CHECK(now.cancel.left == plain.cancel.left);
            }
            // A lone button moves right by a quarter of the width it leaves.
            CHECK(now.ok.left == plain.ok.left + (row.cancel ? 0 : (Width(now.box) - 109) / 4));
            HWND icon = GetDlgItem(box, IDC_MESSAGE_ICON);
            CHECK(IsWindowVisible(icon) == (row.icon != nullptr));
            CHECK(ShownIcon(icon) == (row.icon ? LoadIconW(nullptr, row.icon) : nullptr));
            CHECK(now.text.left == plain.text.left - (row.icon ? 0 : Width(plain.icon)));
            CHECK(now.text.right == plain.text.right);
            ClickControl(box, IDOK);
        });
    }
}

TEST_CASE("results of command 1, command 2 and the system's close by button set")
{
    struct Row {
        UINT type;
        int ok;      // command 1: the Ok (or Yes) button
        int escape;  // command 2: the Escape key, as the Cancel (or No) button gives
        int close;   // a close request that carries 0; 0: the platform's box follows, tested below
    };
    const Row rows[] = {
        {MB_OK,                IDOK,  IDCANCEL, 0},
        {MB_OKCANCEL,          IDOK,  IDCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE,  IDOK,  IDCANCEL, 0},
        {MB_YESNOCANCEL,       IDOK,  IDCANCEL, IDCANCEL},
        {MB_YESNO,             IDYES, IDNO,     IDNO},
        {MB_RETRYCANCEL,       IDOK,  IDCANCEL, IDCANCEL},
        {MB_CANCELTRYCONTINUE, IDYES, IDNO,     IDNO},
    };
    for (const Row& row : rows) {
        CAPTURE(row.type);
        CHECK(ShowAndDrive(row.type, L"Text", [](HWND box) { ClickControl(box, IDOK); }) == row.ok);
        CHECK(ShowAndDrive(row.type, L"Text", [](HWND box) { PressKey(box, VK_ESCAPE); }) == row.escape);
        if (row.close != 0)
            CHECK(ShowAndDrive(row.type, L"Text", SystemClose) == row.close);
    }
    // Null text and caption show as empty, as in the platform's box.
    const int nullResult = ShowDriven(nullptr, nullptr, nullptr, MB_OKCANCEL, {[](HWND box) {
        CHECK(WindowText(box).empty());
        CHECK(Height(BoxLayout(box).text) == 40);
        PressKey(box, VK_ESCAPE);
    }});
    CHECK(nullResult == IDCANCEL);
}

TEST_CASE("the platform's box stands in when the skinned one ends with 0 or cannot be shown")
{
    // Its module holds no template 102: no box can be made for this owner.
    HWND foreignOwner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(L"kernel32.dll"), nullptr);
    REQUIRE(foreignOwner != nullptr);
    struct Row {
        HWND owner;
        UINT type;
        const wchar_t* icon;  // the platform box's
        int answer;           // pressed in the platform box
    };
    const Row rows[] = {
        {nullptr,      MB_OK | MB_ICONHAND,           IDI_HAND,        IDOK},  // closed with 0
        {foreignOwner, MB_YESNO | MB_ICONEXCLAMATION, IDI_EXCLAMATION, IDNO},  // cannot be created
    };
    const wchar_t* text = L"The text of the box, shown again.";
    for (const Row& row : rows) {
        CAPTURE(row.type);
        std::vector<Step> steps;
        if (row.owner == nullptr)
            steps.push_back([](HWND box) {
                CHECK(GetDlgItem(box, IDC_MESSAGE_TEXT) != nullptr);  // the skinned box
                SystemClose(box);
            });
        steps.push_back([&](HWND platformBox) {
            CHECK(WindowText(platformBox) == L"Fall-back Caption");
            CHECK(GetWindow(platformBox, GW_OWNER) == row.owner);
            // Its text (no child holds the skinned box's), icon and buttons: the same text and type.
            bool textFound = false, iconFound = false;
            for (HWND child = GetWindow(platformBox, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                textFound = textFound || WindowText(child) == text;
                iconFound = iconFound || ShownIcon(child) == LoadIconW(nullptr, row.icon);
            }
            CHECK(textFound);
            CHECK(iconFound);
            CHECK(IsWindowVisible(GetDlgItem(platformBox, row.answer)));
            ClickControl(platformBox, row.answer);
        });
        CHECK(ShowDriven(row.owner, text, L"Fall-back Caption", row.type, std::move(steps)) == row.answer);
    }
    DestroyWindow(foreignOwner);
}

TEST_CASE("the box fits its height to its text, keeping its middle, and paints its skin and text")
{
    const BoxLayout plain = TemplateLayout();
    std::wstring longText;
    for (int i = 0; i < 12; ++i)
        longText += L"This sentence is one of many that together need more room than the box has. ";
    enum Kind { ShortText, LongText, LongWord };  // 40 pixels high; beyond the template's; 40, cut
    const std::wstring texts[] = {L"Short.", longText, std::wstring(200, L'W')};
    for (Kind kind : {ShortText, LongText, LongWord}) {
        CAPTURE(kind);
        const wchar_t* text = texts[kind].c_str();
        const int textHeight = ExpectedTextHeight(text, plain.text);
        const int shrink = Height(plain.text) - textHeight;  // negative: the box grows
        CHECK((kind == LongText ? shrink < 0 : textHeight == 40));
        ShowAndDrive(MB_OK | MB_ICONHAND, text, [&](HWND box) {
            const BoxLayout now(box);
            CHECK(now.text.top == plain.text.top);
            CHECK(Height(now.text) == textHeight);
            // Half the difference at the top, half at the bottom.
            CHECK(now.box.top == plain.box.top + shrink / 2);
            CHECK(now.box.bottom == plain.box.bottom - shrink / 2);
            CHECK(Width(now.box) == Width(plain.box));
            CHECK(now.panel.top == plain.panel.top);
            CHECK(Height(now.panel) == Height(plain.panel) - shrink);
            CHECK(now.ok.top == plain.ok.top - shrink);
            CHECK(now.icon.top == now.text.top + (textHeight - Height(plain.icon)) / 2);
            // The frame and the buttons were laid out for the final size.
            CHECK(ControlRect(box, IDC_STRIP_BOTTOM).top == Height(now.box) - 4);
            CHECK(Height(ControlRect(box, IDC_TITLE_BAR)) == 32);

            // Dark body, red title bar and button, the left strip dark grey outside and red inside.
            const Image shot = CaptureWindow(box);
            CHECK(shot.At(10, now.panel.top + 20) == DarkBackgroundColor);
            CHECK(Reddish(shot.At(Width(now.box) / 4, 20)));
            CHECK(Reddish(shot.At(now.ok.left + 10, now.ok.top + 18)));
            CHECK(shot.At(0, now.panel.top) == BorderDarkGreyColor);
            CHECK(shot.At(2, now.panel.top) == BorderRedColor);
            // The text wrapped, and cut, as it was measured.
            const int width = Width(now.text);
            const std::vector<bool> shown = Ink(shot.Crop(now.text.left, now.text.top, width, textHeight));
            const std::vector<bool> wrapped = Ink(Drawn(text, width, textHeight, DT_WORDBREAK | DT_WORD_ELLIPSIS));
            CHECK(shown == wrapped);
            if (kind == LongWord)
                CHECK(wrapped != Ink(Drawn(text, width, textHeight, DT_WORDBREAK)));
            ClickControl(box, IDOK);
        });
    }
}

TEST_CASE("a template 102 without the text area shows unsized, where the dialog manager put it")
{
    HMODULE foreign = LoadLibraryW(L"foreign_box.dll");
    REQUIRE(foreign != nullptr);
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, foreign, nullptr);
    HWND plain = CreateDialogParamW(foreign, MAKEINTRESOURCEW(IDD_MESSAGEBOX), owner, PlainDialogProc, 0);
    RECT expected = {};
    GetWindowRect(plain, &expected);
    DestroyWindow(plain);
    const int answer = ShowDriven(owner, L"Some text.", L"Box Caption", MB_OK, {[&](HWND box) {
        RECT now = {};
        GetWindowRect(box, &now);
        CHECK(EqualRect(&now, &expected));
        ClickControl(box, IDOK);
    }});
    CHECK(answer == IDOK);
    DestroyWindow(owner);
    FreeLibrary(foreign);
}
