#include "app/Language.h"

#include <cstdlib>

#include "settings/SettingsStore.h"

// clang-format off
Language LanguageTable[LanguageCount] = {
    {0, L"English"},  {0, L"Espanol"},  {0, L"Francais"},
    {0, L"Nederland"}, {0, L"Deutsch"}, {0, L"Italiano"},
    {0, L"Japanese"}, {0, L"Polski"},   {0, L"Portugues"},
};
// clang-format on

namespace {
HINSTANCE stringModule = nullptr;
unsigned languageIndex = 0;
}

void SelectLanguage(HINSTANCE module)
{
    stringModule = module;
    languageIndex = 0;
    DWORD lang = 0xFFFFFFFFu;
    SettingsStore().ReadLang(lang);
    if (lang < LanguageCount)
        languageIndex = lang;
}

void SetLanguageBase(unsigned index, int base)
{
    if (index < LanguageCount)
        LanguageTable[index].base = base;
}

int LoadLocalizedString(UINT id, wchar_t* buffer, int capacity)
{
    // LoadStringW with a capacity of 0 does not copy: it stores a pointer to
    // the read-only resource in the buffer. Never ask it for that.
    if (buffer == nullptr || capacity <= 0)
        return 0;

    if (languageIndex < LanguageCount) {
        const UINT localized = id + static_cast<UINT>(LanguageTable[languageIndex].base);
        int copied = LoadStringW(stringModule, localized, buffer, capacity);
        if (copied > 0)
            return copied;
        copied = LoadStringW(stringModule, id, buffer, capacity);
        if (copied > 0)
            return copied;
    }
    lstrcpynW(buffer, L"????", capacity < 8 ? capacity : 8);
    return 0;
}

void SetTextFromStringId(HWND window, UINT id, int maxLength)
{
    if (maxLength < 0)
        maxLength = 0;
    const size_t capacity = static_cast<size_t>(maxLength) + 1;
    auto* text = static_cast<wchar_t*>(std::calloc(capacity, sizeof(wchar_t)));
    // Out of memory ends the program, as an uncaught bad_alloc did.
    if (text == nullptr)
        std::abort();
    LoadLocalizedString(id, text, maxLength + 1);
    SetWindowTextW(window, text);
    std::free(text);
}
