#pragma once

// "文字标注": the floating panel of the text command: font size, text-box
// size and the content of the text being placed. OK hands them to the text
// (the view reads the controls); cancel ends the command.

#include "platform/ui/CDialog.h"

class CZorvaText_dlg : public CDialog {
public:
    static constexpr int kIdFontSize = 1012;
    static constexpr int kIdBoxSize = 1009;
    static constexpr int kIdContent = 1015;

    CZorvaText_dlg();
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};
