#pragma once

#include <memory>

// A record kept behind one pointer, for records larger than a unit's
// record space: default construction makes a default record, copies are
// deep, and -> and * reach the record.
template <class T>
class OwnedRecord {
public:
    OwnedRecord() : m_record(std::make_unique<T>()) {}
    OwnedRecord(const OwnedRecord& other) : m_record(std::make_unique<T>(*other.m_record)) {}
    OwnedRecord& operator=(const OwnedRecord& other)
    {
        *m_record = *other.m_record;
        return *this;
    }
    ~OwnedRecord() = default;

    T* operator->() { return m_record.get(); }
    const T* operator->() const { return m_record.get(); }
    T& operator*() { return *m_record; }
    const T& operator*() const { return *m_record; }

private:
    std::unique_ptr<T> m_record;
};
