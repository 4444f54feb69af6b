#pragma once

#include <memory>

// A record that most owners never use, held behind one pointer: a write
// access (operator-> on a non-const holder) creates it with its defaults,
// a read access on a const holder sees the defaults without creating it.
// Copies are deep.
template <class T>
class LazyRecord {
public:
    LazyRecord() = default;
    LazyRecord(const LazyRecord& other) : m_record(other.m_record ? std::make_unique<T>(*other.m_record) : nullptr) {}
    LazyRecord& operator=(const LazyRecord& other)
    {
        if (this != &other)
            m_record = other.m_record ? std::make_unique<T>(*other.m_record) : nullptr;
        return *this;
    }

    T* operator->() { return &Get(); }
    const T* operator->() const { return m_record ? m_record.get() : &Defaults(); }
    T& Get()
    {
        if (!m_record)
            m_record = std::make_unique<T>();
        return *m_record;
    }
    bool Exists() const { return m_record != nullptr; }
    void Reset() { m_record.reset(); }

private:
    static const T& Defaults()
    {
        static const T defaults{};
        return defaults;
    }

    std::unique_ptr<T> m_record;
};
