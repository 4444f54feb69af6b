#pragma once

#include "platform/core/CArchive.h"
#include "platform/core/CompactVector.h"
#include "platform/core/exceptions.h"

#include <climits>
#include <cstdint>
#include <type_traits>
#include <utility>

// Growable array. An index outside [0, GetSize()) throws CInvalidArgException.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
    static_assert(!std::is_same_v<TYPE, bool>, "use uint8_t for flags");

public:
    CArray() = default;
    ~CArray() = default;
    CArray(const CArray&) = default;
    CArray& operator=(const CArray&) = default;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_data.empty(); }

    // newSize below 0 throws; growBy is accepted for compatibility.
    void SetSize(int newSize, int growBy = -1)
    {
        (void)growBy;
        if (newSize < 0)
            throw CInvalidArgException();
        m_data.resize(static_cast<size_t>(newSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    // Room for count elements, so that as many adds do not reallocate.
    void Reserve(int count)
    {
        if (count > 0)
            m_data.reserve(static_cast<size_t>(count));
    }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(int index) const { return m_data[Checked(index)]; }
    void SetAt(int index, ARG_TYPE element) { m_data[Checked(index)] = element; }
    TYPE& ElementAt(int index) { return m_data[Checked(index)]; }
    const TYPE& ElementAt(int index) const { return m_data[Checked(index)]; }
    TYPE& operator[](int index) { return ElementAt(index); }
    const TYPE& operator[](int index) const { return GetAt(index); }

    TYPE* GetData() { return m_data.data(); }
    const TYPE* GetData() const { return m_data.data(); }

    // Grows the array when index is at or past its end.
    void SetAtGrow(int index, ARG_TYPE element)
    {
        if (index < 0)
            throw CInvalidArgException();
        if (index >= GetSize())
            SetSize(index + 1);
        m_data[static_cast<size_t>(index)] = element;
    }
    int Add(ARG_TYPE element)
    {
        m_data.push_back(element);
        return GetSize() - 1;
    }
    int Append(const CArray& other)
    {
        int old = GetSize();
        if (&other == this) {
            CompactVector<TYPE> copy(m_data);
            m_data.insert(m_data.end(), copy.begin(), copy.end());
        } else {
            m_data.insert(m_data.end(), other.m_data.begin(), other.m_data.end());
        }
        return old;
    }
    void Copy(const CArray& other)
    {
        if (&other != this)
            m_data = other.m_data;
    }

    // An index at or past the end grows the array first.
    void InsertAt(int index, ARG_TYPE element, int count = 1)
    {
        if (index < 0 || count < 0)
            throw CInvalidArgException();
        if (index > GetSize())
            SetSize(index);
        TYPE copy(element);   // element may live in this array
        m_data.insert(m_data.begin() + index, static_cast<size_t>(count), copy);
    }
    void InsertAt(int start, const CArray* other)
    {
        if (other == nullptr || start < 0)
            throw CInvalidArgException();
        if (start > GetSize())
            SetSize(start);
        CompactVector<TYPE> copy(other->m_data);
        m_data.insert(m_data.begin() + start, copy.begin(), copy.end());
    }
    void RemoveAt(int index, int count = 1)
    {
        if (index < 0 || count < 0 || index > GetSize() || count > GetSize() - index)
            throw CInvalidArgException();
        m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
    }

    // Plain records: the count, then the elements' bytes as they lie in memory.
    void Serialize(CArchive& ar)
    {
        static_assert(std::is_trivially_copyable_v<TYPE>, "only plain records are archived raw");
        if (ar.IsStoring()) {
            ar.WriteCount(m_data.size());
            if (!m_data.empty())
                ar.Write(m_data.data(), static_cast<unsigned>(m_data.size() * sizeof(TYPE)));
            return;
        }
        size_t count = ar.ReadCount();
        ar.CheckCount(count, sizeof(TYPE));
        m_data.resize(count);
        if (count > 0)
            ar.ReadExact(m_data.data(), count * sizeof(TYPE));
    }

    auto begin() { return m_data.begin(); }
    auto end() { return m_data.end(); }
    auto begin() const { return m_data.begin(); }
    auto end() const { return m_data.end(); }

protected:
    size_t Checked(int index) const
    {
        if (index < 0 || index >= GetSize())
            throw CInvalidArgException();
        return static_cast<size_t>(index);
    }

    CompactVector<TYPE> m_data;
};
