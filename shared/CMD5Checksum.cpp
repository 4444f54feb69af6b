#include "shared/CMD5Checksum.h"

#include <cstring>
#include <utility>

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

inline uint32_t RotateLeft(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

// Step I of the 64. The four words take turns as a, b, c, d: step I reads
// a = v[-I], b = v[1-I], c = v[2-I], d = v[3-I] (mod 4) and writes a. Every
// index, shift and mixing function is a constant, so the compiler lays the
// steps out straight with the words in registers; a loop that chose them at
// run time hashed at two thirds of the speed.
//
// Only b comes from the step before, so the sum is ordered to wait for it
// last: a + K + x first; F as d ^ (b & (c ^ d)), which equals
// (b & c) | (~b & d); and G's two terms, which never share a bit, added one
// by one so that ~d & c goes in before b is known. An eighth faster.
template <int I>
inline void Step(uint32_t v[4], const uint32_t x[16])
{
    constexpr int round = I / 16;
    constexpr int g = round == 0 ? I : round == 1 ? (5 * I + 1) % 16 : round == 2 ? (3 * I + 5) % 16 : (7 * I) % 16;
    uint32_t& a = v[(0 - I) & 3];
    const uint32_t b = v[(1 - I) & 3], c = v[(2 - I) & 3], d = v[(3 - I) & 3];
    uint32_t sum = a + kSine[I] + x[g];
    if constexpr (round == 0) {
        sum += d ^ (b & (c ^ d));
    } else if constexpr (round == 1) {
        sum += ~d & c;
        sum += d & b;
    } else if constexpr (round == 2) {
        sum += b ^ c ^ d;
    } else {
        sum += c ^ (b | ~d);
    }
    a = b + RotateLeft(sum, kShift[round][I % 4]);
}

template <int... I>
inline void Steps(uint32_t v[4], const uint32_t x[16], std::integer_sequence<int, I...>)
{
    (Step<I>(v, x), ...);
}

inline uint32_t LoadLE(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void StoreLE(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

} // namespace

CMD5Checksum::CMD5Checksum()
    : m_buffer{}, m_count{0, 0}, m_state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476}
{
}

void CMD5Checksum::Transform(const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = LoadLE(block + 4 * i);

    uint32_t v[4] = {m_state[0], m_state[1], m_state[2], m_state[3]};
    Steps(v, x, std::make_integer_sequence<int, 64>());
    for (int i = 0; i < 4; ++i)
        m_state[i] += v[i];
}

void CMD5Checksum::Update(const uint8_t* data, size_t length)
{
    // An empty file's bytes may be a null pointer, which memcpy must not see.
    if (length == 0)
        return;
    size_t index = (m_count[0] >> 3) & 0x3F;
    const uint64_t bits = (uint64_t(m_count[1]) << 32 | m_count[0]) + (uint64_t(length) << 3);
    m_count[0] = uint32_t(bits);
    m_count[1] = uint32_t(bits >> 32);

    const size_t space = 64 - index;
    size_t i = 0;
    if (length >= space) {
        std::memcpy(m_buffer + index, data, space);
        Transform(m_buffer);
        for (i = space; i + 63 < length; i += 64)
            Transform(data + i);
        index = 0;
    }
    std::memcpy(m_buffer + index, data + i, length - i);
}

void CMD5Checksum::Final(uint8_t digest[16])
{
    uint8_t bits[8];
    StoreLE(bits, m_count[0]);
    StoreLE(bits + 4, m_count[1]);

    static const uint8_t kPadding[64] = {0x80};
    const size_t index = (m_count[0] >> 3) & 0x3F;
    const size_t padLength = index < 56 ? 56 - index : 120 - index;
    Update(kPadding, padLength);
    Update(bits, 8);

    for (int i = 0; i < 4; ++i)
        StoreLE(digest + 4 * i, m_state[i]);
}

void MD5OfBuffer(uint8_t out[16], size_t length, const void* data)
{
    CMD5Checksum md5;
    md5.Update(static_cast<const uint8_t*>(data), length);
    md5.Final(out);
}
