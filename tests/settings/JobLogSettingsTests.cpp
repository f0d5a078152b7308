#include <doctest/doctest.h>

#include <string>

#include "settings/JobLogSettings.h"
#include "support/Files.h"
#include "support/Text.h"

namespace {
// The flags in the file's order, for comparing whole sets.
std::string Describe(const JobLogFlags& f)
{
    char text[256];
    wsprintfA(text, "Start=%d Complete=%d Pause=%d Resume=%d Error=%d JobName=%d Date=%d Time=%d "
                    "Duration=%d User=%d SerialNum=%d",
              f.LogStart, f.LogComplete, f.LogPause, f.LogResume, f.LogError, f.LogJobName, f.LogDate,
              f.LogTime, f.LogDuration, f.LogUser, f.LogSerialNum);
    return text;
}

const char* const Defaults =
    "Start=1 Complete=1 Pause=0 Resume=0 Error=1 JobName=1 Date=1 Time=1 Duration=1 User=1 SerialNum=0";
}

TEST_CASE("loading the job-logging flags")
{
    struct Row {
        const char* name;
        unsigned folders;
        std::string file;  // empty = no file
        const char* expected;
    };
    const Row rows[] = {
        {"no folder", NoFolders, "", Defaults},
        {"no file", JobLogFolderExists, "", Defaults},
        {"other keys only", JobLogFolderExists, "[Settings]\r\nLogFile=x\r\n", Defaults},
        {"a stored 7 stays 7", JobLogFolderExists, "[Settings]\r\nLogPause=7\r\n",
         "Start=1 Complete=1 Pause=7 Resume=0 Error=1 JobName=1 Date=1 Time=1 Duration=1 User=1 SerialNum=0"},
        {"every key, any case", JobLogFolderExists,
         "[SETTINGS]\r\nlogstart=0\r\nLogComplete=0\r\nLogPause=1\r\nLogResume=1\r\nLogError=0\r\n"
         "LogJobName=0\r\nLogDate=0\r\nLogTime=0\r\nLogDuration=0\r\nLogUser=0\r\nLogSerialNum=1\r\n",
         "Start=0 Complete=0 Pause=1 Resume=1 Error=0 JobName=0 Date=0 Time=0 Duration=0 User=0 SerialNum=1"},
        {"negative values", JobLogFolderExists, "[Settings]\r\nLogUser=-3\r\n",
         "Start=1 Complete=1 Pause=0 Resume=0 Error=1 JobName=1 Date=1 Time=1 Duration=1 User=-3 SerialNum=0"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        ResetSettingsFolders(row.folders);
        if (!row.file.empty())
            WriteFileBytes(JobLogIni(), row.file);
        JobLogFlags flags;
        flags.LogStart = 55;  // every field must be set by the load
        flags.LogSerialNum = 55;
        JobLogSettings::LoadJobLogFlags(flags);
        CHECK(Describe(flags) == row.expected);
    }
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("saving writes all eleven keys in their order as signed decimals")
{
    ResetSettingsFolders(JobLogFolderExists);
    JobLogFlags flags;
    flags.LogPause = -1;
    flags.LogSerialNum = 1;
    JobLogSettings::SaveJobLogFlags(flags);
    CHECK(ReadFileBytes(JobLogIni()) ==
          "[Settings]\r\n"
          "LogStart=1\r\nLogComplete=1\r\nLogPause=-1\r\nLogResume=0\r\nLogError=1\r\n"
          "LogJobName=1\r\nLogDate=1\r\nLogTime=1\r\nLogDuration=1\r\nLogUser=1\r\nLogSerialNum=1\r\n");

    // A second save writes every key again, also those equal to their defaults.
    WriteFileBytes(JobLogIni(), "[Other]\r\nA=1\r\n[Settings]\r\nLogStart=0\r\nLogPath=D:\\logs\r\n");
    JobLogSettings::SaveJobLogFlags(JobLogFlags());
    JobLogFlags reloaded;
    reloaded.LogStart = 0;
    JobLogSettings::LoadJobLogFlags(reloaded);
    CHECK(Describe(reloaded) == Defaults);
    CHECK(ProfileText(JobLogIni(), L"Other", L"A") == L"1");
    CHECK(ProfileText(JobLogIni(), L"Settings", L"LogPath") == L"D:\\logs");
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the job-logging folder is never created")
{
    ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists);
    JobLogSettings::SaveJobLogFlags(JobLogFlags());
    CHECK_FALSE(FolderExists(JobLogFolder()));
    CHECK(JobLogSettings::GetJobLogFilePath() == JobLogIni().c_str());
    ResetSettingsFolders(NoFolders);
}
