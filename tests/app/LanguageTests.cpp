#include <doctest/doctest.h>

#include <string>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Text.h"

namespace {
// The language start-up would choose with `lang` in the primary file.
void StartWithLang(const char* lang)
{
    ResetSettingsFolders(AllFolders);
    if (lang != nullptr)
        WriteFileBytes(PrimaryIni(), std::string("[SETTINGS]\r\nLang=") + lang + "\r\n");
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
}

std::wstring Lookup(UINT id, int capacity = 128)
{
    wchar_t buffer[256];
    LoadLocalizedString(id, buffer, capacity);
    return buffer;
}

const UINT AbsentId = 20999;
}

TEST_CASE("the Lang key selects the language; absent or out of range is English")
{
    // The test resources translate only 20001, as "Gut", into Deutsch.
    struct Row {
        const char* lang;
        unsigned index;
        const wchar_t* okText;
    };
    const Row rows[] = {
        //  Lang          index  text of 20001
        {nullptr,         0, L"Ok"},
        {"0",             0, L"Ok"},
        {"3",             3, L"Ok"},   // Nederland, base 28000: no row there
        {"4",             4, L"Gut"},  // Deutsch, base 26000
        {"6",             6, L"Ok"},   // Japanese, base 0
        {"8",             8, L"Ok"},   // Portugues, base 0
        {"9",             0, L"Ok"},
        {"4294967295",    0, L"Ok"},
        {"-1",            0, L"Ok"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.lang);
        StartWithLang(row.lang);
        CHECK(SelectedLanguage() == row.index);
        CHECK(Lookup(IDS_OK) == row.okText);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("Lang is read from the fallback file when the primary file lacks it")
{
    ResetSettingsFolders(FallbackFolderExists);
    WriteFileBytes(FallbackIni(), "[SETTINGS]\r\nLang=4\r\n");
    SelectLanguage(GetModuleHandleW(nullptr));
    CHECK(SelectedLanguage() == 4);
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("a lookup fills the buffer with a terminated text of at most capacity - 1 characters")
{
    StartWithLang(nullptr);
    struct Row {
        UINT id;
        int capacity;
        const wchar_t* text;
        int result;
    };
    const Row rows[] = {
        // id                   capacity  text                 result
        {IDS_OK,                128,      L"Ok",               2},
        {IDS_SETTINGS_TITLE,    128,      L"KRV Advanced Engraver Settings", 30},
        {IDS_MANUAL_RDM_HELP,   11,       L"Select thi",       10},
        {IDS_USER_SWITCHING_HELP, 128,
         L"Leave this option checked if more than one user may log onto your computer.  ", 77},
        {AbsentId,              128,      L"????",             0},
        {AbsentId,              5,        L"????",             0},
        {AbsentId,              3,        L"??",               0},
        {AbsentId,              1,        L"",                 0},
        {IDS_OK,                1,        L"",                 0},
    };
    for (const Row& row : rows) {
        CAPTURE(row.id);
        CAPTURE(row.capacity);
        wchar_t buffer[256];
        wmemset(buffer, L'#', 256);
        CHECK(LoadLocalizedString(row.id, buffer, row.capacity) == row.result);
        CHECK(std::wstring(buffer) == row.text);
        // Nothing is written past the capacity.
        CHECK(buffer[row.capacity] == L'#');
    }
}

TEST_CASE("a capacity of 0 writes nothing at all")
{
    StartWithLang(nullptr);
    // LoadStringW would store a pointer into the read-only resource here.
    wchar_t buffer[8];
    wmemset(buffer, L'#', 8);
    CHECK(LoadLocalizedString(IDS_OK, buffer, 0) == 0);
    CHECK(LoadLocalizedString(AbsentId, buffer, 0) == 0);
    CHECK(std::wstring(buffer, 8) == L"########");
}

TEST_CASE("SetTextFromStringId shows the text cut to the maximum length")
{
    StartWithLang(nullptr);
    HWND box = CreateWindowW(L"BUTTON", L"template", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 100, 20, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    REQUIRE(box != nullptr);
    wchar_t text[256];

    SetTextFromStringId(box, IDS_RETAIL_MODE, 32);
    GetWindowTextW(box, text, 256);
    CHECK(std::wstring(text) == L"Retail Mode");

    SetTextFromStringId(box, IDS_MANUAL_RDM_HELP, 20);
    GetWindowTextW(box, text, 256);
    CHECK(std::wstring(text) == L"Select this option t");

    SetTextFromStringId(box, AbsentId, 64);
    GetWindowTextW(box, text, 256);
    CHECK(std::wstring(text) == L"????");

    DestroyWindow(box);
}
