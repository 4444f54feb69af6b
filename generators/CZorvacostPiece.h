#pragma once

// The machining cost estimate (加工费用估算): thickness and price per mm2,
// kept in the machining settings, applied to the selected wire paths.

#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

class CZorvacostPiece : public CDialog {
public:
    CZorvacostPiece();

    BOOL OnInitDialog() override;
    // 计算(&S) is the dialog's OK; the dialog stays open.
    void OnOK() override { OnCalculate(); }

    void OnSelectAllPaths();
    void OnCalculate();

    DECLARE_MESSAGE_MAP()
};
