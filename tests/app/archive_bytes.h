#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"

// Bytes an archive writes, and an archive that reads given bytes.
inline std::vector<std::uint8_t> StoreBytes(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    std::vector<std::uint8_t> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<unsigned>(bytes.size()));
    return bytes;
}

inline void LoadBytes(std::vector<std::uint8_t> bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile file(bytes.data(), static_cast<unsigned>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

// "00 f8 3f ..." to bytes.
inline std::vector<std::uint8_t> Hex(const std::string& text)
{
    std::vector<std::uint8_t> out;
    for (size_t i = 0; i + 1 < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return out;
}
