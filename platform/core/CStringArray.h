#pragma once

#include "platform/core/CArray.h"
#include "platform/core/CString.h"

// Array of texts; archived as the count and each text in the wide string form.
class CStringArray : public CArray<CString, const CString&> {
public:
    void Serialize(CArchive& ar)
    {
        if (ar.IsStoring()) {
            ar.WriteCount(m_data.size());
            for (const CString& text : m_data)
                ar << text;
            return;
        }
        m_data.clear();
        size_t count = ar.ReadCount();
        ar.CheckCount(count, 1);   // every text takes at least its length byte
        m_data.resize(count);
        for (CString& text : m_data)
            ar >> text;
    }
};
