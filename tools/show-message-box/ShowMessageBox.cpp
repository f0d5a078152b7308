// Shows one skinned message box, as the program would, for a look at it:
//     show_message_box TYPE CAPTION TEXT
// TYPE is the platform's MB_ value (0x24 is Yes/No with the question icon).
// The exit code is the box's result.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>

#include "app/Language.h"
#include "app/Startup.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/framework/SharedBrushes.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return -1;
    InitCommonControls();
    SharedBrushes brushes;
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    const UINT type = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 0));
    return ShowMessageBox(nullptr, argv[3], argv[2], type);
}
