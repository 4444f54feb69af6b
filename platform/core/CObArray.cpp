#include "platform/core/CObArray.h"

IMPLEMENT_SERIAL(CObArray, CObject, 0)

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(m_data.size());
        for (CObject* object : m_data)
            ar.WriteObject(object);
        return;
    }
    m_data.clear();
    size_t count = ar.ReadCount();
    // Every element takes at least its 2-byte tag.
    ar.CheckCount(count, 2);
    m_data.reserve(count);
    for (size_t i = 0; i < count; ++i)
        m_data.push_back(ar.ReadObject(nullptr));
}
