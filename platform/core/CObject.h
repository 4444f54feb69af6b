#pragma once

#include <cstdint>

class CArchive;
class CObject;

// Run-time description of a class: name, size, schema, base class and the
// factory that dynamic creation and archive loading use.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    unsigned m_wSchema;                // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();   // null: not dynamically creatable
    CRuntimeClass* m_pBaseClass;

    // New object of this class, or null when the class cannot be created.
    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    bool IsSerializable() const { return m_wSchema != 0xFFFF; }

    // A class declared through the IMPLEMENT_ macros, by exact name; null when unknown.
    static CRuntimeClass* FromName(const char* className);
    static CRuntimeClass* FromName(const char16_t* className);
};

// Registers a class at start-up so that FromName finds it.
struct CRuntimeClassRegistrar {
    explicit CRuntimeClassRegistrar(CRuntimeClass* cls);
};

class CObject {
public:
    virtual ~CObject() = default;

    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* cls) const;
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name) \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define ZORVA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create) \
    CRuntimeClass class_name::class##class_name = { \
        #class_name, static_cast<int>(sizeof(class_name)), (schema), (create), \
        RUNTIME_CLASS(base_class_name)}; \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); } \
    static const CRuntimeClassRegistrar zorvaRegister_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    ZORVA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() { return new class_name; } \
    ZORVA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// The extraction operator needs CArchive.h where the macro is used.
#define IMPLEMENT_SERIAL(class_name, base_class_name, schema) \
    CObject* class_name::CreateObject() { return new class_name; } \
    ZORVA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject) \
    CArchive& operator>>(CArchive& ar, class_name*& pOb) \
    { \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name))); \
        return ar; \
    }
