// BitBlt of CDC: pixels from another DC's target through a raster operation.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CDC_impl.h"
#include "platform/gdi/raster.h"

#include <QImage>

#include <cstring>
#include <vector>

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
