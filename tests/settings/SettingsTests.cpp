#include <doctest/doctest.h>

#include <utility>

#include "settings/SettingsStore.h"
#include "support/Program.h"

// Each key with a value of its own, so that a key read as another shows: in the settings dialog's tests many keys
// hold the same value.
TEST_CASE("each setting from its own key: the primary's value unless it has none or the sentinel, else the fallback's, "
          "else the caller's default")
{
    ResetSettingsFolders(PrimaryFolderExists | FallbackFolderExists);
    WriteFileBytes(PrimaryIni(), "[settings]\r\nWizardOnly=100\r\nWizardOnly++=1515870810\r\nUserSwitching=103\r\n"
                                 "JobLogging=1515870810\r\nDeleteAfterRun=106\r\nPollForFiles=1515870810\r\n");
    WriteFileBytes(FallbackIni(), "[settings]\r\nWizardOnly=200\r\nWizardOnly++=201\r\nRetailMode=202\r\n"
                                  "JobLogging=204\r\nAlwaysHomeZ=205\r\nDeleteAfterRun=206\r\n");
    // clang-format off
    const std::pair<void (SettingsStore::*)(DWORD&), DWORD> reads[] = {
        {&SettingsStore::ReadWizardOnly, 100}, {&SettingsStore::ReadWizardOnlyPlus, 201},
        {&SettingsStore::ReadRetailMode, 202}, {&SettingsStore::ReadUserSwitching, 103},
        {&SettingsStore::ReadJobLogging, 204}, {&SettingsStore::ReadAlwaysHomeZ, 205},
        {&SettingsStore::ReadDeleteAfterRun, 106}, {&SettingsStore::ReadPollForFiles, 307},
    };
    // clang-format on
    for (const auto& [read, stored] : reads) {
        DWORD value = 307;
        (SettingsStore().*read)(value);
        CHECK(value == stored);
    }
    ResetSettingsFolders(NoFolders);
}
