#pragma once

#include "platform/gdi/gdi_types.h"

// Owns one handle and deletes it on destruction. FromHandle gives a
// non-owning wrapper that lives as long as the handle.
class CGdiObject {
public:
    CGdiObject();
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    bool Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    bool DeleteObject();
    int GetObject(int size, void* out) const;

    static CGdiObject* FromHandle(HGDIOBJ object);

protected:
    bool AttachNew(HGDIOBJ object); // deletes what it held first
};
