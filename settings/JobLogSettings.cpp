#include "settings/JobLogSettings.h"

#include "settings/SettingsStore.h"

#include <utility>

namespace {
const wchar_t Section[] = L"Settings";

// Without a path there is no file: reads keep their defaults.
int ReadIniInt(const wchar_t* key, int defaultValue, const WideString& filePath)
{
    if (filePath.empty())
        return defaultValue;
    return static_cast<int>(GetPrivateProfileIntW(Section, key, defaultValue, filePath.c_str()));
}
}

bool JobLogSettings::GetJobLogFolder(WideString& folder)
{
    wchar_t appData[MAX_PATH] = {};
    if (!SettingsStore::GetCommonAppDataFolder(appData, MAX_PATH))
        return false;
    folder = WideString(appData) + L"\\VEVEVU";
    return true;
}

WideString JobLogSettings::GetJobLogFilePath()
{
    WideString path;
    if (GetJobLogFolder(path))
        path += L"\\JobInfo.ini";
    return path;
}

BOOL JobLogSettings::WriteIniInt(const wchar_t* section, const wchar_t* key, int value, const WideString& filePath)
{
    if (filePath.empty())
        return FALSE;
    wchar_t text[256];
    wsprintfW(text, L"%d", value);
    return WritePrivateProfileStringW(section, key, text, filePath.c_str());
}

void JobLogSettings::LoadJobLogFlags(JobLogFlags& flags)
{
    const WideString path = GetJobLogFilePath();
    flags.LogStart = ReadIniInt(L"LogStart", 1, path);
    flags.LogComplete = ReadIniInt(L"LogComplete", 1, path);
    flags.LogPause = ReadIniInt(L"LogPause", 0, path);
    flags.LogResume = ReadIniInt(L"LogResume", 0, path);
    flags.LogError = ReadIniInt(L"LogError", 1, path);
    flags.LogJobName = ReadIniInt(L"LogJobName", 1, path);
    flags.LogDate = ReadIniInt(L"LogDate", 1, path);
    flags.LogTime = ReadIniInt(L"LogTime", 1, path);
    flags.LogDuration = ReadIniInt(L"LogDuration", 1, path);
    flags.LogUser = ReadIniInt(L"LogUser", 1, path);
    flags.LogSerialNum = ReadIniInt(L"LogSerialNum", 0, path);
}

DWORD JobLogSettings::SaveJobLogFlags(const JobLogFlags& flags)
{
    const WideString path = GetJobLogFilePath();
    // No application-data folder, no file: nothing failed, and the writes
    // would only report whatever error the last call left behind.
    if (path.empty())
        return 0;
    // clang-format off
    const std::pair<const wchar_t*, int> values[] = {
        {L"LogStart", flags.LogStart},
        {L"LogComplete", flags.LogComplete},
        {L"LogPause", flags.LogPause},
        {L"LogResume", flags.LogResume},
        {L"LogError", flags.LogError},
        {L"LogJobName", flags.LogJobName},
        {L"LogDate", flags.LogDate},
        {L"LogTime", flags.LogTime},
        {L"LogDuration", flags.LogDuration},
        {L"LogUser", flags.LogUser},
        {L"LogSerialNum", flags.LogSerialNum},
    };
    // clang-format on
    DWORD error = 0;
    for (const auto& value : values)
        if (!WriteIniInt(Section, value.first, value.second, path) && error == 0)
            error = LastWriteError();
    return error;
}
