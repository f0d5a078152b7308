#include <doctest/doctest.h>

#include <algorithm>

#include "resource.h"
#include "support/Program.h"
#include "ui/TestKit.h"

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
}
