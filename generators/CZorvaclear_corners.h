#pragma once

// The corner-clearing settings (清角参数设置): the corner-clearing fields
// and two sample-line options of the machining settings.

#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

class CZorvaclear_corners : public CDialog {
public:
    CZorvaclear_corners();

    BOOL OnInitDialog() override;
    void OnOK() override;
};
