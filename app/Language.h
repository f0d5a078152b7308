#pragma once

#include <windows.h>

// One language the string table can hold: its texts lie at the plain id
// plus `base`.
struct Language {
    int base;
    const wchar_t* name;
};

const unsigned LanguageCount = 9;

// Indexed by the value of the `Lang` key.
extern Language LanguageTable[LanguageCount];

// Remembers the module holding the string table and picks the language
// from the `Lang` key (English when absent or out of range).
void SelectLanguage(HINSTANCE module);

void SetLanguageBase(unsigned index, int base);

// Copies the text of `id` in the selected language, else its plain text,
// else "????", into `buffer` of `capacity` characters (terminator included).
// Returns the characters copied, or 0 when the placeholder was used.
int LoadLocalizedString(UINT id, wchar_t* buffer, int capacity);

// Sets the window's text to the text of `id`, cut to `maxLength` characters.
void SetTextFromStringId(HWND window, UINT id, int maxLength);
