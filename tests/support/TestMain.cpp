#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/Text.h"

// The programs link with -municode, so the entry point is wmain.
int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> utf8;
    for (int i = 0; i < argc; ++i)
        utf8.push_back(ToUtf8(argv[i]));
    std::vector<const char*> args;
    for (const std::string& arg : utf8)
        args.push_back(arg.c_str());

    doctest::Context context(argc, args.data());
    return context.run();
}
