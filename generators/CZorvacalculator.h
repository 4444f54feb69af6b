#pragma once

// The pocket calculator (计算器): one binary operation at a time and nine
// functions of the shown number; its result is only shown.

#include "platform/gdi/CFont.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

class CZorvacalculator : public CDialog {
public:
    CZorvacalculator();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

    void OnDigit(UINT id);
    void OnOperator(UINT id);
    void OnFunction(UINT id);
    void OnEquals();
    void OnBack();
    void OnClear();

private:
    CString Display() const;
    void Show(const CString& text);
    bool TypedChar(char16_t ch);
    bool DisplayFocused() const;
    void FocusDisplayAtEnd();

    CFont m_displayFont;

    DECLARE_MESSAGE_MAP()
};
