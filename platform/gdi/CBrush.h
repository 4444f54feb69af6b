#pragma once

#include "platform/gdi/CGdiObject.h"

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }

    bool CreateSolidBrush(COLORREF color);
    bool CreateBrushIndirect(const LOGBRUSH* brush);
    bool CreateSysColorBrush(int index);
    bool GetLogBrush(LOGBRUSH* brush) const;
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

    static CBrush* FromHandle(HBRUSH brush);
};
