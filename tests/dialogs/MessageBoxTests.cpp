#include <doctest/doctest.h>

#include <algorithm>
#include <string>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Program.h"
#include "ui/TestKit.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/framework/SharedBrushes.h"

namespace {
RECT ControlRect(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// What start-up prepares: the brushes, English texts (whose Ok reads "En" in the test resources).
bool Prepare()
{
    static SharedBrushes brushes;
    ResetSettingsFolders(NoFolders);
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    return true;
}

// Template 102 as the dialog manager lays it out, before the box fits it to its text.
RECT TemplateRect(int id)
{
    HWND plain = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, PlainDialogProc, 0);
    RECT rect;
    if (id == 0)
        GetWindowRect(plain, &rect);
    else
        rect = ControlRect(plain, id);
    DestroyWindow(plain);
    return rect;
}

// Shows a box; `step` ends it.
int Show(UINT type, const wchar_t* text, Step step, MessageBox* box = nullptr)
{
    [[maybe_unused]] static const bool prepared = Prepare();
    MessageBox own;
    int result = 0;
    RunDriven([&] { result = (box ? box : &own)->Show(nullptr, text, L"Box Caption", type); }, {step});
    return result;
}
}

TEST_CASE("buttons, faces, captions, icon and results by type")
{
    const RECT ok = TemplateRect(IDOK), cancel = TemplateRect(IDCANCEL), text = TemplateRect(IDC_MESSAGE_TEXT);
    const int iconWidth = Width(TemplateRect(IDC_MESSAGE_ICON));
    struct Row {
        UINT type;
        const wchar_t *ok, *cancel, *icon;  // "Button2": no caption set; null: hidden, no icon
        int results[3];                     // command 1, command 2 (Escape), a close that carries 0
    } rows[] = {
        {MB_OK | MB_ICONHAND, L"En", nullptr, IDI_HAND, {IDOK, IDCANCEL, 0}},
        {MB_OKCANCEL | MB_ICONQUESTION, L"En", L"Cancel", IDI_QUESTION, {IDOK, IDCANCEL, IDCANCEL}},
        {MB_YESNO | MB_ICONEXCLAMATION, L"Yes", L"No", IDI_EXCLAMATION, {IDYES, IDNO, IDNO}},
        {MB_OK | MB_ICONASTERISK, L"En", nullptr, IDI_ASTERISK, {IDOK, IDCANCEL, 0}},
        {MB_YESNOCANCEL, L"Button2", nullptr, nullptr, {IDOK, IDCANCEL, IDCANCEL}},
        {MB_CANCELTRYCONTINUE, L"Button2", nullptr, nullptr, {IDYES, IDNO, IDNO}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.type);
        MessageBox box;
        const int result = Show(row.type, L"Some text.", [&](HWND dialog) {
            CHECK(WindowText(dialog) == L"Box Caption");
            CHECK(WindowText(GetDlgItem(dialog, IDOK)) == row.ok);
            CHECK(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)) == (row.cancel != nullptr));
            if (row.cancel)
                CHECK(WindowText(GetDlgItem(dialog, IDCANCEL)) == row.cancel);
            RECT frame;
            GetWindowRect(dialog, &frame);
            const RECT nowOk = ControlRect(dialog, IDOK), nowText = ControlRect(dialog, IDC_MESSAGE_TEXT);
            CHECK(nowOk.left == ok.left + (row.cancel ? 0 : (Width(frame) - 109) / 4));  // a lone button moves right
            CHECK(ControlRect(dialog, IDCANCEL).left == cancel.left);
            HWND icon = GetDlgItem(dialog, IDC_MESSAGE_ICON);
            CHECK(IsWindowVisible(icon) == (row.icon != nullptr));
            CHECK(nowText.left == text.left - (row.icon ? 0 : iconWidth));
            if (row.icon) {
                const Image shown = CaptureWindow(icon);
                CHECK(shown == IconPixels(row.icon, shown.width, shown.height, shown.At(0, 0)));
            }
            // Each look's face, caption aside, from its own bitmap.
            for (SkinButton* button : {&box.okButton, &box.cancelButton}) {
                button->caption.clear();
                const struct { UINT state; int hovering; UINT face; } looks[] = {
                    {0, 0, IDB_BUTTON_NORMAL}, {ODS_SELECTED, 1, IDB_BUTTON_PRESSED},
                    {0, 1, IDB_BUTTON_HOVER}, {ODS_DISABLED, 1, IDB_BUTTON_DISABLED}};
                for (const auto& look : looks) {
                    CAPTURE(look.face);
                    button->hovering = look.hovering;
                    const auto paint = [&](const DRAWITEMSTRUCT& r) { button->DrawItem(&r); };
                    if (button == &box.okButton || row.cancel)
                        CHECK(PaintOnce(paint, button->window, 109, 37, ODA_DRAWENTIRE, look.state) == BitmapPixels(look.face));
                }
                button->hovering = 0;
            }
            ClickControl(dialog, IDOK);
        }, &box);
        CHECK(result == row.results[0]);
        CHECK(Show(row.type, L"Text", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }) == row.results[1]);
        if (row.results[2] != 0)
            CHECK(Show(row.type, L"Text", SystemClose) == row.results[2]);
    }
}

TEST_CASE("a box closed with 0 hands over to the platform's box with the same text, caption and type")
{
    Prepare();
    int result = 0;
    RunDriven([&] { result = ShowMessageBox(nullptr, L"Asked again.", L"Fall-back", MB_OK); },
              {SystemClose, [](HWND platformBox) {
                   CHECK(GetDlgItem(platformBox, IDC_MESSAGE_TEXT) == nullptr);
                   CHECK(WindowText(platformBox) == L"Fall-back");
                   bool textFound = false;
                   for (HWND child = GetWindow(platformBox, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                       textFound = textFound || WindowText(child) == L"Asked again.";
                   CHECK(textFound);
                   ClickControl(platformBox, IDOK);
               }});
    CHECK(result == IDOK);
}

TEST_CASE("the box fits its height to its text, keeping its middle, and draws the text as measured")
{
    std::wstring longText;
    for (int i = 0; i < 12; ++i)
        longText += L"This sentence is one of many that together need more room than the box has. ";
    const std::wstring texts[] = {L"Short.", longText, std::wstring(200, L'W')};
    const RECT box = TemplateRect(0), area = TemplateRect(IDC_MESSAGE_TEXT), panel = TemplateRect(IDC_MESSAGE_PANEL),
               ok = TemplateRect(IDOK), icon = TemplateRect(IDC_MESSAGE_ICON);
    for (const std::wstring& text : texts) {
        CAPTURE(text.size());
        Show(MB_OK | MB_ICONHAND, text.c_str(), [&](HWND dialog) {
            RECT now;
            GetWindowRect(dialog, &now);
            const RECT nowArea = ControlRect(dialog, IDC_MESSAGE_TEXT);
            const int textHeight = Height(nowArea), shrink = Height(area) - textHeight;
            CHECK((text.size() > 200 ? shrink < 0 : textHeight == 40));
            CHECK(nowArea.top == area.top);
            CHECK(now.top == box.top + shrink / 2);  // half at the top, half at the bottom
            CHECK(now.bottom == box.bottom - shrink / 2);
            CHECK(Height(ControlRect(dialog, IDC_MESSAGE_PANEL)) == Height(panel) - shrink);
            CHECK(ControlRect(dialog, IDOK).top == ok.top - shrink);
            CHECK(ControlRect(dialog, IDC_MESSAGE_ICON).top == area.top + (textHeight - Height(icon)) / 2);
            CHECK(ControlRect(dialog, IDC_STRIP_BOTTOM).top == Height(now) - 4);
            const Image shot = CaptureWindow(dialog);
            CHECK(shot.At(10, area.top + 20) == 0x707072);
            CHECK(Ink(shot.Crop(area.left, area.top, Width(nowArea), textHeight)) ==
                  DrawnInk(text.c_str(), Width(nowArea), textHeight, DT_WORDBREAK | DT_WORD_ELLIPSIS));
            ClickControl(dialog, IDOK);
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
    int answer = 0;
    RunDriven([&] { answer = ShowMessageBox(owner, L"Some text.", L"Box Caption", MB_OK); }, {[&](HWND box) {
                  RECT now = {};
                  GetWindowRect(box, &now);
                  CHECK(EqualRect(&now, &expected));
                  ClickControl(box, IDOK);
              }});
    CHECK(answer == IDOK);
    DestroyWindow(owner);
    FreeLibrary(foreign);
}
