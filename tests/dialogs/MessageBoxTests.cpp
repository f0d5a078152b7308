#include <doctest/doctest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Language.h"
#include "app/Startup.h"
#include "dialogs/MessageBoxLayout.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/framework/Colors.h"
#include "ui/framework/SharedBrushes.h"

namespace {
// What start-up prepares before the box can show: brushes, English texts.
void PrepareLikeStartup()
{
    static SharedBrushes brushes;
    ResetSettingsFolders(NoFolders);
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
}

using Step = std::function<void(HWND dialog)>;

// Runs `show` on this thread, which owns its dialogs. Each dialog that shows
// meanwhile is handed to the next step, from a timer inside the dialog's
// modal loop; a step ends its dialog. Steps use CHECK only: an exception
// must not unwind through the system's message dispatching.
class DialogDriver {
public:
    int Run(const std::function<int()>& show, std::vector<Step> dialogSteps)
    {
        steps = std::move(dialogSteps);
        active = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
        const int result = show();
        KillTimer(nullptr, timer);
        active = nullptr;
        CHECK_MESSAGE(next == steps.size(), "fewer dialogs showed than expected");
        return result;
    }

private:
    static BOOL CALLBACK FindDialog(HWND window, LPARAM found)
    {
        if (IsWindowVisible(window) && ClassName(window) == L"#32770") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* self = active;
        if (self == nullptr || self->busy)
            return;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr)
            return;
        if (dialog == self->current) {
            // A step that did not end its dialog would hang the test.
            if (GetTickCount() - self->since > 10000) {
                FAIL_CHECK("a dialog stayed open");
                EndDialog(dialog, -2);
            }
            return;
        }
        self->current = dialog;
        self->since = GetTickCount();
        if (self->next >= self->steps.size()) {
            FAIL_CHECK("an unexpected dialog showed: " << ToUtf8(WindowText(dialog)));
            EndDialog(dialog, -2);
            return;
        }
        // Make sure what the step reads has been painted.
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        self->busy = true;
        self->steps[self->next++](dialog);
        self->busy = false;
    }

    static DialogDriver* active;
    std::vector<Step> steps;
    size_t next = 0;
    HWND current = nullptr;
    DWORD since = 0;
    bool busy = false;
};

DialogDriver* DialogDriver::active = nullptr;

// An unowned box captioned "Box Caption".
int ShowAndDrive(UINT type, const wchar_t* text, std::vector<Step> steps)
{
    DialogDriver driver;
    return driver.Run([&] { return ShowMessageBox(nullptr, text, L"Box Caption", type); }, std::move(steps));
}

bool IsSkinnedBox(HWND dialog)
{
    return GetDlgItem(dialog, IDC_MESSAGE_TEXT) != nullptr;
}

HICON ShownIcon(HWND box)
{
    return reinterpret_cast<HICON>(SendMessageW(GetDlgItem(box, IDC_MESSAGE_ICON), STM_GETICON, 0, 0));
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// The key goes through the modal loop's dialog keyboard handling.
void PressEscape(HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0); }

// The system's close command: a close request that carries 0.
void CloseWithZero(HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }

COLORREF PixelAt(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

// The pixels of `rect` of a device context as 0x00RRGGBB values, row by row.
std::vector<DWORD> Pixels(HDC source, const RECT& rect)
{
    const int width = Width(rect);
    const int height = Height(rect);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP image = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, image);
    BitBlt(memory, 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + width * height);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(image);
    return pixels;
}

// Which pixels are black: the text's pixels, whatever the background.
std::vector<bool> BlackMask(const std::vector<DWORD>& pixels)
{
    std::vector<bool> mask;
    for (DWORD pixel : pixels)
        mask.push_back((pixel & 0xFFFFFF) == 0);
    return mask;
}

// `text` drawn in black with the system font into a white rectangle the
// size of `area`, with `format`.
std::vector<bool> ReferenceText(const wchar_t* text, const RECT& area, UINT format)
{
    const RECT rect = {0, 0, Width(area), Height(area)};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP image = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    HGDIOBJ previousImage = SelectObject(memory, image);
    HGDIOBJ previousFont = SelectObject(memory, GetStockObject(SYSTEM_FONT));
    FillRect(memory, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(memory, 0);
    SetBkMode(memory, TRANSPARENT);
    RECT textRect = rect;
    DrawTextW(memory, text, -1, &textRect, format);
    const std::vector<bool> mask = BlackMask(Pixels(memory, rect));
    SelectObject(memory, previousFont);
    SelectObject(memory, previousImage);
    DeleteObject(image);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return mask;
}

size_t CountSet(const std::vector<bool>& mask)
{
    size_t count = 0;
    for (bool set : mask)
        count += set ? 1 : 0;
    return count;
}
}

TEST_CASE("buttons, captions and icon by type")
{
    PrepareLikeStartup();
    const MessageBoxLayout plain = TemplateLayout();
    struct Row {
        UINT type;
        const wchar_t* ok;      // Ok button's text ("Button2": the template's, no caption)
        const wchar_t* cancel;  // Cancel button's text; null: hidden
        const wchar_t* icon;    // system icon; null: none, the text takes its place
    };
    const Row rows[] = {
        // type                           ok            cancel       icon
        {MB_OK,                           L"Ok",        nullptr,     nullptr},
        {MB_OKCANCEL,                     L"Ok",        L"Cancel",   nullptr},
        {MB_YESNO,                        L"Yes",       L"No",       nullptr},
        {MB_OK | MB_ICONHAND,             L"Ok",        nullptr,     IDI_HAND},
        {MB_OK | MB_ICONQUESTION,         L"Ok",        nullptr,     IDI_QUESTION},
        {MB_OK | MB_ICONEXCLAMATION,      L"Ok",        nullptr,     IDI_EXCLAMATION},
        {MB_OK | MB_ICONASTERISK,         L"Ok",        nullptr,     IDI_ASTERISK},
        {MB_YESNO | MB_ICONQUESTION,      L"Yes",       L"No",       IDI_QUESTION},
        {MB_OKCANCEL | MB_ICONHAND,       L"Ok",        L"Cancel",   IDI_HAND},
        {MB_ABORTRETRYIGNORE,             L"Button2",   nullptr,     nullptr},
        {MB_YESNOCANCEL,                  L"Button2",   nullptr,     nullptr},
        {MB_RETRYCANCEL | MB_ICONHAND,    L"Button2",   nullptr,     IDI_HAND},
        {MB_CANCELTRYCONTINUE,            L"Button2",   nullptr,     nullptr},
        {MB_OK | 0x50,                    L"Ok",        nullptr,     nullptr},
        {MB_OK | MB_USERICON,             L"Ok",        nullptr,     nullptr},
    };
    for (const Row& row : rows) {
        CAPTURE(row.type);
        ShowAndDrive(row.type, L"Some text.", {[&](HWND box) {
            CHECK(WindowText(box) == L"Box Caption");
            const MessageBoxLayout now = ReadLayout(box);
            HWND ok = GetDlgItem(box, IDOK);
            HWND cancel = GetDlgItem(box, IDCANCEL);

            CHECK(IsWindowVisible(ok));
            CHECK(WindowText(ok) == row.ok);
            CHECK(Width(now.ok) == 109);
            CHECK(Height(now.ok) == 37);
            if (row.cancel != nullptr) {
                CHECK(IsWindowVisible(cancel));
                CHECK(WindowText(cancel) == row.cancel);
                CHECK(Width(now.cancel) == 109);
                CHECK(now.ok.left == plain.ok.left);
                CHECK(now.cancel.left == plain.cancel.left);
            } else {
                CHECK_FALSE(IsWindowVisible(cancel));
                CHECK(now.ok.left == plain.ok.left + (Width(now.box) - 109) / 4);
            }
            CHECK(now.ok.top == now.cancel.top);

            HWND icon = GetDlgItem(box, IDC_MESSAGE_ICON);
            if (row.icon != nullptr) {
                CHECK(IsWindowVisible(icon));
                CHECK(ShownIcon(box) == LoadIconW(nullptr, row.icon));
                CHECK(now.textArea.left == plain.textArea.left);
            } else {
                CHECK_FALSE(IsWindowVisible(icon));
                CHECK(ShownIcon(box) == nullptr);
                CHECK(now.textArea.left == plain.textArea.left - Width(plain.icon));
            }
            CHECK(now.textArea.right == plain.textArea.right);
            Click(box, IDOK);
        }});
    }
}

TEST_CASE("results of the commands by button set")
{
    PrepareLikeStartup();
    const int FallsBack = -1;
    struct Row {
        UINT type;
        int okResult;      // command 1: the Ok (or Yes) button
        int escapeResult;  // command 2: the Escape key, or the Cancel (or No) button
        int closeResult;   // the system's close command (a close request with 0)
    };
    const Row rows[] = {
        // type                   ok      escape    system close
        {MB_OK,                   IDOK,   IDCANCEL, FallsBack},
        {MB_OKCANCEL,             IDOK,   IDCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE,     IDOK,   IDCANCEL, FallsBack},
        {MB_YESNOCANCEL,          IDOK,   IDCANCEL, IDCANCEL},
        {MB_YESNO,                IDYES,  IDNO,     IDNO},
        {MB_RETRYCANCEL,          IDOK,   IDCANCEL, IDCANCEL},
        {MB_CANCELTRYCONTINUE,    IDYES,  IDNO,     IDNO},
    };
    for (const Row& row : rows) {
        CAPTURE(row.type);
        CHECK(ShowAndDrive(row.type, L"Text", {[](HWND box) { Click(box, IDOK); }}) == row.okResult);
        CHECK(ShowAndDrive(row.type, L"Text", {PressEscape}) == row.escapeResult);
        if (row.closeResult != FallsBack)
            CHECK(ShowAndDrive(row.type, L"Text", {CloseWithZero}) == row.closeResult);
    }
    // The Cancel and No buttons themselves.
    CHECK(ShowAndDrive(MB_OKCANCEL, L"Text", {[](HWND box) { Click(box, IDCANCEL); }}) == IDCANCEL);
    CHECK(ShowAndDrive(MB_YESNO, L"Text", {[](HWND box) { Click(box, IDCANCEL); }}) == IDNO);
}

TEST_CASE("the platform's box stands in when the skinned one ends with 0 or cannot be shown")
{
    PrepareLikeStartup();
    // A window of a module that holds no template 102: the box's dialog
    // cannot be made for this owner.
    HWND foreignOwner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(L"kernel32.dll"), nullptr);
    REQUIRE(foreignOwner != nullptr);

    struct Row {
        const char* how;
        HWND owner;
        UINT type;
        const wchar_t* icon;   // the platform box's icon
        int answer;            // the button pressed in the platform box
    };
    const Row rows[] = {
        // how                 owner         type                                   icon             answer
        {"closed with 0",     nullptr,      MB_OK | MB_ICONHAND,                   IDI_HAND,        IDOK},
        {"closed with 0",     nullptr,      MB_ABORTRETRYIGNORE | MB_ICONQUESTION, IDI_QUESTION,    IDRETRY},
        {"cannot be created", foreignOwner, MB_YESNO | MB_ICONEXCLAMATION,         IDI_EXCLAMATION, IDNO},
    };
    const wchar_t* text = L"The text of the box, shown again.";
    const wchar_t* caption = L"Fall-back Caption";
    for (const Row& row : rows) {
        CAPTURE(row.how);
        CAPTURE(row.type);
        std::vector<Step> steps;
        if (row.owner == nullptr)
            steps.push_back([](HWND box) {
                CHECK(IsSkinnedBox(box));
                CloseWithZero(box);
            });
        steps.push_back([&](HWND platformBox) {
            CHECK_FALSE(IsSkinnedBox(platformBox));
            CHECK(WindowText(platformBox) == caption);
            CHECK(GetWindow(platformBox, GW_OWNER) == row.owner);
            // Its text, icon and buttons show that it got the same text and type.
            bool textFound = false;
            bool iconFound = false;
            for (HWND child = GetWindow(platformBox, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                textFound = textFound || WindowText(child) == text;
                if (ClassName(child) == L"Static" &&
                    reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == LoadIconW(nullptr, row.icon))
                    iconFound = true;
            }
            CHECK(textFound);
            CHECK(iconFound);
            HWND answer = GetDlgItem(platformBox, row.answer);
            CHECK(IsWindowVisible(answer));
            Click(platformBox, row.answer);
        });
        DialogDriver driver;
        const int result =
            driver.Run([&] { return ShowMessageBox(row.owner, text, caption, row.type); }, std::move(steps));
        CHECK(result == row.answer);
    }
    DestroyWindow(foreignOwner);
}

TEST_CASE("the box fits its height to the text, keeping its vertical middle")
{
    PrepareLikeStartup();
    const MessageBoxLayout plain = TemplateLayout();
    std::wstring longText;
    for (int i = 0; i < 12; ++i)
        longText += L"This sentence is one of many that together need more room than the box has. ";
    const std::wstring longWord(200, L'W');

    enum Fit { Minimum, Shrinks, Grows };  // 40 pixels; more, within the template's; beyond it
    struct Row {
        const char* name;
        std::wstring text;
        Fit fit;
    };
    const Row rows[] = {
        {"one short line",                  L"Short.",                                                        Minimum},
        {"empty",                           L"",                                                              Minimum},
        {"a word too long for a line",      longWord,                                                         Minimum},
        {"two lines",                       L"The KRV Engraver Application requires Windows XP or higher.",   Shrinks},
        {"longer than the template's area", longText,                                                         Grows},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const int textHeight = ExpectedTextHeight(row.text.c_str());
        const int shrink = Height(plain.textArea) - textHeight;  // negative: the box grows
        const int half = shrink / 2;
        switch (row.fit) {
        case Minimum: CHECK(textHeight == 40); break;
        case Shrinks: CHECK(textHeight > 40); CHECK(shrink > 0); break;
        case Grows:   CHECK(shrink < 0); break;
        }
        ShowAndDrive(MB_OK | MB_ICONHAND, row.text.c_str(), {[&](HWND box) {
            const MessageBoxLayout now = ReadLayout(box);
            CHECK(Height(now.textArea) == textHeight);
            CHECK(now.textArea.top == plain.textArea.top);
            // Half the difference at the top, half at the bottom.
            CHECK(now.box.top == plain.box.top + half);
            CHECK(now.box.bottom == plain.box.bottom - half);
            CHECK(Width(now.box) == Width(plain.box));
            CHECK(now.panel.top == plain.panel.top);
            CHECK(Height(now.panel) == Height(plain.panel) - shrink);
            CHECK(now.ok.top == plain.ok.top - shrink);
            // The icon centred on the text area, by the template's icon height.
            CHECK(now.icon.left == plain.icon.left);
            CHECK(now.icon.top == now.textArea.top + (textHeight - Height(plain.icon)) / 2);
            // The frame was laid out for the final size.
            CHECK(now.bottomStrip.top == Height(now.box) - 4);
            CHECK(Height(now.titleBar) == 32);
            CHECK(WindowText(GetDlgItem(box, IDOK)) == L"Ok");
            Click(box, IDOK);
        }});
    }
}

TEST_CASE("null text and caption show as empty, as in the platform's box")
{
    PrepareLikeStartup();
    DialogDriver driver;
    const int result = driver.Run([] { return ShowMessageBox(nullptr, nullptr, nullptr, MB_OKCANCEL); },
                                  {[](HWND box) {
                                      CHECK(WindowText(box).empty());
                                      CHECK(Height(ReadLayout(box).textArea) == 40);
                                      Click(box, IDCANCEL);
                                  }});
    CHECK(result == IDCANCEL);
}

TEST_CASE("a word too long for its line is drawn cut with an ellipsis")
{
    PrepareLikeStartup();
    const std::wstring longWord(200, L'W');
    const wchar_t* text = longWord.c_str();
    ShowAndDrive(MB_OK | MB_ICONHAND, text, {[&](HWND box) {
        HWND area = GetDlgItem(box, IDC_MESSAGE_TEXT);
        RECT client;
        GetClientRect(area, &client);
        HDC dc = GetDC(area);
        const std::vector<bool> shown = BlackMask(Pixels(dc, client));
        ReleaseDC(area, dc);

        const std::vector<bool> cut = ReferenceText(text, client, DT_WORDBREAK | DT_WORD_ELLIPSIS);
        const std::vector<bool> uncut = ReferenceText(text, client, DT_WORDBREAK);
        REQUIRE(cut != uncut);
        CHECK(CountSet(shown) > 0);
        CHECK(shown == cut);
        Click(box, IDOK);
    }});
}

TEST_CASE("the box paints its skin: dark body, red title bar, red buttons")
{
    PrepareLikeStartup();
    ShowAndDrive(MB_YESNO | MB_ICONQUESTION, L"Paint me.", {[](HWND box) {
        const MessageBoxLayout now = ReadLayout(box);
        // Between the left strip and the panel.
        CHECK(PixelAt(box, 10, now.panel.top + 20) == DarkBackgroundColor);
        const COLORREF bar = PixelAt(box, Width(now.box) / 4, 20);
        CHECK(GetRValue(bar) > 150);
        CHECK(GetGValue(bar) < 80);
        const COLORREF face = PixelAt(GetDlgItem(box, IDOK), 10, 18);
        CHECK(GetRValue(face) > 150);
        CHECK(GetGValue(face) < 80);
        // The left strip: dark grey outside, red inside.
        CHECK(PixelAt(box, 0, now.panel.top) == BorderDarkGreyColor);
        CHECK(PixelAt(box, 2, now.panel.top) == BorderRedColor);
        Click(box, IDOK);
    }});
}
