// Bitmaps: DIB sections, bitmaps over caller memory, compatible bitmaps.
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_registry.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

HBITMAP RegisterBitmap(std::shared_ptr<BitmapData> data)
{
    GdiEntry e;
    e.kind = GdiKind::bitmap;
    e.bitmap = std::move(data);
    return static_cast<HBITMAP>(gdi::Register(std::move(e)));
}

std::shared_ptr<BitmapData> Allocate(int width, int height, int bitsPerPixel, QImage::Format format)
{
    auto data = std::make_shared<BitmapData>();
    data->width = width;
    data->height = height;
    data->stride = ((width * bitsPerPixel / 8) + 3) / 4 * 4;
    data->format = format;
    const size_t bytes = size_t(data->stride) * size_t(height);
    // Zero from calloc: a large block comes straight from the system, zero
    // already, and its pages are only touched when drawn on. Clearing it
    // touched every page of a window-sized buffer at start-up.
    data->owned.reset(static_cast<std::uint8_t*>(std::calloc(bytes == 0 ? 1 : bytes, 1)));
    if (data->owned == nullptr)
        throw std::bad_alloc();
    data->bits = data->owned.get();
    return data;
}

bool SaneSize(int width, int height)
{
    // Bounded so the byte count cannot overflow.
    return width > 0 && height > 0 && width <= 32768 && height <= 32768;
}

} // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, unsigned, void** bits, void*, std::uint32_t)
{
    if (bits != nullptr)
        *bits = nullptr;
    if (info == nullptr)
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biHeight >= 0 || !SaneSize(h.biWidth, -h.biHeight))
        return nullptr;
    QImage::Format format = QImage::Format_Invalid;
    if (h.biBitCount == 32 && (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS))
        format = QImage::Format_RGB32;
    else if (h.biBitCount == 16 && h.biCompression == BI_RGB)
        format = QImage::Format_RGB555;
    else if (h.biBitCount == 16 && h.biCompression == BI_BITFIELDS && info->bmiColors[0] == 0xF800 &&
             info->bmiColors[1] == 0x07E0 && info->bmiColors[2] == 0x001F)
        format = QImage::Format_RGB16;
    if (format == QImage::Format_Invalid)
        return nullptr;
    auto data = Allocate(h.biWidth, -h.biHeight, h.biBitCount, format);
    void* address = data->bits;
    HBITMAP handle = RegisterBitmap(std::move(data));
    if (bits != nullptr)
        *bits = address;
    return handle;
}

HBITMAP CreateBitmapOverMemory(int width, int height, int stride, int bitsPerPixel, void* bits)
{
    if (bits == nullptr || !SaneSize(width, height) || stride % 4 != 0 ||
        (bitsPerPixel != 16 && bitsPerPixel != 32) || stride < width * bitsPerPixel / 8)
        return nullptr;
    auto data = std::make_shared<BitmapData>();
    data->bits = static_cast<std::uint8_t*>(bits);
    data->width = width;
    data->height = height;
    data->stride = stride;
    data->format = bitsPerPixel == 16 ? QImage::Format_RGB16 : QImage::Format_RGB32;
    return RegisterBitmap(std::move(data));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height)
{
    if (!SaneSize(width, height))
        return nullptr;
    auto data = Allocate(width, height, 32, QImage::Format_RGB32);
    // Opaque black, as a 32-bit window pixel reads.
    auto* words = reinterpret_cast<std::uint32_t*>(data->bits);
    std::fill(words, words + size_t(width) * size_t(height), 0xFF000000u);
    return RegisterBitmap(std::move(data));
}
