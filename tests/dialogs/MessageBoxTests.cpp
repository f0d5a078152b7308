#include <doctest/doctest.h>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Files.h"
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

// Where the dialog manager puts control `id` of template 102 (0: the box), before the box moves anything.
RECT Template(int id)
{
    HWND plain = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, nullptr, 0);
    const RECT rect = Place(plain, id);
    DestroyWindow(plain);
    return rect;
}

// Shows a box the way start-up prepares it (English: Ok reads "En" in the test resources); `step` ends it.
int Show(UINT type, const wchar_t* text, const Step& step)
{
    static SharedBrushes brushes;
    ResetSettingsFolders(NoFolders);
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    int result = 0;
    RunDriven([&] { result = ShowMessageBox(nullptr, text, L"Box Caption", type); }, {step});
    return result;
}
}

TEST_CASE("buttons, faces, captions, icon and results by type")
{
    const RECT ok = Template(IDOK), text = Template(IDC_MESSAGE_TEXT);
    const int iconWidth = Template(IDC_MESSAGE_ICON).right - Template(IDC_MESSAGE_ICON).left;
    const struct {
        UINT type;
        const wchar_t *ok, *cancel, *icon;  // "Button2": no caption set; null: hidden, no icon
        int results[3];                     // Ok, Escape, a close that carries 0 (0: the platform's box follows)
    } rows[] = {
        {MB_OK | MB_ICONHAND, L"En", nullptr, IDI_HAND, {IDOK, IDCANCEL, 0}},
        {MB_OKCANCEL | MB_ICONQUESTION, L"En", L"Cancel", IDI_QUESTION, {IDOK, IDCANCEL, IDCANCEL}},
        {MB_YESNO | MB_ICONEXCLAMATION, L"Yes", L"No", IDI_EXCLAMATION, {IDYES, IDNO, IDNO}},
        {MB_OK | MB_ICONASTERISK, L"En", nullptr, IDI_ASTERISK, {IDOK, IDCANCEL, 0}},
        {MB_YESNOCANCEL, L"Button2", nullptr, nullptr, {IDOK, IDCANCEL, IDCANCEL}},
        {MB_CANCELTRYCONTINUE, L"Button2", nullptr, nullptr, {IDYES, IDNO, IDNO}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.type);
        const int result = Show(row.type, L"Some text.", [&](HWND dialog) {
                  CHECK((WindowText(dialog) == L"Box Caption" && WindowText(GetDlgItem(dialog, IDOK)) == row.ok));
                  CHECK(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)) == (row.cancel != nullptr));
                  CHECK(WindowText(GetDlgItem(dialog, IDCANCEL)) == (row.cancel ? row.cancel : L"Button2"));
                  const int width = Place(dialog, 0).right - Place(dialog, 0).left;
                  CHECK(Place(dialog, IDOK).left == ok.left + (row.cancel ? 0 : (width - 109) / 4));
                  CHECK(Place(dialog, IDC_MESSAGE_TEXT).left == text.left - (row.icon ? 0 : iconWidth));
                  HWND icon = GetDlgItem(dialog, IDC_MESSAGE_ICON);
                  const Image shown = CaptureWindow(icon);
                  CHECK(IsWindowVisible(icon) == (row.icon != nullptr));
                  if (row.icon)
                      CHECK(shown == IconPixels(row.icon, shown.width, shown.height, shown.At(0, 0)));
                  ClickControl(dialog, IDOK);
              });
        CHECK(result == row.results[0]);
        CHECK(Show(row.type, L"Text", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }) == row.results[1]);
        if (row.results[2] != 0)
            CHECK(Show(row.type, L"Text", SystemClose) == row.results[2]);
    }
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

TEST_CASE("a box closed with 0 hands over to the platform's box with the same text, caption and type")
{
    int result = 0;
    RunDriven([&] { result = ShowMessageBox(nullptr, L"Asked again.", L"Fall-back", MB_OK); },
              {SystemClose, [](HWND platformBox) {
                   CHECK((GetDlgItem(platformBox, IDC_MESSAGE_TEXT) == nullptr && WindowText(platformBox) == L"Fall-back"));
                   CHECK(FindWindowExW(platformBox, nullptr, nullptr, L"Asked again.") != nullptr);
                   ClickControl(platformBox, IDOK);
               }});
    CHECK(result == IDOK);
}

TEST_CASE("the box fits its height to its text, keeping its middle, and draws the text as measured")
{
    const RECT box = Template(0), area = Template(IDC_MESSAGE_TEXT), icon = Template(IDC_MESSAGE_ICON);
    const int panel = Template(IDC_MESSAGE_PANEL).bottom, ok = Template(IDOK).top;
    std::wstring longText;
    for (int i = 0; i < 12; ++i)
        longText += L"This sentence is one of many that together need more room than the box has. ";
    for (const std::wstring& text : {std::wstring(L"Short."), longText, std::wstring(200, L'W')}) {
        CAPTURE(text.size());
        Show(MB_OK | MB_ICONHAND, text.c_str(), [&](HWND dialog) {
            const RECT now = Place(dialog, 0), nowArea = Place(dialog, IDC_MESSAGE_TEXT);
            const int textHeight = nowArea.bottom - nowArea.top, grown = textHeight - (area.bottom - area.top);
            CHECK((text.size() > 200 ? grown > 0 : textHeight == 40));
            CHECK((nowArea.top == area.top && now.top == box.top + (-grown) / 2 && now.bottom == box.bottom - (-grown) / 2));
            CHECK((Place(dialog, IDC_MESSAGE_PANEL).bottom == panel + grown && Place(dialog, IDOK).top == ok + grown));
            CHECK(Place(dialog, IDC_MESSAGE_ICON).top == area.top + (textHeight - icon.bottom + icon.top) / 2);
            CHECK(Place(dialog, IDC_STRIP_BOTTOM).top == now.bottom - now.top - 4);
            const Image shot = CaptureWindow(dialog);
            CHECK(shot.At(10, area.top + 20) == 0x707072);
            CHECK(Ink(shot.Crop(nowArea.left, area.top, nowArea.right - nowArea.left, textHeight)) ==
                  DrawnInk(text.c_str(), nowArea.right - nowArea.left, textHeight, DT_WORDBREAK | DT_WORD_ELLIPSIS));
            ClickControl(dialog, IDOK);
        });
    }
}

TEST_CASE("a template 102 without the text area shows unsized, where the dialog manager put it")
{
    HMODULE foreign = LoadLibraryW(L"foreign_box.dll");
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, foreign, nullptr);
    HWND plain = CreateDialogParamW(foreign, MAKEINTRESOURCEW(IDD_MESSAGEBOX), owner, nullptr, 0);
    const RECT expected = Place(plain, 0);
    DestroyWindow(plain);
    int answer = 0;
    RunDriven([&] { answer = ShowMessageBox(owner, L"Some text.", L"Box Caption", MB_OK); }, {[&](HWND box) {
                  const RECT now = Place(box, 0);
                  CHECK(EqualRect(&now, &expected));
                  ClickControl(box, IDOK);
              }});
    CHECK(answer == IDOK);
    DestroyWindow(owner);
    FreeLibrary(foreign);
}
