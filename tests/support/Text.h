#pragma once

#include <windows.h>

#include <doctest/doctest.h>

#include <string>

inline std::string ToUtf8(const std::wstring& text)
{
    std::string result(text.size() * 3, '\0');
    result.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0],
                                      static_cast<int>(result.size()), nullptr, nullptr));
    return result;
}

inline std::wstring FromUtf8(const std::string& text)
{
    std::wstring result(text.size(), L'\0');
    result.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0],
                                      static_cast<int>(result.size())));
    return result;
}

template <>
struct doctest::StringMaker<std::wstring> {
    static String convert(const std::wstring& value) { return ("L\"" + ToUtf8(value) + "\"").c_str(); }
};
