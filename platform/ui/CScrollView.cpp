#include "platform/ui/CScrollView.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

const CSize CScrollView::sizeDefault(0, 0);

void CScrollView::SetScrollSizes(int mapMode, SIZE total, const SIZE& page, const SIZE& line)
{
    m_mapMode = mapMode;
    m_totalLog = total;
    m_pageDev = page;
    m_lineDev = line;
}
