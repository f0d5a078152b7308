#pragma once

#include <windows.h>

#include <string>

// Starts `path`: 0, or CreateProcessW's error. Wine now and then fails to start a process before any of it runs
// (ERROR_INTERNAL_ERROR: twice in some 40 runs of the x64 suite here), so that error is tried again, twice at most.
inline DWORD StartProgram(const std::wstring& path, PROCESS_INFORMATION& process)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    DWORD error = 0;
    for (int tries = 0; tries < 3; ++tries) {
        if (CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 0;
        if ((error = GetLastError()) != ERROR_INTERNAL_ERROR)
            break;
    }
    return error;
}
