#pragma once

#include "platform/ui/CClientDC.h"

struct PAINTSTRUCT {
    RECT rcPaint;
    BOOL fErase = FALSE;
};

// The DC of OnPaint: the window's front image, shown as soon as OnPaint returns.
class CPaintDC : public CClientDC {
public:
    explicit CPaintDC(CWnd* wnd);
    PAINTSTRUCT m_ps;
};
