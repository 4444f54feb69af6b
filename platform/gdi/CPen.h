#pragma once

#include "platform/gdi/CGdiObject.h"

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }

    bool CreatePen(int style, int width, COLORREF color);
    bool CreatePenIndirect(const LOGPEN* pen);
    bool GetLogPen(LOGPEN* pen) const;
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

    static CPen* FromHandle(HPEN pen);
};
