#include <doctest/doctest.h>

#include <map>
#include <string>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Text.h"
#include "ui/dialogs/MainDialog.h"
#include "ui/framework/SharedBrushes.h"

namespace {
// The controls that get a text, with the string, where it is cut and whether
// the control takes the system font.
struct ControlRow {
    int id;
    UINT stringId;
    int bound;
    bool systemFont;
};
const ControlRow Controls[] = {
    // id                        string                    bound  system font
    {IDC_MANUAL_RDM,             IDS_MANUAL_RDM,           128,   true},
    {IDC_MANUAL_RDM_HELP,        IDS_MANUAL_RDM_HELP,      1024,  false},
    {IDC_MANUAL_OTHER,           IDS_MANUAL_OTHER,         128,   true},
    {IDC_MANUAL_OTHER_HELP,      IDS_MANUAL_OTHER_HELP,    1024,  false},
    {IDC_RETAIL_MODE,            IDS_RETAIL_MODE,          32,    true},
    {IDC_HIDE_SYSTEM_TAB,        IDS_HIDE_SYSTEM_TAB,      64,    false},
    {IDC_FORBID_QUEUE_ACCESS,    IDS_FORBID_QUEUE_ACCESS,  64,    false},
    {IDC_DISABLE_FIXTURE_TYPE,   IDS_DISABLE_FIXTURE_TYPE, 64,    false},
    {IDC_HIDE_SETTINGS_BUTTON,   IDS_HIDE_SETTINGS_BUTTON, 64,    false},
    {IDC_DELETE_AFTER_RUN,       IDS_DELETE_AFTER_RUN,     128,   true},
    {IDC_POLL_FOR_FILES,         IDS_POLL_FOR_FILES,       64,    true},
    {IDC_POLL_FOR_FILES_HELP,    IDS_POLL_FOR_FILES_HELP,  128,   false},
    {IDC_USER_SWITCHING,         IDS_USER_SWITCHING,       128,   true},
    {IDC_USER_SWITCHING_HELP,    IDS_USER_SWITCHING_HELP,  1024,  false},
    {IDC_HOME_Z_AXIS,            IDS_HOME_Z_AXIS,          64,    true},
    {IDC_HOME_Z_AXIS_HELP,       IDS_HOME_Z_AXIS_HELP,     1024,  false},
    {IDC_DATALOGGING,            IDS_DATALOGGING,          128,   true},
    {IDC_LOG_START,              IDS_LOG_START,            64,    false},
    {IDC_LOG_COMPLETE,           IDS_LOG_COMPLETE,         64,    false},
    {IDC_LOG_PAUSE,              IDS_LOG_PAUSE,            64,    false},
    {IDC_LOG_RESUME,             IDS_LOG_RESUME,           64,    false},
    {IDC_LOG_ERROR,              IDS_LOG_ERROR,            64,    false},
    {IDC_LOG_DATE,               IDS_LOG_DATE,             64,    false},
    {IDC_LOG_TIME,               IDS_LOG_TIME,             64,    false},
    {IDC_LOG_JOB_NAME,           IDS_LOG_JOB_NAME,         64,    false},
    {IDC_LOG_DURATION,           IDS_LOG_DURATION,         64,    false},
    {IDC_LOG_USER,               IDS_LOG_USER,             64,    false},
    {IDC_LOG_SERIAL_NUMBER,      IDS_LOG_SERIAL_NUMBER,    64,    false},
    // Bound by the skinned controls' window text.
    {IDOK,                       IDS_OK,                   32,    false},
    {IDCANCEL,                   IDS_CANCEL,               32,    false},
};

// What the dialog showed, read while it was open.
struct Snapshot {
    std::wstring title;
    HFONT dialogFont = nullptr;
    std::map<int, std::wstring> texts;
    std::map<int, HFONT> fonts;
};

struct Inspection {
    DWORD dialogThread;
    Snapshot snapshot;
    bool found = false;
};

BOOL CALLBACK MatchVisibleDialog(HWND window, LPARAM param)
{
    if (IsWindowVisible(window) && ClassName(window) == L"#32770") {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

HFONT FontOf(HWND window)
{
    DWORD_PTR font = 0;
    SendMessageTimeoutW(window, WM_GETFONT, 0, 0, SMTO_NORMAL, 5000, &font);
    return reinterpret_cast<HFONT>(font);
}

// Runs beside the modal loop: reads the dialog, then cancels it.
DWORD WINAPI Inspect(void* param)
{
    Inspection* inspection = static_cast<Inspection*>(param);
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && dialog == nullptr; ++i) {
        EnumThreadWindows(inspection->dialogThread, MatchVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr)
            Sleep(50);
    }
    if (dialog == nullptr)
        return 0;
    inspection->found = true;
    Snapshot& snapshot = inspection->snapshot;
    snapshot.title = WindowText(dialog);
    snapshot.dialogFont = FontOf(dialog);
    for (const ControlRow& row : Controls) {
        snapshot.texts[row.id] = WindowText(GetDlgItem(dialog, row.id));
        snapshot.fonts[row.id] = FontOf(GetDlgItem(dialog, row.id));
    }
    snapshot.texts[IDC_TITLE_BAR] = WindowText(GetDlgItem(dialog, IDC_TITLE_BAR));
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

// Start-up's language selection with `lang` in the primary file (none: English).
void UseLanguage(const char* lang)
{
    ResetSettingsFolders(PrimaryFolderExists);
    if (lang != nullptr)
        WriteFileBytes(PrimaryIni(), std::string("[SETTINGS]\r\nLang=") + lang + "\r\n");
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
}

// Runs the settings dialog in this process, as start-up does.
Snapshot RunInProcess()
{
    SharedBrushes brushes;
    Inspection inspection{GetCurrentThreadId(), {}};
    HANDLE inspector = CreateThread(nullptr, 0, Inspect, &inspection, 0, nullptr);
    REQUIRE(inspector != nullptr);
    RunSettingsDialog();
    WaitForSingleObject(inspector, 20000);
    CloseHandle(inspector);
    REQUIRE(inspection.found);
    return inspection.snapshot;
}

std::wstring FullText(UINT id)
{
    wchar_t text[4096];
    LoadLocalizedString(id, text, 4096);
    return text;
}
}

TEST_CASE("texts longer than a control takes are cut at the control's bound")
{
    // The test resources give Italiano (Lang 5) texts of over 1100 characters.
    UseLanguage("5");
    const Snapshot shown = RunInProcess();
    for (const ControlRow& row : Controls) {
        CAPTURE(row.id);
        const std::wstring full = FullText(row.stringId);
        REQUIRE(full.size() > 1024);
        CHECK(shown.texts.at(row.id) == full.substr(0, static_cast<size_t>(row.bound)));
    }
    // The bar's window text takes 32 characters and the whole version; the
    // drawn caption, and so the window's own title, 127.
    const std::wstring title = FullText(IDS_SETTINGS_TITLE);
    CHECK(shown.texts.at(IDC_TITLE_BAR) == title.substr(0, 32) + L" 1.7");
    CHECK(shown.title == title.substr(0, 127) + L" 1.7");
    UseLanguage(nullptr);
    ResetSettingsFolders(NoFolders);
}

TEST_CASE("the check boxes of single options use the system font, everything else the dialog's")
{
    UseLanguage(nullptr);
    const Snapshot shown = RunInProcess();
    ResetSettingsFolders(NoFolders);
    const HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    REQUIRE(shown.dialogFont != nullptr);
    REQUIRE(shown.dialogFont != systemFont);
    for (const ControlRow& row : Controls) {
        CAPTURE(row.id);
        CHECK(shown.fonts.at(row.id) == (row.systemFont ? systemFont : shown.dialogFont));
    }
}
