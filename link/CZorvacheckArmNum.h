#pragma once

#include "platform/ui/CDialog.h"

// Asks for a machine's new name: a letter A to F and a number 0 to 255,
// left in g_NewMachineNumber on OK.
class CZorvacheckArmNum : public CDialog {
public:
    explicit CZorvacheckArmNum(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnInputChange();

    DECLARE_MESSAGE_MAP()
};
