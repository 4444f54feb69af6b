#pragma once

#include "platform/gdi/CSize.h"
#include "platform/ui/CView.h"

constexpr int MM_TEXT = 1;

// A view with a logical size. The drawing covers the client area at the
// origin, so the scroll position stays (0, 0) and no scroll bars show.
class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const CSize sizeDefault;

    void SetScrollSizes(int mapMode, SIZE total, const SIZE& page = sizeDefault, const SIZE& line = sizeDefault);
    CSize GetTotalSize() const { return m_totalLog; }
    CPoint GetScrollPosition() const { return CPoint(0, 0); }
    void ScrollToPosition(POINT) {}
    int GetMapMode() const { return m_mapMode; }
    BOOL OnMouseWheel(UINT, short, CPoint) override { return FALSE; }

protected:
    int m_mapMode = MM_TEXT;
    CSize m_totalLog;
    CSize m_pageDev;
    CSize m_lineDev;
};
