#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/Program.h"
#include "support/Text.h"

namespace {
// One item of an extended dialog template, as the resource compiler wrote it.
struct Expected {
    int id;
    std::wstring className;
    std::wstring text;
    DWORD style;
    short x, y, cx, cy;
};

struct Item : Expected {
    DWORD exStyle;
};

struct Template {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, windowClass, title;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0;
    std::wstring typeface;
    std::vector<Item> items;
    bool extended = false;
};

class Reader {
public:
    explicit Reader(const BYTE* start) : base(start), at(start) {}
    WORD Word() { WORD value; memcpy(&value, at, 2); at += 2; return value; }
    DWORD Dword() { DWORD value; memcpy(&value, at, 4); at += 4; return value; }
    BYTE Byte() { return *at++; }
    std::wstring String()
    {
        std::wstring text;
        while (WORD c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }
    // A string or an ordinal; the predefined classes come as ordinals.
    std::wstring NameOrOrdinal()
    {
        WORD first;
        memcpy(&first, at, 2);
        if (first != 0xFFFF)
            return String();
        at += 2;
        switch (const WORD ordinal = Word()) {
        case 0x0080: return L"BUTTON";
        case 0x0081: return L"EDIT";
        case 0x0082: return L"STATIC";
        default:     return L"#" + std::to_wstring(ordinal);
        }
    }
    void AlignDword() { at = base + ((at - base + 3) & ~3); }

private:
    const BYTE* base;
    const BYTE* at;
};

Template ReadTemplate(const BYTE* data)
{
    Template result;
    Reader in(data);
    result.extended = in.Word() == 1 && in.Word() == 0xFFFF;
    if (!result.extended)
        return result;
    in.Dword();  // help id
    result.exStyle = in.Dword();
    result.style = in.Dword();
    const WORD count = in.Word();
    result.x = static_cast<short>(in.Word());
    result.y = static_cast<short>(in.Word());
    result.cx = static_cast<short>(in.Word());
    result.cy = static_cast<short>(in.Word());
    result.menu = in.NameOrOrdinal();
    result.windowClass = in.NameOrOrdinal();
    result.title = in.String();
    if (result.style & DS_SETFONT) {
        result.pointSize = in.Word();
        result.weight = in.Word();
        result.italic = in.Byte();
        in.Byte();  // character set
        result.typeface = in.String();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        Item item = {};
        in.Dword();  // help id
        item.exStyle = in.Dword();
        item.style = in.Dword();
        item.x = static_cast<short>(in.Word());
        item.y = static_cast<short>(in.Word());
        item.cx = static_cast<short>(in.Word());
        item.cy = static_cast<short>(in.Word());
        item.id = static_cast<int>(in.Dword());
        item.className = in.NameOrOrdinal();
        item.text = in.NameOrOrdinal();
        const WORD extra = in.Word();
        for (WORD b = 0; b < extra; ++b)
            in.Byte();
        result.items.push_back(item);
    }
    return result;
}

const DWORD Child = WS_CHILD | WS_VISIBLE;
const DWORD OwnerDrawn = Child | BS_OWNERDRAW | WS_TABSTOP;
const DWORD CheckBox = Child | BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD GroupBox = Child | BS_GROUPBOX;
const DWORD HelpText = Child | SS_LEFT | WS_GROUP;
const DWORD PushButton = Child | BS_PUSHBUTTON | WS_TABSTOP;
}

TEST_CASE("template 101 of the program holds the settings dialog's thirty-six items in tab order")
{
    HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(program != nullptr);
    HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(IDD_SETTINGS), MAKEINTRESOURCEW(5));
    REQUIRE(resource != nullptr);
    const Template dialog = ReadTemplate(static_cast<const BYTE*>(LockResource(LoadResource(program, resource))));

    REQUIRE(dialog.extended);
    CHECK(dialog.style == (WS_POPUP | WS_SYSMENU | DS_CENTER | DS_SETFONT));
    CHECK(dialog.exStyle == 0);
    CHECK(dialog.cx == 413);
    CHECK(dialog.cy == 324);
    CHECK(dialog.menu.empty());
    CHECK(dialog.windowClass.empty());
    CHECK(dialog.title.empty());
    CHECK(dialog.typeface == L"MS Sans Serif");
    CHECK(dialog.pointSize == 10);
    CHECK(dialog.weight == 400);
    CHECK(dialog.italic == 0);

    const Expected expected[] = {
        // id                          class      text                                       style       x    y    cx   cy
        {IDC_TITLE_BAR,                L"BUTTON", L"header",                                 OwnerDrawn, 0, 0, 413, 14},
        {IDC_STRIP_LEFT,               L"BUTTON", L"Button2",                                OwnerDrawn, 0, 66, 7, 14},
        {IDC_STRIP_BOTTOM,             L"BUTTON", L"Button2",                                OwnerDrawn, 7, 306, 29, 6},
        {IDC_STRIP_RIGHT,              L"BUTTON", L"Button2",                                OwnerDrawn, 406, 67, 7, 14},
        {IDC_MANUAL_RDM,               L"BUTTON", L"Enable Manual Controls (RDM Desktop)",   CheckBox,   12, 25, 185, 10},
        {-1,                           L"BUTTON", L"",                                       GroupBox,   7, 14, 399, 160},
        {IDC_MANUAL_RDM_HELP,          L"STATIC", L"Static",                                 HelpText,   12, 34, 180, 22},
        {IDC_RETAIL_MODE,              L"BUTTON", L"Enable Retail Mode",                     CheckBox,   201, 25, 148, 10},
        {IDC_HIDE_SYSTEM_TAB,          L"BUTTON", L"Hide System Tab",                        CheckBox,   201, 38, 143, 10},
        {IDC_FORBID_QUEUE_ACCESS,      L"BUTTON", L"Forbid Read/Write Acess to PrintQueue",  CheckBox,   201, 50, 152, 10},
        {IDC_DISABLE_FIXTURE_TYPE,     L"BUTTON", L"Disable Fixture Type Selection",         CheckBox,   201, 62, 144, 10},
        {IDC_HIDE_SETTINGS_BUTTON,     L"BUTTON", L"Hide Settings Button",                   CheckBox,   201, 74, 144, 10},
        {IDC_DELETE_AFTER_RUN,         L"BUTTON", L"Delete Each Job After Engraving",        CheckBox,   201, 99, 198, 10},
        {IDC_MANUAL_OTHER,             L"BUTTON", L"Enable Manual Controls (Other)",         CheckBox,   12, 63, 185, 10},
        {IDC_MANUAL_OTHER_HELP,        L"STATIC", L"Static",                                 HelpText,   12, 72, 180, 22},
        {IDC_USER_SWITCHING,           L"BUTTON", L"Enable Windows Multi-User Support",      CheckBox,   12, 135, 185, 10},
        {IDC_USER_SWITCHING_HELP,      L"STATIC", L"Static",                                 HelpText,   12, 144, 180, 16},
        {IDC_HOME_Z_AXIS,              L"BUTTON", L"Home RDM Z-Axis On Each USB Connection", CheckBox,   201, 135, 198, 10},
        {IDC_HOME_Z_AXIS_HELP,         L"STATIC", L"Static",                                 HelpText,   201, 144, 180, 26},
        {-1,                           L"BUTTON", L"",                                       GroupBox,   7, 175, 399, 100},
        {IDC_DATALOGGING,              L"BUTTON", L"Activate Datalogging",                   CheckBox,   12, 185, 185, 10},
        {IDC_LOG_START,                L"BUTTON", L"Log START Events",                       CheckBox,   19, 200, 160, 10},
        {IDC_LOG_COMPLETE,             L"BUTTON", L"Log COMPLETE Events",                    CheckBox,   19, 211, 160, 10},
        {IDC_LOG_PAUSE,                L"BUTTON", L"Log PAUSE Events",                       CheckBox,   19, 222, 160, 10},
        {IDC_LOG_RESUME,               L"BUTTON", L"Log RESUME Events",                      CheckBox,   19, 233, 160, 10},
        {IDC_LOG_ERROR,                L"BUTTON", L"Log ERROR Events",                       CheckBox,   19, 244, 160, 10},
        {IDC_LOG_DATE,                 L"BUTTON", L"Log Date (MM/DD/YY)",                    CheckBox,   198, 200, 160, 10},
        {IDC_LOG_TIME,                 L"BUTTON", L"Log Time (24-HH:MM:SS)",                 CheckBox,   198, 211, 160, 10},
        {IDC_LOG_JOB_NAME,             L"BUTTON", L"Log Job Name",                           CheckBox,   198, 222, 160, 10},
        {IDC_LOG_USER,                 L"BUTTON", L"Log Computer User Name",                 CheckBox,   198, 244, 160, 10},
        {IDC_LOG_SERIAL_NUMBER,        L"BUTTON", L"Log Engraver Serial Number",             CheckBox,   198, 255, 160, 10},
        {IDC_LOG_DURATION,             L"BUTTON", L"Log Job Duration (HH:MM:SS)",            CheckBox,   198, 233, 160, 10},
        {IDOK,                         L"BUTTON", L"IDOK",                                   PushButton, 143, 288, 58, 18},
        {IDCANCEL,                     L"BUTTON", L"IDCANCEL",                               PushButton, 211, 288, 58, 18},
        {IDC_POLL_FOR_FILES,           L"BUTTON", L"Enable Print File Polling",              CheckBox,   12, 99, 183, 10},
        {IDC_POLL_FOR_FILES_HELP,      L"STATIC", L"Static",                                 HelpText,   11, 108, 180, 16},
    };
    REQUIRE(dialog.items.size() == 36);
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const Item& item = dialog.items[i];
        const Expected& want = expected[i];
        CAPTURE(i + 1);
        CHECK(item.id == want.id);
        CHECK(item.className == want.className);
        CHECK(item.text == want.text);
        CHECK(item.style == want.style);
        CHECK(item.exStyle == 0);
        CHECK(item.x == want.x);
        CHECK(item.y == want.y);
        CHECK(item.cx == want.cx);
        CHECK(item.cy == want.cy);
    }
    FreeLibrary(program);
}
