// Linked into every test program that deletes, renames or locks files under the machine-wide application-data
// folder, which on a real machine holds the engraver software's settings and every other program's: before any
// test runs, the program ends unless it runs under Wine in a prefix that tools/wine-env made and marked.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {
const char* WhyRefused()
{
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr)
        return "this is not Wine (ntdll.dll has no wine_get_version)";
    const char* prefix = std::getenv("WINEPREFIX");  // unset: the user's own default prefix
    if (prefix == nullptr || *prefix == '\0')
        return "WINEPREFIX is not set, so this is Wine's default prefix";
    if (GetFileAttributesW(L"C:\\krv-test-prefix") == INVALID_FILE_ATTRIBUTES)
        return "C:\\krv-test-prefix is missing, so tools/wine-env did not make this Wine prefix";
    return nullptr;
}

// Made before main, so before any test case.
const bool guarded = [] {
    if (const char* why = WhyRefused()) {
        std::fprintf(stderr,
                     "Refused to run: %s. These tests delete and rename the settings under the machine-wide "
                     "application-data folder; run them with tools/test.\n",
                     why);
        std::fflush(stderr);
        std::_Exit(2);
    }
    return true;
}();
}
