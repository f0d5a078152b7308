#include "dialogs/SettingsDriver.h"

#include <doctest/doctest.h>

#include "resource.h"
#include "support/Unwritable.h"

void PrepareFiles(const SettingsFiles& files)
{
    ResetSettingsFolders(files.folders);
    if (FileExists(PrimaryIni()) || FileExists(FallbackIni()) || FileExists(JobLogIni())) {
        // Left read-only by a run that died: make it deletable, then start over.
        for (const std::wstring& folder : {PrimaryFolder(), FallbackFolder(), JobLogFolder()})
            ClearImmutableTree(folder);
        ResetSettingsFolders(files.folders);
    }
    if (!files.primary.empty())
        WriteFileBytes(PrimaryIni(), files.primary);
    if (!files.fallback.empty())
        WriteFileBytes(FallbackIni(), files.fallback);
    if (!files.jobLog.empty())
        WriteFileBytes(JobLogIni(), files.jobLog);
}

std::string SharedFile(const std::string& lines)
{
    return "[SETTINGS]\r\n" + lines;
}

std::string JobLogFile(const std::string& lines)
{
    return "[Settings]\r\n" + lines;
}

SettingsRun::SettingsRun()
{
    REQUIRE(program.Started());
    dialog = program.WaitForDialog();
    REQUIRE(dialog != nullptr);
    REQUIRE(GetDlgItem(dialog, IDC_DATALOGGING) != nullptr);
}

void SettingsRun::Click(int id)
{
    REQUIRE_MESSAGE(Enabled(id), "control ", id, " is disabled");
    ClickControl(dialog, id);
}

std::string SettingsRun::States() const
{
    const int groups[][11] = {
        {IDC_MANUAL_RDM, IDC_MANUAL_RDM_HELP, IDC_MANUAL_OTHER, IDC_MANUAL_OTHER_HELP},
        {IDC_RETAIL_MODE},
        {IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_DISABLE_FIXTURE_TYPE, IDC_HIDE_SETTINGS_BUTTON},
        {IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_HOME_Z_AXIS},
        {IDC_DATALOGGING},
        {IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE,
         IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL_NUMBER},
    };
    std::string states;
    for (const auto& group : groups) {
        if (!states.empty())
            states += ' ';
        for (int id : group) {
            if (id == 0)
                break;
            const bool enabled = Enabled(id);
            if (id == IDC_MANUAL_RDM_HELP || id == IDC_MANUAL_OTHER_HELP)
                states += enabled ? 'T' : 't';
            else if (Checked(id))
                states += enabled ? 'X' : 'x';
            else
                states += enabled ? '.' : '-';
        }
    }
    return states;
}

DWORD SettingsRun::EndWith(int buttonId)
{
    ClickControl(dialog, buttonId);
    return program.WaitForExit();
}

DWORD SettingsRun::PressOk() { return EndWith(IDOK); }
DWORD SettingsRun::PressCancel() { return EndWith(IDCANCEL); }

DWORD SettingsRun::PressEscape()
{
    PressKey(dialog, VK_ESCAPE);
    return program.WaitForExit();
}

DWORD SettingsRun::CloseFromSystemMenu()
{
    SystemClose(dialog);
    return program.WaitForExit();
}

DWORD SettingsRun::SendCloseZero()
{
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return program.WaitForExit();
}
