#pragma once

// The machine coding version dialog "机床系统编码": which coding the shop's
// machines use (g_MachiningSettings.codingMode). Changing it converts
// nothing: every page, list and table reads the version when it next opens.

#include "platform/ui/CDialog.h"

class CZorvasystemContorl : public CDialog {
public:
    CZorvasystemContorl();

    BOOL OnInitDialog() override;
    void OnOK() override;
};
