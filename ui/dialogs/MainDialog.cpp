#include "ui/dialogs/MainDialog.h"

#include <cwchar>
#include <initializer_list>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "settings/SettingsStore.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/PanelNotifier.h"
#include "ui/framework/Colors.h"
#include "ui/framework/SharedBrushes.h"

namespace {
const wchar_t TitleSuffix[] = L" 1.7";
// The panel is another program and may hang: Ok waits for it no longer.
const DWORD PanelWaitMs = 5000;
// English whatever the language, like the unsupported-system message.
const wchar_t SaveFailedText[] = L"Your settings could not be saved to these files:";
const wchar_t SaveFailedCaption[] = L"Cannot Save Settings";

// Texts are cut at these lengths.
const int ShortBound = 32;
const int LabelBound = 64;
const int LongLabelBound = 128;
const int HelpBound = 1024;

// clang-format off
const int RestrictionIds[MainDialog::RestrictionCount] = {
    IDC_HIDE_SYSTEM_TAB, IDC_FORBID_QUEUE_ACCESS, IDC_DISABLE_FIXTURE_TYPE, IDC_HIDE_SETTINGS_BUTTON,
};
const UINT RestrictionStrings[MainDialog::RestrictionCount] = {
    IDS_HIDE_SYSTEM_TAB, IDS_FORBID_QUEUE_ACCESS, IDS_DISABLE_FIXTURE_TYPE, IDS_HIDE_SETTINGS_BUTTON,
};
const DWORD RestrictionBits[MainDialog::RestrictionCount] = {1, 2, 4, 8};
// A stored mask of 0 with Retail Mode switched on means every restriction.
const DWORD AllRestrictions = 15;

const int LogBoxIds[MainDialog::LogFlagCount] = {
    IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE,    IDC_LOG_RESUME, IDC_LOG_ERROR,        IDC_LOG_DATE,
    IDC_LOG_TIME,  IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER,   IDC_LOG_SERIAL_NUMBER,
};
const UINT LogStrings[MainDialog::LogFlagCount] = {
    IDS_LOG_START, IDS_LOG_COMPLETE, IDS_LOG_PAUSE,    IDS_LOG_RESUME, IDS_LOG_ERROR,        IDS_LOG_DATE,
    IDS_LOG_TIME,  IDS_LOG_JOB_NAME, IDS_LOG_DURATION, IDS_LOG_USER,   IDS_LOG_SERIAL_NUMBER,
};
int JobLogFlags::* const LogFlags[MainDialog::LogFlagCount] = {
    &JobLogFlags::LogStart,    &JobLogFlags::LogComplete, &JobLogFlags::LogPause,
    &JobLogFlags::LogResume,   &JobLogFlags::LogError,    &JobLogFlags::LogDate,
    &JobLogFlags::LogTime,     &JobLogFlags::LogJobName,  &JobLogFlags::LogDuration,
    &JobLogFlags::LogUser,     &JobLogFlags::LogSerialNum,
};
// clang-format on

// The dialog's control `id`, given the text of `stringId` cut at `bound`.
HWND LoadControl(HWND dialog, int id, UINT stringId, int bound)
{
    HWND control = GetDlgItem(dialog, id);
    SetTextFromStringId(control, stringId, bound);
    return control;
}

void UseFont(HWND control, HFONT font) { SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

// Takes the box's state (0 or 1) into `value`; true when that changed it.
// Any stored value other than 0 and 1 counts as changed.
bool TakeBoxState(HWND box, DWORD& value)
{
    const DWORD state = static_cast<DWORD>(MainDialog::IsBoxChecked(box));
    const bool changed = value != state;
    value = state;
    return changed;
}

// Adds `path` and the system's reason to `list` when its write failed. A
// missing folder belongs to a product that is not installed: nothing to say.
void AddSaveFailure(WideString& list, const WideString& path, DWORD error)
{
    if (error == 0 || path.empty())
        return;
    wchar_t folder[MAX_PATH];
    lstrcpynW(folder, path.c_str(), MAX_PATH);
    if (wchar_t* slash = std::wcsrchr(folder, L'\\'))
        *slash = L'\0';
    const DWORD attributes = GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    wchar_t* reason = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    wchar_t code[32];
    wsprintfW(code, L"Error %lu.", error);
    wchar_t* text = reason != nullptr ? reason : code;
    for (std::size_t end = std::wcslen(text); end > 0 && (text[end - 1] == L'\n' || text[end - 1] == L'\r'); --end)
        text[end - 1] = L'\0';
    list += L"\r\n\r\n";
    list += path.c_str();
    list += L"\r\n";
    list += text;
    LocalFree(reason);
}
}

INT_PTR MainDialog::OnInitDialog(WPARAM, LPARAM)
{
    titleBar.Attach(window, IDC_TITLE_BAR);
    titleBar.UseSkinSlices();
    titleBar.SetCaption(IDS_SETTINGS_TITLE, TitleSuffix);
    // The template's title is empty and the dialog shows no caption bar;
    // the taskbar and Alt+Tab list the window by this text.
    SetWindowTextW(window, titleBar.caption.c_str());

    okButton.Attach(window, IDOK);
    okButton.SetCaption(IDS_OK, L"");
    cancelButton.Attach(window, IDCANCEL);
    cancelButton.SetCaption(IDS_CANCEL, L"");

    HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));

    {
        SettingsStore store;
        store.ReadWizardOnly(WizardOnly);
        store.ReadWizardOnlyPlus(WizardOnlyPlus);
        store.ReadRetailMode(RetailMode);
        store.ReadPollForFiles(PollForFiles);
        store.ReadDeleteAfterRun(DeleteAfterRun);
        store.ReadUserSwitching(UserSwitching);
    }

    manualRdmBox = LoadControl(window, IDC_MANUAL_RDM, IDS_MANUAL_RDM, LongLabelBound);
    SetBoxChecked(manualRdmBox, WizardOnly == 0);
    UseFont(manualRdmBox, systemFont);
    manualRdmText = LoadControl(window, IDC_MANUAL_RDM_HELP, IDS_MANUAL_RDM_HELP, HelpBound);
    manualOtherBox = LoadControl(window, IDC_MANUAL_OTHER, IDS_MANUAL_OTHER, LongLabelBound);
    SetBoxChecked(manualOtherBox, WizardOnlyPlus == 0);
    UseFont(manualOtherBox, systemFont);
    manualOtherText = LoadControl(window, IDC_MANUAL_OTHER_HELP, IDS_MANUAL_OTHER_HELP, HelpBound);
    retailModeBox = LoadControl(window, IDC_RETAIL_MODE, IDS_RETAIL_MODE, ShortBound);
    SetBoxChecked(retailModeBox, RetailMode != 0);
    UseFont(retailModeBox, systemFont);
    // The restriction boxes get their states from the retail rule below.
    for (int i = 0; i < RestrictionCount; ++i)
        restrictionBoxes[i] = LoadControl(window, RestrictionIds[i], RestrictionStrings[i], LabelBound);
    deleteAfterRunBox = LoadControl(window, IDC_DELETE_AFTER_RUN, IDS_DELETE_AFTER_RUN, LongLabelBound);
    SetBoxChecked(deleteAfterRunBox, DeleteAfterRun != 0);
    UseFont(deleteAfterRunBox, systemFont);
    pollForFilesBox = LoadControl(window, IDC_POLL_FOR_FILES, IDS_POLL_FOR_FILES, LabelBound);
    SetBoxChecked(pollForFilesBox, PollForFiles != 0);
    UseFont(pollForFilesBox, systemFont);
    pollForFilesText = LoadControl(window, IDC_POLL_FOR_FILES_HELP, IDS_POLL_FOR_FILES_HELP, LongLabelBound);
    userSwitchingBox = LoadControl(window, IDC_USER_SWITCHING, IDS_USER_SWITCHING, LongLabelBound);
    SetBoxChecked(userSwitchingBox, UserSwitching != 0);
    UseFont(userSwitchingBox, systemFont);
    userSwitchingText = LoadControl(window, IDC_USER_SWITCHING_HELP, IDS_USER_SWITCHING_HELP, HelpBound);

    SettingsStore().ReadAlwaysHomeZ(AlwaysHomeZ);
    homeZBox = LoadControl(window, IDC_HOME_Z_AXIS, IDS_HOME_Z_AXIS, LabelBound);
    SetBoxChecked(homeZBox, AlwaysHomeZ != 0);
    UseFont(homeZBox, systemFont);
    homeZText = LoadControl(window, IDC_HOME_Z_AXIS_HELP, IDS_HOME_Z_AXIS_HELP, HelpBound);

    SettingsStore().ReadJobLogging(JobLogging);
    JobLogSettings::LoadJobLogFlags(logFlags);

    dataloggingBox = LoadControl(window, IDC_DATALOGGING, IDS_DATALOGGING, LongLabelBound);
    SetBoxChecked(dataloggingBox, JobLogging != 0);
    UseFont(dataloggingBox, systemFont);
    for (int i = 0; i < LogFlagCount; ++i) {
        logBoxes[i] = LoadControl(window, LogBoxIds[i], LogStrings[i], LabelBound);
        SetBoxChecked(logBoxes[i], logFlags.*LogFlags[i] != 0);
    }

    ApplyRetailRule();
    ApplyDataloggingRule();

    titleBar.LimitToSlices();
    frame.Layout(window, titleBar);
    // The template gives the title bar and the strips tab stops, but they only
    // draw the skin and never show focus: without them the dialog manager's
    // first focus lands on the first check box and Tab meets only what a
    // person can see and use.
    for (HWND decoration : {titleBar.window, frame.leftStrip, frame.bottomStrip, frame.rightStrip})
        SetWindowLongPtrW(decoration, GWL_STYLE, GetWindowLongPtrW(decoration, GWL_STYLE) & ~WS_TABSTOP);
    return 1;
}

int MainDialog::IsBoxChecked(HWND box)
{
    return IsDlgButtonChecked(GetParent(box), GetDlgCtrlID(box)) == BST_CHECKED ? 1 : 0;
}

void MainDialog::SetBoxChecked(HWND box, int value)
{
    CheckDlgButton(GetParent(box), GetDlgCtrlID(box), value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void MainDialog::ApplyRetailRule()
{
    if (IsBoxChecked(retailModeBox)) {
        SetBoxChecked(manualRdmBox, 0);
        EnableWindow(manualRdmBox, FALSE);
        EnableWindow(manualRdmText, FALSE);
        SetBoxChecked(manualOtherBox, 0);
        EnableWindow(manualOtherBox, FALSE);
        EnableWindow(manualOtherText, FALSE);
        if (RetailMode == 0)
            RetailMode = AllRestrictions;
        // Always from the stored mask, never from what was clicked since.
        for (int i = 0; i < RestrictionCount; ++i) {
            EnableWindow(restrictionBoxes[i], TRUE);
            SetBoxChecked(restrictionBoxes[i], (RetailMode & RestrictionBits[i]) != 0);
        }
        return;
    }
    // The manual-control boxes stay as they are: unchecked after a switch-on.
    EnableWindow(manualRdmBox, TRUE);
    EnableWindow(manualOtherBox, TRUE);
    EnableWindow(manualRdmText, TRUE);
    EnableWindow(manualOtherText, TRUE);
    for (HWND box : restrictionBoxes) {
        SetBoxChecked(box, 0);
        EnableWindow(box, FALSE);
    }
}

void MainDialog::ApplyDataloggingRule()
{
    const BOOL enable = IsBoxChecked(dataloggingBox) ? TRUE : FALSE;
    for (HWND box : logBoxes)
        EnableWindow(box, enable);
}

INT_PTR MainDialog::OnCommand(WPARAM wParam, LPARAM)
{
    const WORD id = LOWORD(wParam);
    switch (id) {
    case IDOK:
    case IDCANCEL:
        PostMessageW(window, WM_CLOSE, id, 0);
        return 1;
    case IDC_MANUAL_RDM:
    case IDC_RETAIL_MODE:
    case IDC_MANUAL_OTHER:
        ApplyRetailRule();
        return 1;
    case IDC_DATALOGGING:
        ApplyDataloggingRule();
        return 1;
    case IDC_LOG_START:
    case IDC_LOG_COMPLETE:
    case IDC_LOG_PAUSE:
    case IDC_LOG_RESUME:
    case IDC_LOG_ERROR:
    case IDC_LOG_DATE:
    case IDC_LOG_TIME:
    case IDC_LOG_JOB_NAME:
    case IDC_LOG_USER:
    case IDC_LOG_SERIAL_NUMBER:
    case IDC_LOG_DURATION:
        return 1;
    default:
        return 0;
    }
}

INT_PTR MainDialog::OnClose(WPARAM result)
{
    if (result == IDOK) {
        DWORD okTime = GetTickCount();
        SettingsStore store;
        WizardOnly = IsBoxChecked(manualRdmBox) ? 0 : 1;
        store.WriteWizardOnly(WizardOnly);
        WizardOnlyPlus = IsBoxChecked(manualOtherBox) ? 0 : 1;
        store.WriteWizardOnlyPlus(WizardOnlyPlus);
        RetailMode = 0;
        if (IsBoxChecked(retailModeBox)) {
            for (int i = 0; i < RestrictionCount; ++i)
                if (IsBoxChecked(restrictionBoxes[i]))
                    RetailMode += RestrictionBits[i];
        }
        store.WriteRetailMode(RetailMode);

        // Changes to these make the control panel restart.
        bool panelCloseNeeded = TakeBoxState(pollForFilesBox, PollForFiles);
        store.WritePollForFiles(PollForFiles);
        TakeBoxState(deleteAfterRunBox, DeleteAfterRun);
        store.WriteDeleteAfterRun(DeleteAfterRun);
        panelCloseNeeded |= TakeBoxState(userSwitchingBox, UserSwitching);
        store.WriteUserSwitching(UserSwitching);
        panelCloseNeeded |= TakeBoxState(homeZBox, AlwaysHomeZ);
        store.WriteAlwaysHomeZ(AlwaysHomeZ);

        for (int i = 0; i < LogFlagCount; ++i)
            if (logFlags.*LogFlags[i] != IsBoxChecked(logBoxes[i]))
                panelCloseNeeded = true;
        panelCloseNeeded |= TakeBoxState(dataloggingBox, JobLogging);
        store.WriteJobLogging(JobLogging);
        // Disabled log boxes keep their states, and those are saved too.
        for (int i = 0; i < LogFlagCount; ++i)
            logFlags.*LogFlags[i] = IsBoxChecked(logBoxes[i]);
        const DWORD jobLogError = JobLogSettings::SaveJobLogFlags(logFlags);

        WideString failures;
        AddSaveFailure(failures, SettingsStore::PrimaryFile(), store.primaryError);
        AddSaveFailure(failures, SettingsStore::FallbackFile(), store.fallbackError);
        AddSaveFailure(failures, JobLogSettings::GetJobLogFilePath(), jobLogError);
        if (!failures.empty()) {
            ShowMessageBox(window, (WideString(SaveFailedText) + failures.c_str()).c_str(), SaveFailedCaption,
                           MB_OK | MB_ICONHAND);
            // The time the user takes to read is no wait for the panel.
            okTime = GetTickCount();
        }
        // Out of sight while the panel takes its time.
        ShowWindow(window, SW_HIDE);
        NotifyPanel(panelCloseNeeded, okTime + PanelWaitMs);
    }
    EndDialog(window, static_cast<INT_PTR>(result));
    return 0;
}

INT_PTR MainDialog::OnCtlColorDlg(HDC, HWND) { return reinterpret_cast<INT_PTR>(LightBrush); }

// Texts, check boxes and group boxes ask here; they get the dialog's grey.
INT_PTR MainDialog::OnCtlColorStatic(HDC dc, HWND)
{
    SetBkColor(dc, LightBackgroundColor);
    return reinterpret_cast<INT_PTR>(LightBrush);
}

INT_PTR MainDialog::OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item)
{
    if (controlId == IDC_TITLE_BAR) {
        titleBar.DrawItem(item);
        return 1;
    }
    return frame.DrawItem(controlId, item);
}

void RunSettingsDialog()
{
    MainDialog dialog;
    RunDialog(dialog, MainWindow, IDD_SETTINGS);
}
