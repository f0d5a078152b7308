#include <doctest/doctest.h>

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
// Each control that gets a text: its string, where the text is cut, and whether it takes the system font.
const struct {
    int id;
    UINT stringId;
    int bound;
    bool systemFont;
} Controls[] = {
    {IDC_MANUAL_RDM, IDS_MANUAL_RDM, 128, true},         {IDC_MANUAL_OTHER, IDS_MANUAL_OTHER, 128, true},
    {IDC_DELETE_AFTER_RUN, IDS_DELETE_AFTER_RUN, 128, true}, {IDC_USER_SWITCHING, IDS_USER_SWITCHING, 128, true},
    {IDC_DATALOGGING, IDS_DATALOGGING, 128, true},       {IDC_POLL_FOR_FILES_HELP, IDS_POLL_FOR_FILES_HELP, 128, false},
    {IDC_MANUAL_RDM_HELP, IDS_MANUAL_RDM_HELP, 1024, false}, {IDC_MANUAL_OTHER_HELP, IDS_MANUAL_OTHER_HELP, 1024, false},
    {IDC_USER_SWITCHING_HELP, IDS_USER_SWITCHING_HELP, 1024, false},
    {IDC_HOME_Z_AXIS_HELP, IDS_HOME_Z_AXIS_HELP, 1024, false},
    {IDC_POLL_FOR_FILES, IDS_POLL_FOR_FILES, 64, true},   {IDC_HOME_Z_AXIS, IDS_HOME_Z_AXIS, 64, true},
    {IDC_HIDE_SYSTEM_TAB, IDS_HIDE_SYSTEM_TAB, 64, false}, {IDC_FORBID_QUEUE_ACCESS, IDS_FORBID_QUEUE_ACCESS, 64, false},
    {IDC_DISABLE_FIXTURE_TYPE, IDS_DISABLE_FIXTURE_TYPE, 64, false},
    {IDC_HIDE_SETTINGS_BUTTON, IDS_HIDE_SETTINGS_BUTTON, 64, false},
    {IDC_LOG_START, IDS_LOG_START, 64, false},           {IDC_LOG_COMPLETE, IDS_LOG_COMPLETE, 64, false},
    {IDC_LOG_PAUSE, IDS_LOG_PAUSE, 64, false},           {IDC_LOG_RESUME, IDS_LOG_RESUME, 64, false},
    {IDC_LOG_ERROR, IDS_LOG_ERROR, 64, false},           {IDC_LOG_DATE, IDS_LOG_DATE, 64, false},
    {IDC_LOG_TIME, IDS_LOG_TIME, 64, false},             {IDC_LOG_JOB_NAME, IDS_LOG_JOB_NAME, 64, false},
    {IDC_LOG_DURATION, IDS_LOG_DURATION, 64, false},     {IDC_LOG_USER, IDS_LOG_USER, 64, false},
    {IDC_LOG_SERIAL_NUMBER, IDS_LOG_SERIAL_NUMBER, 64, false}, {IDC_RETAIL_MODE, IDS_RETAIL_MODE, 32, true},
    {IDOK, IDS_OK, 32, false},                           {IDCANCEL, IDS_CANCEL, 32, false},
};

std::wstring FullText(UINT id)
{
    wchar_t text[4096];
    LoadLocalizedString(id, text, 4096);
    return text;
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

bool checked = false;

// A thread timer, run by the dialog's own message loop once the dialog shows.
void CALLBACK CheckAndCancel(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindProcessDialog(GetCurrentProcessId());
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    checked = true;
    const HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    CHECK(FontOf(dialog) != systemFont);
    // Light grey behind the dialog and every text.
    HDC dc = GetDC(dialog);
    for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC}) {
        LOGBRUSH brush = {};
        SetBkColor(dc, 0);
        GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(dialog, message, WPARAM(dc), 0)), sizeof brush, &brush);
        CHECK(brush.lbColor == 0xE2E2E2);
        CHECK(GetBkColor(dc) == (message == WM_CTLCOLORDLG ? 0 : 0xE2E2E2));
    }
    ReleaseDC(dialog, dc);
    for (const auto& row : Controls) {
        CAPTURE(row.id);
        CHECK(WindowText(GetDlgItem(dialog, row.id)) == FullText(row.stringId).substr(0, size_t(row.bound)));
        CHECK(FontOf(GetDlgItem(dialog, row.id)) == (row.systemFont ? systemFont : FontOf(dialog)));
    }
    // The bar's window text takes 32 characters and the version; its drawn caption, and so the window's title, 127.
    const std::wstring title = FullText(IDS_SETTINGS_TITLE);
    CHECK(WindowText(GetDlgItem(dialog, IDC_TITLE_BAR)) == title.substr(0, 32) + L" 1.7");
    CHECK(WindowText(dialog) == title.substr(0, 127) + L" 1.7");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}
}

TEST_CASE("texts are cut at each control's bound, and the single options' boxes take the system font")
{
    // The test resources give Italiano (Lang 5) texts of over 1100 characters.
    ResetSettingsFolders(PrimaryFolderExists);
    WriteFileBytes(PrimaryIni(), "[SETTINGS]\r\nLang=5\r\n");
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    {
        SharedBrushes brushes;
        SetTimer(nullptr, 0, 100, CheckAndCancel);
        RunSettingsDialog();
    }
    CHECK(checked);
    ResetSettingsFolders(NoFolders);
}
