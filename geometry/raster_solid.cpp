#include "geometry/raster.h"
#include "platform/core/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

bool HasLinePixelLoop(LinePixelLoop loop)
{
    return loop == LinePixelLoop::scalar || ProcessorHasAvx2();
}

#if defined(__x86_64__)
namespace {

// Steps k..k+3 from at (step k's major offset): the minor offset's whole
// part times minStep (below 2^13 and 2^31 in size, so the signed 32-bit
// multiply is exact) plus each step's major offset.
__attribute__((target("avx2"))) inline __m256i Offsets(__m256i scaled, __m256i minor, __m256i major)
{
    return _mm256_add_epi64(_mm256_mul_epi32(_mm256_srli_epi64(scaled, 40), minor), major);
}

__attribute__((target("avx2"))) inline void PlotFour(std::uint8_t* at, __m256i offsets, std::uint16_t word)
{
    const __m128i low = _mm256_castsi256_si128(offsets), high = _mm256_extracti128_si256(offsets, 1);
    *reinterpret_cast<std::uint16_t*>(at + _mm_cvtsi128_si64(low)) = word;
    *reinterpret_cast<std::uint16_t*>(at + _mm_extract_epi64(low, 1)) = word;
    *reinterpret_cast<std::uint16_t*>(at + _mm_cvtsi128_si64(high)) = word;
    *reinterpret_cast<std::uint16_t*>(at + _mm_extract_epi64(high, 1)) = word;
}

// The last four lanes when 1..4 steps remain: a lane past the end repeats
// the last step's offset (both 32-bit halves), so the loop needs no tail.
alignas(32) constexpr std::int32_t kLastLanes[4][8] = {
    {0, 1, 0, 1, 0, 1, 0, 1}, {0, 1, 2, 3, 2, 3, 2, 3}, {0, 1, 2, 3, 4, 5, 4, 5}, {0, 1, 2, 3, 4, 5, 6, 7}};

} // namespace

__attribute__((target("avx2"))) void SolidClosedFormAvx2(std::uint8_t* at, std::ptrdiff_t majStep,
                                                         std::ptrdiff_t minStep, std::int64_t n, std::int64_t m,
                                                         std::uint16_t word)
{
    const std::uint64_t reciprocal = kStepReciprocals.of[n];
    const std::uint64_t step = std::uint64_t(m) * reciprocal;
    const std::uint64_t s0 = std::uint64_t(n - 1 - (n >> 1)) * reciprocal;
    __m256i scaled = _mm256_set_epi64x(std::int64_t(s0 + 3 * step), std::int64_t(s0 + 2 * step),
                                       std::int64_t(s0 + step), std::int64_t(s0));
    const __m256i step4 = _mm256_set1_epi64x(std::int64_t(4 * step));
    const __m256i minor = _mm256_set1_epi64x(minStep);
    const __m256i major = _mm256_mul_epi32(_mm256_set1_epi64x(majStep), _mm256_setr_epi64x(0, 1, 2, 3));
    for (std::int64_t fours = (n - 1) >> 2; fours > 0; --fours) {
        PlotFour(at, Offsets(scaled, minor, major), word);
        scaled = _mm256_add_epi64(scaled, step4);
        at += 4 * majStep;
    }
    const __m256i last = _mm256_load_si256(reinterpret_cast<const __m256i*>(kLastLanes[(n - 1) & 3]));
    PlotFour(at, _mm256_permutevar8x32_epi32(Offsets(scaled, minor, major), last), word);
}
#endif
