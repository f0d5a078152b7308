#pragma once

#include "ui/framework/Dlg.h"

// The advanced settings dialog (template 101).
class MainDialog : public Dlg {
public:
    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnClose(WPARAM result) override;
};

// Runs the settings dialog modally, owned by the main window.
void RunSettingsDialog();
