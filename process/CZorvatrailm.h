#pragma once

// The batch path dialog "批量轨迹生成 (M)": modeless, created hidden by the
// main frame and kept for the life of the program. It shows the batch
// settings beside the drawing while the user selects shapes; 生成(&S)
// stores them and asks the worker for a batch run; 补偿(&F) switches to
// the per-shape compensation table. g_batchPanelShown is 1 while it shows.

#include "platform/ui/CDialog.h"

class CZorvatrailm : public CDialog {
public:
    CZorvatrailm();

    BOOL OnInitDialog() override;
    void OnOK() override { Hide(); }
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

    // Fills the dialog from the settings and shows it on top.
    void LoadFromSettings();
    void OnGenerate();
    void OnSelectAll();
    void OnGenerationModeChange();
    void OnCompensation();
    // The controls of the second cut show only for the two-path modes.
    void ShowSecondCutControls(int mode);
    void Hide();

private:
    DECLARE_MESSAGE_MAP()
};

// The frame's batch panel, or null.
CZorvatrailm* BatchDialog();
