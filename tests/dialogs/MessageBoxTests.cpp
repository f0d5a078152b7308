#include <doctest/doctest.h>

#include <algorithm>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
// Shows a box the way start-up prepares it; `steps` end it.
int Show(UINT type, const wchar_t* text, std::vector<Step> steps, HWND owner = nullptr)
{
    static SharedBrushes brushes;
    ResetSettingsFolders(NoFolders);
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    int result = 0;
    RunDriven([&] { result = ShowMessageBox(owner, text, L"Box Caption", type); }, std::move(steps));
    return result;
}
}

TEST_CASE("by type and text: buttons, captions, icon, the height fitted keeping the middle, results; foreign templates")
{
    // Template 102 as the dialog manager places it, before the box moves anything.
    HWND plain = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, nullptr, 0);
    const RECT box = Place(plain, 0), area = Place(plain, IDC_MESSAGE_TEXT), icon = Place(plain, IDC_MESSAGE_ICON);
    const RECT ok = Place(plain, IDOK), panel = Place(plain, IDC_MESSAGE_PANEL);
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
    std::wstring tall = L"Line 1 of 14.";  // more lines than the template's area holds
    for (int i = 2; i <= 14; ++i)
        tall += L"\r\nLine " + std::to_wstring(i) + L" of 14.";
    const struct {
        UINT type;
        const wchar_t *ok, *cancel, *icon;  // "Button2": no caption set; null: hidden, no icon
        std::wstring text;
        int lines, results[2];  // Ok, Escape
    } rows[] = {
        {MB_OK | MB_ICONASTERISK, L"Ok", nullptr, IDI_ASTERISK, tall, 14, {IDOK, IDCANCEL}},
        {MB_OKCANCEL | MB_ICONQUESTION, L"Ok", L"Cancel", IDI_QUESTION, L"Short.", 1, {IDOK, IDCANCEL}},
        {MB_YESNO | MB_ICONEXCLAMATION, L"Yes", L"No", IDI_EXCLAMATION, std::wstring(200, L'W'), 1, {IDYES, IDNO}},
        {MB_RETRYCANCEL, L"Button2", nullptr, nullptr, L"Two\r\nlines.", 2, {IDOK, IDCANCEL}},
        {MB_CANCELTRYCONTINUE, L"Button2", nullptr, nullptr, L"Short.", 1, {IDYES, IDNO}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.type);
        // Plus 10, at least 40.
        const int height = std::max(40, row.lines * int(font.tmHeight) + 10), grown = height - (area.bottom - area.top);
        // clang-format off
        const int result = Show(row.type, row.text.c_str(), {[&](HWND dialog) {
            CHECK((WindowText(dialog) == L"Box Caption" && WindowText(GetDlgItem(dialog, IDOK)) == row.ok));
            CHECK(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)) == (row.cancel != nullptr));
            CHECK(WindowText(GetDlgItem(dialog, IDCANCEL)) == (row.cancel ? row.cancel : L"Button2"));
            const RECT now = Place(dialog, 0), text = Place(dialog, IDC_MESSAGE_TEXT);
            const RECT expected = {area.left - (row.icon ? 0 : icon.right - icon.left), area.top, area.right,
                                   area.top + height};
            CHECK(EqualRect(&text, &expected));
            CHECK((now.top == box.top - grown / 2 && now.bottom == box.bottom + grown / 2));
            CHECK(Place(dialog, IDC_MESSAGE_PANEL).bottom == panel.bottom + grown);
            for (const int id : {IDOK, IDCANCEL}) {  // both move; a shown button takes its face's size
                const RECT button = Place(dialog, id);
                CHECK(button.top == ok.top + grown);
                CHECK(((id == IDCANCEL && !row.cancel) ||
                       (button.right - button.left == 109 && button.bottom - button.top == 37)));
            }
            CHECK(Place(dialog, IDOK).left == ok.left + (row.cancel ? 0 : (now.right - now.left - 109) / 4));
            HWND iconWindow = GetDlgItem(dialog, IDC_MESSAGE_ICON);
            CHECK(IsWindowVisible(iconWindow) == (row.icon != nullptr));
            CHECK(Place(dialog, IDC_MESSAGE_ICON).top == area.top + (height - icon.bottom + icon.top) / 2);
            CHECK(SendMessageW(iconWindow, STM_GETICON, 0, 0) == (LRESULT)LoadIconW(nullptr, row.icon));
            HWND textArea = GetDlgItem(dialog, IDC_MESSAGE_TEXT);
            CHECK(SendBounded(textArea, WM_GETFONT) == reinterpret_cast<DWORD_PTR>(GetStockObject(SYSTEM_FONT)));
            const int w = expected.right - expected.left;
            Canvas drawn(w, height), lines(w, height);
            const DRAWITEMSTRUCT request = DrawRequest(textArea, drawn.dc, {0, 0, w, height}, ODA_DRAWENTIRE, 0);
            SendMessageW(dialog, WM_DRAWITEM, IDC_MESSAGE_TEXT, reinterpret_cast<LPARAM>(&request));
            SelectObject(lines.dc, GetStockObject(SYSTEM_FONT));
            std::wstring rest = row.text + L"\r\n";
            for (int y = 0; !rest.empty(); y += font.tmHeight, rest.erase(0, rest.find(L'\n') + 1)) {
                const std::wstring line = fitted(rest.substr(0, rest.find(L'\r')), w);
                TextOutW(lines.dc, 0, y, line.c_str(), int(line.size()));
            }
            CHECK(drawn.Pixels() == lines.Pixels());
            ClickControl(dialog, IDOK);
        }});
        // clang-format on
        CHECK(result == row.results[0]);
        CHECK(Show(row.type, L"Text", {[](HWND dialog) { PressKey(dialog, VK_ESCAPE); }}) == row.results[1]);
    }
    // A close that carries 0 follows the type's bits; with neither bit set, the platform's box asks again with the
    // same text, caption and type.
    CHECK(Show(MB_YESNO, L"Text", {SystemClose}) == IDNO);
    // clang-format off
    const int asked = Show(MB_ABORTRETRYIGNORE, L"Asked again.", {SystemClose, [](HWND platformBox) {
        CHECK((GetDlgItem(platformBox, IDC_MESSAGE_TEXT) == nullptr && WindowText(platformBox) == L"Box Caption"));
        CHECK(FindWindowExW(platformBox, nullptr, nullptr, L"Asked again.") != nullptr);
        ClickControl(platformBox, IDIGNORE);
    }});
    // clang-format on
    CHECK(asked == IDIGNORE);
    // Another module's template 102 without the text area shows unsized, where the dialog manager put it.
    HMODULE foreign = LoadLibraryW(L"foreign_box.dll");
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, foreign, nullptr);
    const RECT expected = Place(CreateDialogParamW(foreign, MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, nullptr, 0), 0);
    // clang-format off
    Show(MB_OK, L"Some text.", {[&](HWND shown) {
        CHECK((Place(shown, 0).top == expected.top && Place(shown, 0).bottom == expected.bottom));
        ClickControl(shown, IDOK);
    }}, owner);
    // clang-format on
}
