#include "platform/core/CObject.h"

#include "platform/core/codepage.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace {

// Function-local, so registrars in any translation unit find it constructed.
std::unordered_map<std::string, CRuntimeClass*>& Registry()
{
    static std::unordered_map<std::string, CRuntimeClass*> classes;
    return classes;
}

} // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

CRuntimeClassRegistrar::CRuntimeClassRegistrar(CRuntimeClass* cls)
{
    Registry()[cls->m_lpszClassName] = cls;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
        if (c == base)
            return true;
    }
    return false;
}

CRuntimeClass* CRuntimeClass::FromName(const char* className)
{
    if (className == nullptr)
        return nullptr;
    if (std::strcmp(className, "CObject") == 0)
        return &CObject::classCObject;
    auto& classes = Registry();
    auto it = classes.find(className);
    return it != classes.end() ? it->second : nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(const char16_t* className)
{
    if (className == nullptr)
        return nullptr;
    return FromName(Utf16ToUtf8(className).c_str());
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

void CObject::Serialize(CArchive&)
{
}

bool CObject::IsKindOf(const CRuntimeClass* cls) const
{
    return GetRuntimeClass()->IsDerivedFrom(cls);
}
