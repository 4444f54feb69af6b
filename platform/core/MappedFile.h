#pragma once

// A whole file mapped read-only into memory, its pages read in at once
// (cheaper than faulting them one by one or copying them into a buffer).

#include <cstddef>
#include <string_view>

#include "platform/core/CString.h"

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False when the path names no readable file (a folder included); an
    // empty file opens with no bytes.
    bool Open(const CString& path);
    void Close();
    std::string_view Bytes() const { return {static_cast<const char*>(m_data), m_size}; }

private:
    void* m_data = nullptr;
    std::size_t m_size = 0;
};
