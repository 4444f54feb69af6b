#include "shared/CMD5Checksum.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(const uint8_t d[16])
{
    static const char* kDigits = "0123456789abcdef";
    std::string s;
    for (int i = 0; i < 16; ++i) {
        s += kDigits[d[i] >> 4];
        s += kDigits[d[i] & 15];
    }
    return s;
}

std::string DigestOf(const std::string& text)
{
    uint8_t d[16];
    MD5OfBuffer(d, text.size(), text.data());
    return Hex(d);
}

} // namespace

TEST(CMD5Checksum, Rfc1321TestSuite)
{
    const struct { const char* input; const char* digest; } kCases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(DigestOf(c.input), c.digest);
    }
}

TEST(CMD5Checksum, PaddingBoundaries)
{
    // Digests of runs of 'a' from a reference implementation (md5sum).
    const struct { size_t length; const char* digest; } kCases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"},
        {56, "3b0c8ac703f828b04c6c197006d17218"},
        {64, "014842d480b571495a4a0363793f7367"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(DigestOf(std::string(c.length, 'a')), c.digest);
    }
}

TEST(CMD5Checksum, PiecewiseUpdateEqualsOneBlock)
{
    std::string data;
    for (int i = 0; i < 2500; ++i)
        data += char(i * 7 + 3);
    CMD5Checksum md5;
    for (size_t at = 0; at < data.size(); at += 1024) {
        const size_t n = std::min<size_t>(1024, data.size() - at);
        md5.Update(reinterpret_cast<const uint8_t*>(data.data()) + at, n);
    }
    uint8_t piecewise[16];
    md5.Final(piecewise);
    EXPECT_EQ(Hex(piecewise), DigestOf(data));
}
