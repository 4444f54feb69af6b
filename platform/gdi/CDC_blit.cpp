// BitBlt of CDC: pixels from another DC's target through a raster operation.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CDC_impl.h"
#include "platform/gdi/raster.h"
#include "platform/core/cpu_features.h"

#include <QImage>

#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// The binary operation a source blit amounts to (the source plays the pen).
int BinaryRopOf(std::uint32_t rop)
{
    switch (rop) {
    case SRCCOPY: return R2_COPYPEN;
    case SRCINVERT: return R2_XORPEN;
    case SRCAND: return R2_MASKPEN;
    case SRCPAINT: return R2_MERGEPEN;
    case NOTSRCCOPY: return R2_NOTCOPYPEN;
    default: return 0;
    }
}

int BytesPerPixel(gdi::PixelFormat f) { return f == gdi::PixelFormat::xrgb32 ? 4 : 2; }

bool SameImage(const gdi::Surface& a, const gdi::Surface& b)
{
    const std::uint8_t* aEnd = a.bits + std::ptrdiff_t(a.stride) * a.height;
    const std::uint8_t* bEnd = b.bits + std::ptrdiff_t(b.stride) * b.height;
    return a.bits < bEnd && b.bits < aEnd;
}

// Widens RGB565 to 0xFFRRGGBB by repeating each channel's high bits, as
// FromDevice and Qt's converter do; from the pixel `from` on.
void Rgb565TailToXrgb32(const std::uint16_t* from, std::uint32_t* to, int at, int count)
{
    for (int i = at; i < count; ++i) {
        const std::uint32_t v = from[i];
        const std::uint32_t r = v >> 11, g = (v >> 5) & 63, b = v & 31;
        to[i] = 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
    }
}

#if defined(__x86_64__)
// Sixteen pixels a turn: a frame converts the whole window, and the shifts
// of the eight-pixel turn were the limit, not memory.
__attribute__((target("avx2"))) void Rgb565RowToXrgb32Avx2(const std::uint16_t* from, std::uint32_t* to,
                                                           int count)
{
    const __m256i mask5 = _mm256_set1_epi16(0x1F), mask6 = _mm256_set1_epi16(0x3F);
    const __m256i alpha = _mm256_set1_epi16(static_cast<short>(0xFF00));
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        // Quarters 0 2 1 3: the unpacks below work within each 128-bit half.
        const __m256i v =
            _mm256_permute4x64_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i)), 0xD8);
        const __m256i r = _mm256_srli_epi16(v, 11);
        const __m256i g = _mm256_and_si256(_mm256_srli_epi16(v, 5), mask6);
        const __m256i b = _mm256_and_si256(v, mask5);
        const __m256i r8 = _mm256_or_si256(_mm256_slli_epi16(r, 3), _mm256_srli_epi16(r, 2));
        const __m256i g8 = _mm256_or_si256(_mm256_slli_epi16(g, 2), _mm256_srli_epi16(g, 4));
        const __m256i b8 = _mm256_or_si256(_mm256_slli_epi16(b, 3), _mm256_srli_epi16(b, 2));
        const __m256i gb = _mm256_or_si256(b8, _mm256_slli_epi16(g8, 8));
        const __m256i ar = _mm256_or_si256(r8, alpha);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i), _mm256_unpacklo_epi16(gb, ar));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i + 8), _mm256_unpackhi_epi16(gb, ar));
    }
    Rgb565TailToXrgb32(from, to, i, count);
}
#endif

void Rgb565RowToXrgb32(const std::uint16_t* from, std::uint32_t* to, int count)
{
#if defined(__x86_64__)
    static const bool avx2 = ProcessorHasAvx2();
    if (avx2) {
        Rgb565RowToXrgb32Avx2(from, to, count);
        return;
    }
    const __m128i mask5 = _mm_set1_epi16(0x1F), mask6 = _mm_set1_epi16(0x3F);
    const __m128i alpha = _mm_set1_epi16(static_cast<short>(0xFF00));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i r = _mm_srli_epi16(v, 11);
        const __m128i g = _mm_and_si128(_mm_srli_epi16(v, 5), mask6);
        const __m128i b = _mm_and_si128(v, mask5);
        const __m128i r8 = _mm_or_si128(_mm_slli_epi16(r, 3), _mm_srli_epi16(r, 2));
        const __m128i g8 = _mm_or_si128(_mm_slli_epi16(g, 2), _mm_srli_epi16(g, 4));
        const __m128i b8 = _mm_or_si128(_mm_slli_epi16(b, 3), _mm_srli_epi16(b, 2));
        const __m128i gb = _mm_or_si128(b8, _mm_slli_epi16(g8, 8));
        const __m128i ar = _mm_or_si128(r8, alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_unpacklo_epi16(gb, ar));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 4), _mm_unpackhi_epi16(gb, ar));
    }
    Rgb565TailToXrgb32(from, to, i, count);
#else
    Rgb565TailToXrgb32(from, to, 0, count);
#endif
}

// A copy between two images: rows go straight across, converted on the way
// when the formats differ, with nothing allocated. False for the format
// pairs that take the general path.
bool CopyAcross(const gdi::Surface& dst, const gdi::Surface& src, const CRect& area, std::int64_t shiftX,
                std::int64_t shiftY)
{
    const bool widen = src.format == gdi::PixelFormat::rgb565 && dst.format == gdi::PixelFormat::xrgb32;
    if (src.format != dst.format && !widen)
        return false;
    const int srcBpp = BytesPerPixel(src.format), dstBpp = BytesPerPixel(dst.format);
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint8_t* from = src.bits + std::ptrdiff_t(row - shiftY) * src.stride
                                   + std::ptrdiff_t(area.left - shiftX) * srcBpp;
        std::uint8_t* to = dst.bits + std::ptrdiff_t(row) * dst.stride + std::ptrdiff_t(area.left) * dstBpp;
        if (widen)
            Rgb565RowToXrgb32(reinterpret_cast<const std::uint16_t*>(from), reinterpret_cast<std::uint32_t*>(to),
                              area.Width());
        else
            std::memcpy(to, from, size_t(area.Width()) * size_t(srcBpp));
    }
    return true;
}

} // namespace

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, std::uint32_t rop)
{
    if (rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY)
        return PatBlt(x, y, width, height, rop);
    const int r2 = BinaryRopOf(rop);
    if (source == nullptr || r2 == 0 || width <= 0 || height <= 0)
        return false;
    Impl& d = *m_impl;
    const gdi::Surface dst = d.Surface();
    const gdi::Surface src = source->m_impl->Surface();
    if (!dst.Valid() || src.bits == nullptr)
        return false;

    // Destination rectangle, cut to the clip and to what the source holds.
    const int dx0 = d.DX(x), dy0 = d.DY(y);
    const int sx0 = source->m_impl->DX(xSource), sy0 = source->m_impl->DY(ySource);
    using gdi::Saturate;
    CRect area(dx0, dy0, Saturate(std::int64_t(dx0) + width), Saturate(std::int64_t(dy0) + height));
    area &= dst.clip;
    const std::int64_t shiftX = std::int64_t(dx0) - sx0, shiftY = std::int64_t(dy0) - sy0;
    area &= CRect(Saturate(shiftX), Saturate(shiftY), Saturate(shiftX + src.width), Saturate(shiftY + src.height));
    if (area.IsRectEmpty())
        return true;

    if (r2 == R2_COPYPEN && !SameImage(dst, src) && CopyAcross(dst, src, area, shiftX, shiftY)) {
        d.Touch(area);
        return true;
    }

    // Copy the source pixels out first: source and target may be one image.
    const int bpp = BytesPerPixel(src.format);
    const size_t rowBytes = size_t(area.Width()) * size_t(bpp);
    const size_t copyStride = (rowBytes + 3) / 4 * 4; // Qt wants 32-bit aligned rows
    std::vector<std::uint8_t> copy(copyStride * size_t(area.Height()));
    for (int row = 0; row < area.Height(); ++row) {
        const std::uint8_t* from = src.bits + std::ptrdiff_t(area.top + row - shiftY) * src.stride +
                                   std::ptrdiff_t(area.left - shiftX) * bpp;
        std::memcpy(copy.data() + copyStride * size_t(row), from, rowBytes);
    }

    if (r2 == R2_COPYPEN && src.format != dst.format) {
        // Qt's converters widen short channels by repeating their high bits,
        // as FromDevice does, and run much faster than a pixel loop.
        const QImage from(copy.data(), area.Width(), area.Height(), qsizetype(copyStride), QtFormatOf(src.format));
        const QImage to = from.convertToFormat(QtFormatOf(dst.format));
        const size_t toBytes = size_t(area.Width()) * size_t(BytesPerPixel(dst.format));
        for (int row = 0; row < area.Height(); ++row)
            std::memcpy(dst.bits + std::ptrdiff_t(area.top + row) * dst.stride +
                            std::ptrdiff_t(area.left) * BytesPerPixel(dst.format),
                        to.constScanLine(row), toBytes);
    } else if (r2 == R2_COPYPEN) {
        for (int row = 0; row < area.Height(); ++row)
            std::memcpy(dst.bits + std::ptrdiff_t(area.top + row) * dst.stride + std::ptrdiff_t(area.left) * bpp,
                        copy.data() + copyStride * size_t(row), rowBytes);
    } else {
        gdi::RopWriter w(dst, r2);
        for (int row = 0; row < area.Height(); ++row) {
            const std::uint8_t* line = copy.data() + copyStride * size_t(row);
            for (int col = 0; col < area.Width(); ++col) {
                std::uint32_t v = 0;
                if (bpp == 4) {
                    std::memcpy(&v, line + 4 * col, 4);
                } else {
                    std::uint16_t h;
                    std::memcpy(&h, line + 2 * col, 2);
                    v = h;
                }
                if (src.format != dst.format)
                    v = gdi::ToDevice(gdi::FromDevice(v, src.format), dst.format);
                w.Pixel(area.left + col, area.top + row, v);
            }
        }
    }
    d.Touch(area);
    return true;
}
