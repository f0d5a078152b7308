#include <doctest/doctest.h>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"
#include "ui/framework/SharedBrushes.h"

namespace {
RECT Place(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(id ? GetDlgItem(dialog, id) : dialog, &rect);
    MapWindowPoints(nullptr, id ? dialog : nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Shows a box the way start-up prepares it (English: Ok reads "En" in the test resources); `steps` end it.
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
    std::wstring longText;
    for (int i = 0; i < 12; ++i)
        longText += L"This sentence is one of many that together need more room than the box has. ";
    const struct {
        UINT type;
        const wchar_t *ok, *cancel, *icon;  // "Button2": no caption set; null: hidden, no icon
        std::wstring text;
        int results[2];  // Ok, Escape
    } rows[] = {
        {MB_OK | MB_ICONASTERISK, L"En", nullptr, IDI_ASTERISK, longText, {IDOK, IDCANCEL}},
        {MB_OKCANCEL | MB_ICONQUESTION, L"En", L"Cancel", IDI_QUESTION, L"Short.", {IDOK, IDCANCEL}},
        {MB_YESNO | MB_ICONEXCLAMATION, L"Yes", L"No", IDI_EXCLAMATION, std::wstring(200, L'W'), {IDYES, IDNO}},
        {MB_YESNOCANCEL, L"Button2", nullptr, nullptr, L"Short.", {IDOK, IDCANCEL}},
        {MB_CANCELTRYCONTINUE, L"Button2", nullptr, nullptr, L"Short.", {IDYES, IDNO}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.type);
        const int result = Show(row.type, row.text.c_str(), {[&](HWND dialog) {
            CHECK((WindowText(dialog) == L"Box Caption" && WindowText(GetDlgItem(dialog, IDOK)) == row.ok));
            CHECK(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)) == (row.cancel != nullptr));
            CHECK(WindowText(GetDlgItem(dialog, IDCANCEL)) == (row.cancel ? row.cancel : L"Button2"));
            const RECT now = Place(dialog, 0), text = Place(dialog, IDC_MESSAGE_TEXT);
            const int height = text.bottom - text.top, grown = height - (area.bottom - area.top);
            CHECK((row.text.size() > 200 ? grown > 0 : height == 40));
            CHECK((text.top == area.top && now.top == box.top - grown / 2 && now.bottom == box.bottom + grown / 2));
            CHECK(Place(dialog, IDC_MESSAGE_PANEL).bottom == panel.bottom + grown);
            CHECK(Place(dialog, IDOK).top == ok.top + grown);
            CHECK(Place(dialog, IDOK).left == ok.left + (row.cancel ? 0 : (now.right - now.left - 109) / 4));
            CHECK(text.left == area.left - (row.icon ? 0 : icon.right - icon.left));
            CHECK(Place(dialog, IDC_STRIP_BOTTOM).top == now.bottom - now.top - 4);
            HDC dc = GetWindowDC(dialog);
            CHECK(GetPixel(dc, 10, area.top + 20) == 0x707072);
            ReleaseDC(dialog, dc);
            HWND iconWindow = GetDlgItem(dialog, IDC_MESSAGE_ICON);
            CHECK(IsWindowVisible(iconWindow) == (row.icon != nullptr));
            CHECK(Place(dialog, IDC_MESSAGE_ICON).top == area.top + (height - icon.bottom + icon.top) / 2);
            CHECK(SendMessageW(iconWindow, STM_GETICON, 0, 0) == (LRESULT)LoadIconW(nullptr, row.icon));
            ClickControl(dialog, IDOK);
        }});
        CHECK(result == row.results[0]);
        CHECK(Show(row.type, L"Text", {[](HWND dialog) { PressKey(dialog, VK_ESCAPE); }}) == row.results[1]);
    }
    // A close that carries 0 hands over to the platform's box with the same text, caption and type.
    const int asked = Show(MB_ABORTRETRYIGNORE, L"Asked again.", {SystemClose, [](HWND platformBox) {
        CHECK((GetDlgItem(platformBox, IDC_MESSAGE_TEXT) == nullptr && WindowText(platformBox) == L"Box Caption"));
        CHECK(FindWindowExW(platformBox, nullptr, nullptr, L"Asked again.") != nullptr);
        ClickControl(platformBox, IDIGNORE);
    }});
    CHECK(asked == IDIGNORE);
    // Another module's template 102 without the text area shows unsized, where the dialog manager put it.
    HMODULE foreign = LoadLibraryW(L"foreign_box.dll");
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, foreign, nullptr);
    const RECT expected = Place(CreateDialogParamW(foreign, MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, nullptr, 0), 0);
    Show(MB_OK, L"Some text.", {[&](HWND shown) {
        CHECK((Place(shown, 0).top == expected.top && Place(shown, 0).bottom == expected.bottom));
        ClickControl(shown, IDOK);
    }}, owner);
}
