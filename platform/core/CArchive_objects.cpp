#include "platform/core/CArchive.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

// Object tags: 0x0000 null; 0xFFFF a new class record follows; 0x8000|i a
// class written before as index i; any other value below 0x7FFF an object
// written before. 0x7FFF is followed by 32 bits holding an object index, or
// 0x80000000|i for a class, when the index does not fit the 16-bit form.
// Classes and objects share one counter in writing order, starting at 1.
namespace {

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint32_t kMaxMapCount = 0x7FFFFFFEu;
// Longest class name a record may carry.
constexpr uint16_t kMaxClassName = 64;

} // namespace

void CArchive::SetLoadFilter(std::function<bool(const CRuntimeClass*)> acceptClass,
                             bool allowBackReferences, bool allowNull)
{
    m_acceptClass = std::move(acceptClass);
    m_allowBackReferences = allowBackReferences;
    m_allowNull = allowNull;
}

void CArchive::ClearLoadFilter()
{
    m_acceptClass = nullptr;
    m_allowBackReferences = true;
    m_allowNull = true;
}

uint32_t CArchive::NextIndex()
{
    if (m_mapCount > kMaxMapCount)
        throw CArchiveException(CArchiveException::genericException);
    return m_mapCount++;
}

void CArchive::WriteIndexTag(uint32_t index, bool isClass)
{
    if (index < kBigObjectTag) {
        *this << static_cast<uint16_t>(isClass ? (kClassTag | index) : index);
    } else {
        *this << kBigObjectTag << static_cast<uint32_t>(isClass ? (kBigClassTag | index) : index);
    }
}

void CArchive::WriteClass(const CRuntimeClass* cls)
{
    auto known = m_storeMap.find(cls);
    if (known != m_storeMap.end()) {
        WriteIndexTag(known->second, true);
        return;
    }
    size_t nameLength = std::strlen(cls->m_lpszClassName);
    if (!cls->IsSerializable() || nameLength >= kMaxClassName)
        throw CArchiveException(CArchiveException::badClass);
    *this << kNewClassTag << static_cast<uint16_t>(cls->m_wSchema) << static_cast<uint16_t>(nameLength);
    Write(cls->m_lpszClassName, static_cast<unsigned>(nameLength));
    m_storeMap[cls] = NextIndex();
}

void CArchive::WriteObject(const CObject* object)
{
    CheckStoring();
    if (object == nullptr) {
        *this << kNullTag;
        return;
    }
    auto known = m_storeMap.find(object);
    if (known != m_storeMap.end()) {
        WriteIndexTag(known->second, false);
        return;
    }
    WriteClass(object->GetRuntimeClass());
    m_storeMap[object] = NextIndex();
    // The framework's Serialize is not const; storing does not change the object.
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::LoadNewClass()
{
    uint16_t schema;
    uint16_t nameLength;
    *this >> schema >> nameLength;
    if (nameLength >= kMaxClassName)
        throw CArchiveException(CArchiveException::badClass);
    char name[kMaxClassName] = {};
    ReadExact(name, nameLength);
    const CRuntimeClass* cls = CRuntimeClass::FromName(name);
    if (cls == nullptr || !cls->IsSerializable() || cls->m_pfnCreateObject == nullptr)
        throw CArchiveException(CArchiveException::badClass);
    if (m_acceptClass && !m_acceptClass(cls))
        throw CArchiveException(CArchiveException::badClass);
    if (cls->m_wSchema != schema)
        throw CArchiveException(CArchiveException::badSchema);
    return cls;
}

// The class read before under index; class indices grow in reading order.
// Objects of one class mostly come in runs, so the last answer is kept.
const CRuntimeClass* CArchive::LoadedClassAt(uint32_t index)
{
    if (m_lastClass != nullptr && index == m_lastClassIndex)
        return m_lastClass;
    auto found = std::lower_bound(m_loadClasses.begin(), m_loadClasses.end(), index,
                                  [](const LoadedClass& c, uint32_t i) { return c.index < i; });
    if (found == m_loadClasses.end() || found->index != index)
        throw CArchiveException(CArchiveException::badIndex);
    m_lastClassIndex = index;
    m_lastClass = found->cls;
    return found->cls;
}

// The 32-bit form of a tag that began with small (reads its second part).
uint32_t CArchive::ReadTag(uint16_t small)
{
    if (small == kBigObjectTag)
        return Get<uint32_t>();
    return (static_cast<uint32_t>(small & kClassTag) << 16) | (small & 0x7FFFu);
}

// The class of a new object after its tag (small and its 32-bit form), or
// null when the tag refers to an object already read (or is null).
const CRuntimeClass* CArchive::ReadClass(uint16_t small, uint32_t tag, const CRuntimeClass* requested)
{
    const CRuntimeClass* cls;
    if (small == kNewClassTag) {
        cls = LoadNewClass();
        m_loadClasses.push_back(LoadedClass{NextIndex(), cls});
    } else if (tag & kBigClassTag) {
        cls = LoadedClassAt(tag & ~kBigClassTag);
    } else {
        return nullptr;
    }
    if (requested != nullptr && !cls->IsDerivedFrom(requested))
        throw CArchiveException(CArchiveException::badClass);
    if (small != kNewClassTag) {
        m_repeatTag = tag;
        m_repeatRequested = requested;
        m_repeatClass = cls;
    }
    return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested)
{
    CheckLoading();
    const uint16_t small = Get<uint16_t>();
    const uint32_t tag = ReadTag(small);
    const CRuntimeClass* cls;
    // A drawing is runs of one class: the same class tag again, checked
    // before against the same requested class, needs no look-up. (Past
    // 0x7FFF objects the tags take the 32-bit form.)
    if (tag == m_repeatTag && small != kNewClassTag && requested == m_repeatRequested && m_repeatClass != nullptr)
        cls = m_repeatClass;
    else
        cls = ReadClass(small, tag, requested);
    if (cls == nullptr) {
        if (tag == 0) {
            if (!m_allowNull)
                throw CArchiveException(CArchiveException::badClass);
            return nullptr;
        }
        if (!m_allowBackReferences)
            throw CArchiveException(CArchiveException::badClass);
        if (tag >= m_loadObjects.size() || m_loadObjects[tag] == nullptr)
            throw CArchiveException(CArchiveException::badIndex);
        CObject* object = m_loadObjects[tag];
        if (requested != nullptr && !object->IsKindOf(requested))
            throw CArchiveException(CArchiveException::badClass);
        return object;
    }
    std::unique_ptr<CObject> object(cls->CreateObject());
    if (!object)
        throw CArchiveException(CArchiveException::badClass);
    // Registered before Serialize, so that objects inside it may refer to
    // it. A reader that refuses back-references keeps no table of objects:
    // a large drawing would grow it by every unit.
    const uint32_t slot = NextIndex();
    const bool registered = m_allowBackReferences;
    if (registered) {
        if (m_loadObjects.size() <= slot)
            m_loadObjects.resize(size_t{slot} + 1, nullptr);
        m_loadObjects[slot] = object.get();
    }
    try {
        object->Serialize(*this);
    } catch (...) {
        // Before, an object whose data ended early was leaked.
        if (registered)
            m_loadObjects[slot] = nullptr;
        throw;
    }
    return object.release();
}
