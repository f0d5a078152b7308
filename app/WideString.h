#pragma once

#include <cstddef>

// A growable wide string for captions and paths. The C++ library's string
// would bring its exception machinery along and triple the program's size;
// this one aborts when memory runs out, as an uncaught bad_alloc would.
class WideString {
public:
    WideString() = default;
    WideString(const wchar_t* text);
    WideString(const WideString& other);
    WideString& operator=(const WideString& other);
    ~WideString();

    WideString& operator+=(const wchar_t* text);
    friend WideString operator+(WideString left, const wchar_t* right) { return left += right; }

    // Never null: an empty string gives "".
    const wchar_t* c_str() const { return text != nullptr ? text : L""; }
    std::size_t size() const { return length; }
    bool empty() const { return length == 0; }
    void clear();

private:
    void Append(const wchar_t* more, std::size_t count);

    wchar_t* text = nullptr;
    std::size_t length = 0;
};
