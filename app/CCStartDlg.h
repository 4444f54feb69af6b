#pragma once

#include "platform/gdi/CFont.h"
#include "platform/ui/CDialog.h"

// The splash: the program's name and version in large letters on a dark
// box at the centre of the screen; it closes itself a second after it
// appears.
class CCStartDlg : public CDialog {
public:
    CCStartDlg();
    ~CCStartDlg() override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;

private:
    HBRUSH m_background = nullptr;
    CFont m_nameFont;
    CFont m_lineFont;
};

constexpr unsigned kSplashMs = 1000;
// Controls of the splash template.
constexpr int IDC_SPLASH_NAME = 1000;
constexpr int IDC_SPLASH_VERSION = 1001;
constexpr int IDC_SPLASH_LINE = 1002;
