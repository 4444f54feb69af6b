#include "platform/gdi/CPen.h"

#include "platform/gdi/gdi_objects.h"

bool CPen::CreatePen(int style, int width, COLORREF color) { return AttachNew(::CreatePen(style, width, color)); }

bool CPen::CreatePenIndirect(const LOGPEN* pen) { return AttachNew(::CreatePenIndirect(pen)); }

bool CPen::GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen) != 0; }

CPen* CPen::FromHandle(HPEN pen)
{
    return GetObjectKind(pen) == GdiKind::pen ? static_cast<CPen*>(CGdiObject::FromHandle(pen)) : nullptr;
}
