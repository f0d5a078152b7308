#include "app/Startup.h"

#include <commctrl.h>

#include "app/Language.h"
#include "ui/dialogs/MainDialog.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/framework/SharedBrushes.h"

HWND MainWindow = nullptr;

bool IsSupportedVersion(const OSVERSIONINFOW& version)
{
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return false;
    return (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1) || version.dwMajorVersion == 6;
}

// Japanese (6) and Portugues (8) keep the base 0.
void AssignLanguageBases()
{
    SetLanguageBase(0, 20000);  // English
    SetLanguageBase(1, 22000);  // Espanol
    SetLanguageBase(2, 24000);  // Francais
    SetLanguageBase(4, 26000);  // Deutsch
    SetLanguageBase(3, 28000);  // Nederland
    SetLanguageBase(5, 30000);  // Italiano
    SetLanguageBase(7, 32000);  // Polski
}

int RunApplication(HINSTANCE instance)
{
    InitCommonControls();
    SharedBrushes brushes;

    SelectLanguage(instance);
    AssignLanguageBases();

    // The plain record, not the extended one; a failed query leaves platform
    // id 0, which counts as unsupported.
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    static_assert(sizeof version == 276, "the plain version record");
    GetVersionExW(&version);

    if (IsSupportedVersion(version)) {
        RunSettingsDialog();
        return 0;
    }
    ShowMessageBox(MainWindow, L"The KRV Engraver Application requires Windows XP or higher.", L"Cannot Install",
                   MB_OK | MB_ICONHAND);
    return -1;
}
