#include "platform/gdi/CBrush.h"

#include "platform/gdi/gdi_objects.h"

bool CBrush::CreateSolidBrush(COLORREF color) { return AttachNew(::CreateSolidBrush(color)); }

bool CBrush::CreateBrushIndirect(const LOGBRUSH* brush) { return AttachNew(::CreateBrushIndirect(brush)); }

bool CBrush::CreateSysColorBrush(int index)
{
    // An own solid brush of the colour: deleting it must not touch the shared one.
    return AttachNew(::CreateSolidBrush(GetSysColor(index)));
}

bool CBrush::GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush) != 0; }

CBrush* CBrush::FromHandle(HBRUSH brush)
{
    return GetObjectKind(brush) == GdiKind::brush ? static_cast<CBrush*>(CGdiObject::FromHandle(brush)) : nullptr;
}
