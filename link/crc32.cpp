// CRC-32/ISO-HDLC of the datagrams. Every block of a transfer is checked
// twice (by its sender and its receiver), and on loopback the tables of a
// table-driven CRC fall out of the first-level cache between two blocks:
// the two checks cost a tenth of a round trip. Where the processor
// multiplies without carries, 16 bytes at a time are folded with no table.

#include "link/link_helpers.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// entry[0] is the byte-wise table; entry[k][b] advances the register over
// b followed by k zero bytes, so that eight bytes take one step of eight
// look-ups.
struct CrcTable {
    uint32_t entry[8][256];
    constexpr CrcTable() : entry()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i;
            for (int k = 0; k < 8; ++k)
                r = (r & 1) != 0 ? (r >> 1) ^ 0xEDB88320u : r >> 1;
            entry[0][i] = r;
        }
        for (int k = 1; k < 8; ++k)
            for (uint32_t i = 0; i < 256; ++i)
                entry[k][i] = (entry[k - 1][i] >> 8) ^ entry[0][entry[k - 1][i] & 0xFF];
    }
};

constexpr CrcTable kCrcTable;

uint32_t Load32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The register (not inverted) advanced over n bytes.
uint32_t TableSteps(uint32_t reg, const uint8_t* p, size_t n)
{
    const auto& t = kCrcTable.entry;
    for (; n >= 8; p += 8, n -= 8) {
        const uint32_t lo = Load32(p) ^ reg;
        const uint32_t hi = Load32(p + 4);
        reg = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24]
              ^ t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    }
    for (; n > 0; ++p, --n)
        reg = (reg >> 8) ^ t[0][(reg ^ *p) & 0xFF];
    return reg;
}

#if defined(__x86_64__)

// Folding by carry-less multiplication, in the bit-reflected domain of the
// polynomial P = 0x104C11DB7. Four 128-bit lanes take 64 bytes a step; each
// lane moves 512 bits on by multiplying its halves by
//   k1 = x^(4*128+32) mod P, k2 = x^(4*128-32) mod P   (reflected, shifted),
// then the lanes fold into one with k3 = x^(128+32), k4 = x^(128-32) mod P,
// the 128 bits fold to 64 with k4 and to 32 bits with k5 = x^64 mod P, and
// a Barrett step with mu = x^64 / P reduces the rest. The constants are the
// published ones of this polynomial (Gopal et al., "Fast CRC computation for
// generic polynomials using PCLMULQDQ", Intel 2009).
constexpr uint64_t kK1 = 0x0154442bd4, kK2 = 0x01c6e41596;
constexpr uint64_t kK3 = 0x01751997d0, kK4 = 0x00ccaa009e;
constexpr uint64_t kK5 = 0x0163cd6124;
constexpr uint64_t kPoly = 0x01db710641, kMu = 0x01f7011641;

__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i x, __m128i k, __m128i next)
{
    const __m128i lo = _mm_clmulepi64_si128(x, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(hi, lo), next);
}

// n is a multiple of 16 and at least 64; returns the register.
__attribute__((target("pclmul,sse4.1"))) uint32_t FoldSteps(uint32_t reg, const uint8_t* p, size_t n)
{
    auto load = [](const uint8_t* q) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)); };
    __m128i x1 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x2 = load(p + 16), x3 = load(p + 32), x4 = load(p + 48);
    p += 64;
    n -= 64;
    const __m128i k1k2 = _mm_set_epi64x(static_cast<long long>(kK2), static_cast<long long>(kK1));
    for (; n >= 64; p += 64, n -= 64) {
        x1 = Fold(x1, k1k2, load(p));
        x2 = Fold(x2, k1k2, load(p + 16));
        x3 = Fold(x3, k1k2, load(p + 32));
        x4 = Fold(x4, k1k2, load(p + 48));
    }
    const __m128i k3k4 = _mm_set_epi64x(static_cast<long long>(kK4), static_cast<long long>(kK3));
    x1 = Fold(x1, k3k4, x2);
    x1 = Fold(x1, k3k4, x3);
    x1 = Fold(x1, k3k4, x4);
    for (; n >= 16; p += 16, n -= 16)
        x1 = Fold(x1, k3k4, load(p));

    // 128 -> 64 bits, then 64 -> 32 bits.
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
    const __m128i k5 = _mm_set_epi64x(0, static_cast<long long>(kK5));
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 4), _mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00));

    // Barrett reduction to the 32-bit register.
    const __m128i poly = _mm_set_epi64x(static_cast<long long>(kMu), static_cast<long long>(kPoly));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), poly, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold()
{
    static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return can;
}

#endif

} // namespace

uint32_t Crc32(const void* data, size_t length)
{
    if (length == 0)
        return 0;
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t reg = 0xFFFFFFFFu;
#if defined(__x86_64__)
    if (length >= 64 && CanFold()) {
        const size_t folded = length & ~size_t(15);
        reg = FoldSteps(reg, p, folded);
        p += folded;
        length -= folded;
    }
#endif
    return ~TableSteps(reg, p, length);
}
