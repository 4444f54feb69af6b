#include "platform/gdi/CBitmap.h"

#include "platform/gdi/gdi_objects.h"

bool CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return AttachNew(::CreateCompatibleBitmap(dc, width, height));
}

bool CBitmap::GetBitmap(BITMAP* out) const { return GetObject(sizeof(BITMAP), out) != 0; }

CSize CBitmap::GetBitmapDimension() const
{
    BITMAP bm;
    return GetBitmap(&bm) ? CSize(bm.bmWidth, bm.bmHeight) : CSize();
}

void* CBitmap::GetBits() const
{
    BITMAP bm;
    return GetBitmap(&bm) ? bm.bmBits : nullptr;
}

CBitmap* CBitmap::FromHandle(HBITMAP bitmap)
{
    return GetObjectKind(bitmap) == GdiKind::bitmap ? static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap)) : nullptr;
}
