#pragma once

#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Bytes an archive writes, and an archive that reads given bytes.

using Bytes = std::vector<uint8_t>;

// "FF FE 0a" -> {0xFF, 0xFE, 0x0A}; a quoted run like 'AB' adds its ASCII bytes.
inline Bytes HexBytes(const std::string& text)
{
    Bytes out;
    for (size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == ' ') {
            ++i;
        } else if (c == '\'') {
            size_t close = text.find('\'', i + 1);
            out.insert(out.end(), text.begin() + static_cast<long>(i) + 1, text.begin() + static_cast<long>(close));
            i = close + 1;
        } else {
            out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
            i += 2;
        }
    }
    return out;
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What `write` stores into an archive over a memory file.
inline Bytes Stored(const std::function<void(CArchive&)>& write, int bufferSize = 4096)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store, bufferSize);
    write(ar);
    ar.Close();
    size_t size = static_cast<size_t>(file.GetLength());
    uint8_t* data = file.Detach();
    Bytes bytes(data, data + size);
    std::free(data);
    return bytes;
}

// Runs `read` on an archive that loads `bytes`.
inline void Loaded(Bytes bytes, const std::function<void(CArchive&)>& read, int bufferSize = 4096)
{
    CMemFile file(bytes.data(), static_cast<unsigned>(bytes.size()));
    CArchive ar(&file, CArchive::load, bufferSize);
    read(ar);
}

// The cause of the CArchiveException that `read` throws on `bytes`, or -1.
inline int LoadFailure(const Bytes& bytes, const std::function<void(CArchive&)>& read)
{
    try {
        Loaded(bytes, read);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

// The same three under the names the entity and document tests use.
inline Bytes StoreBytes(const std::function<void(CArchive&)>& write)
{
    return Stored(write);
}

inline void LoadBytes(Bytes bytes, const std::function<void(CArchive&)>& read)
{
    Loaded(std::move(bytes), read);
}

inline Bytes Hex(const std::string& text)
{
    return HexBytes(text);
}
