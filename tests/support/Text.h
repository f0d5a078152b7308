#pragma once

#include <doctest/doctest.h>

#include <string>

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

template <>
struct doctest::StringMaker<std::wstring> {
    static String convert(const std::wstring& value) { return ("L\"" + ToUtf8(value) + "\"").c_str(); }
};
