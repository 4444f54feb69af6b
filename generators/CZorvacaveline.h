#pragma once

// The formula-curve dialog (公式曲线): one of nine parametric curves sampled
// into an interpolating spline, previewed in a picture on the dialog's left
// and put into the drawing at the origin by 生成(&S), carried by the move
// command.

#include "generators/preview_picture.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

class CZorvacaveline : public CDialog {
public:
    CZorvacaveline();

    BOOL OnInitDialog() override;
    void OnPaint() override;
    void OnOK() override { OnGenerate(); }

    void OnTypeChange();
    void OnPreview();
    void OnGenerate();
    // Samples the fields' curve into the preview list; false, after telling
    // the user, when the fields make no curve.
    bool BuildCurve();

    PreviewMapping m_preview{1.0, 139, 139};

private:
    void WriteDefaults(int type);

    DECLARE_MESSAGE_MAP()
};
