#pragma once

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSize.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    // A 32-bit bitmap, zeroed.
    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    // Takes a handle from CreateDIBSection or CreateBitmapOverMemory.
    bool AttachSection(HBITMAP section) { return AttachNew(section); }
    bool GetBitmap(BITMAP* out) const;
    CSize GetBitmapDimension() const;
    void* GetBits() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

    static CBitmap* FromHandle(HBITMAP bitmap);
};
