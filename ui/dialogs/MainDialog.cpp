#include "ui/dialogs/MainDialog.h"

#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <utility>

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
// English whatever the language, like the unsupported-system message.
const wchar_t SaveFailedText[] = L"Your settings could not be saved to these files:";
const wchar_t SaveFailedCaption[] = L"Cannot Save Settings";
const wchar_t PanelNotToldText[] =
    L"Your settings were saved, but the control panel could not be told of them. Restart the control panel to use "
    L"the new settings.";
const wchar_t PanelNotToldCaption[] = L"Cannot Notify Control Panel";
// A stored mask of 0 with Retail Mode switched on means every restriction.
const DWORD AllRestrictions = 15;

// How a control shows its option.
enum class Shows {
    Text,       // a help text: no state
    Checked,    // checked when the value is not 0
    Unchecked,  // checked when it is 0: the manual controls are stored as "wizard only"
    Mask,       // checked when the mask is not 0; saved as the bits of the checked restriction boxes
    Bit,        // checked by the retail rule from its bit of the stored mask
};

// Where an option is stored: a key of the shared settings file, whose value
// the dialog holds, or a flag of the job-log file.
struct Stored {
    DWORD MainDialog::*value;
    void (SettingsStore::*read)(DWORD&);
    void (SettingsStore::*write)(DWORD);
    int JobLogFlags::*flag;
};

struct OptionControl {
    int id;
    UINT text;
    int bound;  // the text is cut at this many characters
    bool systemFont;
    Shows shows;
    DWORD bit;  // Shows::Bit: the restriction's bit of the mask
    Stored stored;
    bool restartsPanel;  // a change at Ok asks the panel to close
};

// Every control the dialog fills, in the order it loads and saves their
// options; shared keys are written in this order.
// clang-format off
#define KEY(name)  {&MainDialog::name, &SettingsStore::Read##name, &SettingsStore::Write##name, nullptr}
#define FLAG(name) {nullptr, nullptr, nullptr, &JobLogFlags::name}
#define NONE       {nullptr, nullptr, nullptr, nullptr}
const OptionControl Options[] = {
//   control                   text                      cut at  font   shows            bit  stored                restarts
    {IDC_MANUAL_RDM,           IDS_MANUAL_RDM,            128,  true,  Shows::Unchecked, 0, KEY(WizardOnly),      false},
    {IDC_MANUAL_RDM_HELP,      IDS_MANUAL_RDM_HELP,      1024,  false, Shows::Text,      0, NONE,                 false},
    {IDC_MANUAL_OTHER,         IDS_MANUAL_OTHER,          128,  true,  Shows::Unchecked, 0, KEY(WizardOnlyPlus),  false},
    {IDC_MANUAL_OTHER_HELP,    IDS_MANUAL_OTHER_HELP,    1024,  false, Shows::Text,      0, NONE,                 false},
    {IDC_RETAIL_MODE,          IDS_RETAIL_MODE,            32,  true,  Shows::Mask,      0, KEY(RetailMode),      false},
    {IDC_HIDE_SYSTEM_TAB,      IDS_HIDE_SYSTEM_TAB,        64,  false, Shows::Bit,       1, NONE,                 false},
    {IDC_FORBID_QUEUE_ACCESS,  IDS_FORBID_QUEUE_ACCESS,    64,  false, Shows::Bit,       2, NONE,                 false},
    {IDC_DISABLE_FIXTURE_TYPE, IDS_DISABLE_FIXTURE_TYPE,   64,  false, Shows::Bit,       4, NONE,                 false},
    {IDC_HIDE_SETTINGS_BUTTON, IDS_HIDE_SETTINGS_BUTTON,   64,  false, Shows::Bit,       8, NONE,                 false},
    {IDC_POLL_FOR_FILES,       IDS_POLL_FOR_FILES,         64,  true,  Shows::Checked,   0, KEY(PollForFiles),    true},
    {IDC_POLL_FOR_FILES_HELP,  IDS_POLL_FOR_FILES_HELP,   128,  false, Shows::Text,      0, NONE,                 false},
    {IDC_DELETE_AFTER_RUN,     IDS_DELETE_AFTER_RUN,      128,  true,  Shows::Checked,   0, KEY(DeleteAfterRun),  false},
    {IDC_USER_SWITCHING,       IDS_USER_SWITCHING,        128,  true,  Shows::Checked,   0, KEY(UserSwitching),   true},
    {IDC_USER_SWITCHING_HELP,  IDS_USER_SWITCHING_HELP,  1024,  false, Shows::Text,      0, NONE,                 false},
    {IDC_HOME_Z_AXIS,          IDS_HOME_Z_AXIS,            64,  true,  Shows::Checked,   0, KEY(AlwaysHomeZ),     true},
    {IDC_HOME_Z_AXIS_HELP,     IDS_HOME_Z_AXIS_HELP,     1024,  false, Shows::Text,      0, NONE,                 false},
    {IDC_DATALOGGING,          IDS_DATALOGGING,           128,  true,  Shows::Checked,   0, KEY(JobLogging),      true},
    {IDC_LOG_START,            IDS_LOG_START,              64,  false, Shows::Checked,   0, FLAG(LogStart),       true},
    {IDC_LOG_COMPLETE,         IDS_LOG_COMPLETE,           64,  false, Shows::Checked,   0, FLAG(LogComplete),    true},
    {IDC_LOG_PAUSE,            IDS_LOG_PAUSE,              64,  false, Shows::Checked,   0, FLAG(LogPause),       true},
    {IDC_LOG_RESUME,           IDS_LOG_RESUME,             64,  false, Shows::Checked,   0, FLAG(LogResume),      true},
    {IDC_LOG_ERROR,            IDS_LOG_ERROR,              64,  false, Shows::Checked,   0, FLAG(LogError),       true},
    {IDC_LOG_DATE,             IDS_LOG_DATE,               64,  false, Shows::Checked,   0, FLAG(LogDate),        true},
    {IDC_LOG_TIME,             IDS_LOG_TIME,               64,  false, Shows::Checked,   0, FLAG(LogTime),        true},
    {IDC_LOG_JOB_NAME,         IDS_LOG_JOB_NAME,           64,  false, Shows::Checked,   0, FLAG(LogJobName),     true},
    {IDC_LOG_DURATION,         IDS_LOG_DURATION,           64,  false, Shows::Checked,   0, FLAG(LogDuration),    true},
    {IDC_LOG_USER,             IDS_LOG_USER,               64,  false, Shows::Checked,   0, FLAG(LogUser),        true},
    {IDC_LOG_SERIAL_NUMBER,    IDS_LOG_SERIAL_NUMBER,      64,  false, Shows::Checked,   0, FLAG(LogSerialNum),   true},
};
#undef KEY
#undef FLAG
#undef NONE
// clang-format on
static_assert(std::size(Options) == MainDialog::ControlCount, "a handle for each control");

DWORD Value(const MainDialog& dialog, const OptionControl& row)
{
    return row.stored.value ? dialog.*row.stored.value : static_cast<DWORD>(dialog.logFlags.*row.stored.flag);
}

void SetValue(MainDialog& dialog, const OptionControl& row, DWORD value)
{
    if (row.stored.value)
        dialog.*row.stored.value = value;
    else
        dialog.logFlags.*row.stored.flag = static_cast<int>(value);
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

    LoadOptions();
    FillControls();
    ApplyRetailRule();
    ApplyDataloggingRule();
    titleBar.LimitToSlices();
    frame.Layout(window, titleBar);
    SetUpKeyboard();
    // The focus is set: the dialog manager must not set it again.
    return FALSE;
}

// Every option, in the table's order, then the job-log flags; a missing file
// or key leaves the value as it was.
void MainDialog::LoadOptions()
{
    SettingsStore store;
    for (const OptionControl& row : Options)
        if (row.stored.read != nullptr)
            (store.*row.stored.read)(this->*row.stored.value);
    JobLogSettings::LoadJobLogFlags(logFlags);
}

void MainDialog::FillControls()
{
    const WPARAM systemFont = reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT));
    // A DC from GetDC starts with the system font.
    TEXTMETRICW systemMetrics = {};
    if (HDC dc = GetDC(window)) {
        GetTextMetricsW(dc, &systemMetrics);
        ReleaseDC(window, dc);
    }
    for (int i = 0; i < ControlCount; ++i) {
        const OptionControl& row = Options[i];
        controls[i] = GetDlgItem(window, row.id);
        SetTextFromStringId(controls[i], row.text, row.bound);
        // The restriction boxes get their states from the retail rule.
        if (row.shows != Shows::Text && row.shows != Shows::Bit)
            SetBoxChecked(controls[i], (Value(*this, row) != 0) != (row.shows == Shows::Unchecked));
        // With its font lowered to fit a small screen, the dialog may make a
        // box lower than the system font: it keeps the dialog's, uncut.
        RECT box = {};
        GetClientRect(controls[i], &box);
        if (row.systemFont && box.bottom >= systemMetrics.tmHeight)
            SendMessageW(controls[i], WM_SETFONT, systemFont, TRUE);
    }
}

// Tab and the arrow keys stop only where a person sees the focus: on the
// boxes and buttons. The template gives the title bar and the strips tab
// stops, and its groups hold texts and frames, which the arrow keys visit
// (GetNextDlgGroupItem walks a group, tab stops or not). So the decorations
// lose their tab stops, and every control without one becomes a group of its
// own, ending the group before it.
void MainDialog::SetUpKeyboard()
{
    for (HWND decoration : {titleBar.window, frame.leftStrip, frame.bottomStrip, frame.rightStrip})
        SetWindowLongPtrW(decoration, GWL_STYLE, GetWindowLongPtrW(decoration, GWL_STYLE) & ~WS_TABSTOP);
    bool startsGroup = true;
    // Child windows come in the template's order, the tab order.
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        const bool tabStop = (style & WS_TABSTOP) != 0;
        if (startsGroup || !tabStop)
            SetWindowLongPtrW(child, GWL_STYLE, style | WS_GROUP);
        startsGroup = !tabStop;
    }
    // A 1 from WM_INITDIALOG would focus the control the dialog manager chose
    // before the styles changed, the title bar: the first box is given the
    // focus here, the documented way for a dialog.
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetNextDlgTabItem(window, nullptr, FALSE)), TRUE);
}

int MainDialog::IsBoxChecked(HWND box)
{
    return IsDlgButtonChecked(GetParent(box), GetDlgCtrlID(box)) == BST_CHECKED ? 1 : 0;
}

void MainDialog::SetBoxChecked(HWND box, int value)
{
    CheckDlgButton(GetParent(box), GetDlgCtrlID(box), value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

HWND MainDialog::Control(int id) const
{
    for (int i = 0; i < ControlCount; ++i)
        if (Options[i].id == id)
            return controls[i];
    return nullptr;
}

void MainDialog::ApplyRetailRule()
{
    const bool retail = IsBoxChecked(Control(IDC_RETAIL_MODE)) != 0;
    // The manual controls go off with Retail Mode and stay off after it.
    for (const auto& [box, help] :
         {std::pair{IDC_MANUAL_RDM, IDC_MANUAL_RDM_HELP}, {IDC_MANUAL_OTHER, IDC_MANUAL_OTHER_HELP}}) {
        if (retail)
            SetBoxChecked(Control(box), 0);
        EnableWindow(Control(box), !retail);
        EnableWindow(Control(help), !retail);
    }
    if (retail && RetailMode == 0)
        RetailMode = AllRestrictions;
    // Always from the stored mask, never from what was clicked since.
    for (int i = 0; i < ControlCount; ++i) {
        if (Options[i].shows != Shows::Bit)
            continue;
        if (retail) {
            EnableWindow(controls[i], TRUE);
            SetBoxChecked(controls[i], (RetailMode & Options[i].bit) != 0);
        } else {
            SetBoxChecked(controls[i], 0);
            EnableWindow(controls[i], FALSE);
        }
    }
}

void MainDialog::ApplyDataloggingRule()
{
    const BOOL enable = IsBoxChecked(Control(IDC_DATALOGGING));
    for (int i = 0; i < ControlCount; ++i)
        if (Options[i].stored.flag != nullptr)
            EnableWindow(controls[i], enable);
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
        const bool restartPanel = TakeBoxStates();
        const WideString failures = SaveOptions();
        if (!failures.empty()) {
            ReportSaveFailures(failures);
            // The time the user takes to read is no wait for the panel.
            okTime = GetTickCount();
        }
        // Out of sight while the panel takes its time.
        ShowWindow(window, SW_HIDE);
        // Unowned, so that it has a taskbar button of its own: the dialog
        // is gone from the screen, and the user may have turned elsewhere.
        if (!NotifyPanel(restartPanel, okTime))
            ShowMessageBox(nullptr, PanelNotToldText, PanelNotToldCaption, MB_OK | MB_ICONHAND);
    }
    EndDialog(window, static_cast<INT_PTR>(result));
    return 0;
}

bool MainDialog::TakeBoxStates()
{
    DWORD checkedBits = 0;
    for (int i = 0; i < ControlCount; ++i)
        if (Options[i].shows == Shows::Bit && IsBoxChecked(controls[i]))
            checkedBits += Options[i].bit;
    bool restartPanel = false;
    for (int i = 0; i < ControlCount; ++i) {
        const OptionControl& row = Options[i];
        if (row.shows == Shows::Text || row.shows == Shows::Bit)
            continue;
        // Disabled boxes keep their states, and those are saved too.
        DWORD state = static_cast<DWORD>(IsBoxChecked(controls[i]));
        if (row.shows == Shows::Unchecked)
            state = 1 - state;
        else if (row.shows == Shows::Mask && state != 0)
            state = checkedBits;
        // Exact: a stored value other than 0 and 1 counts as changed.
        if (row.restartsPanel && Value(*this, row) != state)
            restartPanel = true;
        SetValue(*this, row, state);
    }
    return restartPanel;
}

WideString MainDialog::SaveOptions()
{
    SettingsStore store;
    for (const OptionControl& row : Options)
        if (row.stored.write != nullptr)
            (store.*row.stored.write)(this->*row.stored.value);
    const DWORD jobLogError = JobLogSettings::SaveJobLogFlags(logFlags);
    WideString failures;
    AddSaveFailure(failures, SettingsStore::PrimaryFile(), store.primaryError);
    AddSaveFailure(failures, SettingsStore::FallbackFile(), store.fallbackError);
    AddSaveFailure(failures, JobLogSettings::GetJobLogFilePath(), jobLogError);
    return failures;
}

void MainDialog::ReportSaveFailures(const WideString& failures)
{
    ShowMessageBox(window, (WideString(SaveFailedText) + failures.c_str()).c_str(), SaveFailedCaption,
                   MB_OK | MB_ICONHAND);
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
