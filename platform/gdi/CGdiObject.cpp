#include "platform/gdi/CGdiObject.h"

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_registry.h"

CGdiObject::CGdiObject() { gdi::WrapperCreated(this); }

CGdiObject::~CGdiObject()
{
    gdi::WrapperDestroyed(this);
    if (m_hObject != nullptr)
        ::DeleteObject(m_hObject);
}

bool CGdiObject::Attach(HGDIOBJ object)
{
    if (object == nullptr || m_hObject != nullptr)
        return false;
    m_hObject = object;
    return true;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

bool CGdiObject::DeleteObject()
{
    HGDIOBJ h = Detach();
    // May destroy this object when it is a temporary wrapper of h: no member
    // is touched after the call.
    return h != nullptr && ::DeleteObject(h);
}

int CGdiObject::GetObject(int size, void* out) const { return ::GetObjectW(m_hObject, size, out); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) { return gdi::TemporaryWrapper(object); }

bool CGdiObject::AttachNew(HGDIOBJ object)
{
    if (m_hObject != nullptr)
        ::DeleteObject(Detach());
    m_hObject = object;
    return object != nullptr;
}
