#pragma once

#include <windows.h>

#include "app/WideString.h"
#include "settings/JobLogSettings.h"
#include "ui/framework/DialogFrame.h"
#include "ui/framework/Dlg.h"

// The advanced settings dialog (template 101). The check boxes are the
// working state while it is open; the option values keep what was loaded
// until Ok compares the boxes against them and saves.
class MainDialog : public Dlg {
public:
    ~MainDialog() override = default;

    // Runs once before the dialog shows: texts, loaded options, rules, skin,
    // and the first focus.
    INT_PTR OnInitDialog(WPARAM focusControl, LPARAM initParam) override;
    // Runs for a click on any control, and for Enter (id 1) and Escape (id 2).
    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Runs for WM_CLOSE: 1 (Ok) saves, reports files it could not write,
    // and notifies the panel, saying so when the panel refused; anything else (2 for Cancel, 0 for the
    // system's close) just ends the dialog.
    INT_PTR OnClose(WPARAM result) override;
    INT_PTR OnCtlColorDlg(HDC dc, HWND dialog) override;
    INT_PTR OnCtlColorStatic(HDC dc, HWND control) override;
    // Runs for the owner-drawn title bar and border strips.
    INT_PTR OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item) override;

    // 1 when the box is checked, else 0.
    static int IsBoxChecked(HWND box);
    // Checked for a non-zero value.
    static void SetBoxChecked(HWND box, int value);

    // Retail Mode on: the manual-control boxes go off and the restriction
    // boxes show the loaded mask. Off: the restrictions go off.
    void ApplyRetailRule();
    // The log boxes are enabled exactly while datalogging is on.
    void ApplyDataloggingRule();

    // The dialog's control `id` among those it fills; null for any other.
    HWND Control(int id) const;

    static const int ControlCount = 28;
    // In the order of the option table in MainDialog.cpp.
    HWND controls[ControlCount] = {};

    DialogFrame frame;

    // Option values: what was loaded, or these defaults.
    DWORD WizardOnly = 0;
    DWORD WizardOnlyPlus = 0;
    DWORD UserSwitching = 1;
    DWORD AlwaysHomeZ = 0;
    DWORD DeleteAfterRun = 0;
    DWORD PollForFiles = 0;
    DWORD RetailMode = 0;
    DWORD JobLogging = 0;
    JobLogFlags logFlags;

private:
    void LoadOptions();
    void FillControls();
    void SetUpKeyboard();
    // Takes every box into its option value; true when an option that needs
    // the panel to restart changed.
    bool TakeBoxStates();
    // Writes every option; returns the files that could not be written, with
    // the system's reasons, or an empty text.
    WideString SaveOptions();
    void ReportSaveFailures(const WideString& failures);
};

// Runs the settings dialog modally, owned by the main window.
void RunSettingsDialog();
