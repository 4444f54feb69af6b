#include "shared/digest_pair.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

#include "platform/core/exceptions.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

namespace {

constexpr std::size_t kDigestSize = 16;

std::optional<std::array<std::uint8_t, kDigestSize>> DigestOf(const CString& path)
{
    std::array<std::uint8_t, kDigestSize> digest{};
    try {
        if (FileExists(path) && MD5OfFile(path.GetString(), digest.data()))
            return digest;
    } catch (const CException&) {
    }
    return std::nullopt;
}

bool Holds(const std::string& path, const std::array<std::uint8_t, kDigestSize>& digest)
{
    std::ifstream in(path, std::ios::binary);
    char bytes[kDigestSize + 1];
    in.read(bytes, sizeof bytes);
    return in.gcount() == std::streamsize(kDigestSize) && std::memcmp(bytes, digest.data(), kDigestSize) == 0;
}

} // namespace

void FinishDigestPair(const CString& path)
{
    const CString companion = path + u"MD5";
    std::optional<std::array<std::uint8_t, kDigestSize>> digest;
    bool digestTaken = false;
    SettleStaleTemporaries(companion, [&](const std::string& temp) {
        if (!digestTaken) {
            digest = DigestOf(path);
            digestTaken = true;
        }
        if (digest && Holds(temp, *digest) && std::rename(temp.c_str(), NativePath(companion).c_str()) == 0)
            return;
        std::remove(temp.c_str());
    });
}
