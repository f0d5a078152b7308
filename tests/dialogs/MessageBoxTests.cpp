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
    if (id)
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Where the dialog manager puts control `id` (0: the box) of `module`'s template 102 before the box moves it.
RECT Template(int id, HMODULE module = GetModuleHandleW(nullptr))
{
    HWND plain = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, nullptr, 0);
    const RECT rect = Place(plain, id);
    DestroyWindow(plain);
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

TEST_CASE("by type and text: buttons, captions, icon, the height fitted keeping the middle, results")
{
    const RECT box = Template(0), area = Template(IDC_MESSAGE_TEXT), icon = Template(IDC_MESSAGE_ICON);
    const RECT ok = Template(IDOK), panel = Template(IDC_MESSAGE_PANEL);
    std::wstring longText;
    for (int i = 0; i < 12; ++i)
        longText += L"This sentence is one of many that together need more room than the box has. ";
    const struct {
        UINT type;
        const wchar_t *ok, *cancel, *icon;  // "Button2": no caption set; null: hidden, no icon
        std::wstring text;
        int results[2];  // Ok, Escape
    } rows[] = {
        {MB_OK | MB_ICONHAND, L"En", nullptr, IDI_HAND, longText, {IDOK, IDCANCEL}},
        {MB_OKCANCEL | MB_ICONQUESTION, L"En", L"Cancel", IDI_QUESTION, L"Short.", {IDOK, IDCANCEL}},
        {MB_YESNO | MB_ICONEXCLAMATION, L"Yes", L"No", IDI_EXCLAMATION, std::wstring(200, L'W'), {IDYES, IDNO}},
        {MB_OK | MB_ICONASTERISK, L"En", nullptr, IDI_ASTERISK, L"Short.", {IDOK, IDCANCEL}},
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
            CHECK(CaptureWindow(dialog).At(10, area.top + 20) == 0x707072);
            HWND iconWindow = GetDlgItem(dialog, IDC_MESSAGE_ICON);
            const Image shown = CaptureWindow(iconWindow);
            CHECK(IsWindowVisible(iconWindow) == (row.icon != nullptr));
            if (row.icon) {
                CHECK(Place(dialog, IDC_MESSAGE_ICON).top == area.top + (height - icon.bottom + icon.top) / 2);
                CHECK(shown == IconPixels(row.icon, shown.width, shown.height, shown.At(0, 0)));
            }
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
    // Each look's face from its own bitmap.
    LiveBox plain;
    const UINT looks[][3] = {{0, 0, IDB_BUTTON_NORMAL}, {ODS_SELECTED, 1, IDB_BUTTON_PRESSED},
                             {0, 1, IDB_BUTTON_HOVER}, {ODS_DISABLED, 1, IDB_BUTTON_DISABLED}};
    for (SkinButton* button : {&plain.okButton, &plain.cancelButton})
        for (const auto& look : looks) {
            button->caption.clear();
            button->hovering = look[1];
            const auto paint = [&](const DRAWITEMSTRUCT& r) { button->DrawItem(&r); };
            CHECK(PaintOnce(paint, button->window, 109, 37, ODA_DRAWENTIRE, look[0]) == BitmapPixels(look[2]));
        }
}

TEST_CASE("another module's template 102 without the text area shows unsized, where the dialog manager put it")
{
    HMODULE foreign = LoadLibraryW(L"foreign_box.dll");
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, foreign, nullptr);
    const RECT expected = Template(0, foreign);
    const int answer = Show(MB_OK, L"Some text.", {[&](HWND box) {
        const RECT now = Place(box, 0);
        CHECK(EqualRect(&now, &expected));
        ClickControl(box, IDOK);
    }}, owner);
    CHECK(answer == IDOK);
    DestroyWindow(owner);
    FreeLibrary(foreign);
}
