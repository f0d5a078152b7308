#pragma once

#include <windows.h>

#include "app/WideString.h"

// The job-event flags; the initial values are those a missing file yields.
struct JobLogFlags {
    int LogStart = 1;
    int LogComplete = 1;
    int LogPause = 0;
    int LogResume = 0;
    int LogError = 1;
    int LogDate = 1;
    int LogTime = 1;
    int LogJobName = 1;
    int LogDuration = 1;
    int LogUser = 1;
    int LogSerialNum = 0;
};

// Section "Settings" of "JobInfo.ini" in its own folder under the
// machine-wide application-data folder. No fallback file.
class JobLogSettings {
public:
    // False leaves `folder` as it was.
    static bool GetJobLogFolder(WideString& folder);
    // Empty when the application-data folder is unavailable.
    static WideString GetJobLogFilePath();
    static BOOL WriteIniInt(const wchar_t* section, const wchar_t* key, int value, const WideString& filePath);

    static void LoadJobLogFlags(JobLogFlags& flags);
    // Returns why the first write failed (LastWriteError), or 0 when all went
    // in or there is no application-data folder to write to.
    static DWORD SaveJobLogFlags(const JobLogFlags& flags);
};
