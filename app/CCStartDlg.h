#pragma once

#include "platform/ui/CDialog.h"

// The splash: a captionless black box that closes itself after a second.
class CCStartDlg : public CDialog {
public:
    CCStartDlg();
    ~CCStartDlg() override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;

private:
    HBRUSH m_black = nullptr;
};

constexpr unsigned kSplashMs = 1000;
