#include "app/WideString.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

WideString::WideString(const wchar_t* more) { *this += more; }

WideString::WideString(const WideString& other) { Append(other.c_str(), other.length); }

WideString& WideString::operator=(const WideString& other)
{
    if (this != &other) {
        clear();
        Append(other.c_str(), other.length);
    }
    return *this;
}

WideString::~WideString() { std::free(text); }

WideString& WideString::operator+=(const wchar_t* more)
{
    if (more != nullptr)
        Append(more, std::wcslen(more));
    return *this;
}

void WideString::clear()
{
    std::free(text);
    text = nullptr;
    length = 0;
}

void WideString::Append(const wchar_t* more, std::size_t count)
{
    if (count == 0)
        return;
    // `more` may lie inside this string, whose block can move.
    const bool inside = text != nullptr && more >= text && more < text + length;
    const std::size_t offset = inside ? static_cast<std::size_t>(more - text) : 0;
    void* grown = std::realloc(text, (length + count + 1) * sizeof(wchar_t));
    if (grown == nullptr)
        std::abort();
    text = static_cast<wchar_t*>(grown);
    std::memcpy(text + length, inside ? text + offset : more, count * sizeof(wchar_t));
    length += count;
    text[length] = L'\0';
}
