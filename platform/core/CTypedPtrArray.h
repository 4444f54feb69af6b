#pragma once

#include "platform/core/CObArray.h"

// Type-safe view of a pointer array: CTypedPtrArray<CObArray, CUnit*>.
// TYPE must point to a class that derives from CObject through single
// inheritance, so its pointers share the representation of CObject*.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(int index) const { return static_cast<TYPE>(BASE_CLASS::GetAt(index)); }
    TYPE& ElementAt(int index) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(index)); }
    void SetAt(int index, TYPE element) { BASE_CLASS::SetAt(index, element); }
    void SetAtGrow(int index, TYPE element) { BASE_CLASS::SetAtGrow(index, element); }
    int Add(TYPE element) { return BASE_CLASS::Add(element); }
    void InsertAt(int index, TYPE element, int count = 1) { BASE_CLASS::InsertAt(index, element, count); }
    int Append(const CTypedPtrArray& other) { return BASE_CLASS::Append(other); }
    void Copy(const CTypedPtrArray& other) { BASE_CLASS::Copy(other); }
    TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE_CLASS::GetData()); }
    const TYPE* GetData() const { return reinterpret_cast<const TYPE*>(BASE_CLASS::GetData()); }
    TYPE& operator[](int index) { return ElementAt(index); }
    TYPE operator[](int index) const { return GetAt(index); }

    TYPE* begin() { return GetData(); }
    TYPE* end() { return GetData() + this->GetSize(); }
    const TYPE* begin() const { return GetData(); }
    const TYPE* end() const { return GetData() + this->GetSize(); }
};
