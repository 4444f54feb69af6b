#pragma once

// The wire-wear correction dialog (损丝偏移补偿修正): estimates the
// correction points along the chain path generation is about to build, and
// on 使用 splits the chain at them (wire_wear.h).

#include "platform/ui/CDialog.h"

class CZorvaTrial_create_sub : public CDialog {
public:
    CZorvaTrial_create_sub();

    BOOL OnInitDialog() override;
    // 使用(&C): applies; the dialog ends when it worked.
    void OnOK() override;
    // 退出: forgets an estimate.
    void OnCancel() override;
    void OnDestroy() override;

    void OnEstimate();
    void OnThicknessChange();
    void OnRatioChange();
    // Estimate (apply false) or apply; false with the reason on the hint line.
    bool Correct(bool apply);

    double m_length = 0.0;
    bool m_initialised = false;
    bool m_printed = false;

    DECLARE_MESSAGE_MAP()

private:
    void ShowArea();
};
