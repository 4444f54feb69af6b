#include "platform/gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gdi {

std::uint32_t ToDevice(COLORREF c, PixelFormat format)
{
    const std::uint32_t r = std::uint32_t(GetRValue(c));
    const std::uint32_t g = std::uint32_t(GetGValue(c));
    const std::uint32_t b = std::uint32_t(GetBValue(c));
    switch (format) {
    case PixelFormat::rgb565: return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case PixelFormat::rgb555: return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case PixelFormat::xrgb32: break;
    }
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

COLORREF FromDevice(std::uint32_t v, PixelFormat format)
{
    // Short channels are widened by repeating their high bits, so 0 and full
    // scale come back exactly.
    const auto widen5 = [](std::uint32_t x) { return int((x << 3) | (x >> 2)); };
    const auto widen6 = [](std::uint32_t x) { return int((x << 2) | (x >> 4)); };
    switch (format) {
    case PixelFormat::rgb565:
        return RGB(widen5((v >> 11) & 31), widen6((v >> 5) & 63), widen5(v & 31));
    case PixelFormat::rgb555:
        return RGB(widen5((v >> 10) & 31), widen5((v >> 5) & 31), widen5(v & 31));
    case PixelFormat::xrgb32: break;
    }
    return RGB(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
}

RopWriter::RopWriter(const Surface& surface, int rop) : m_s(surface), m_rop(rop)
{
    switch (surface.format) {
    case PixelFormat::xrgb32:
        m_mask = 0x00FFFFFF;
        m_fixed = 0xFF000000;
        break;
    case PixelFormat::rgb565:
        m_mask = 0xFFFF;
        m_fixed = 0;
        break;
    case PixelFormat::rgb555:
        m_mask = 0x7FFF;
        m_fixed = 0;
        break;
    }
}

std::uint32_t RopWriter::Apply(std::uint32_t p, std::uint32_t d) const
{
    std::uint32_t v = p;
    switch (m_rop) {
    case R2_BLACK: v = 0; break;
    case R2_NOTMERGEPEN: v = ~(d | p); break;
    case R2_MASKNOTPEN: v = d & ~p; break;
    case R2_NOTCOPYPEN: v = ~p; break;
    case R2_MASKPENNOT: v = p & ~d; break;
    case R2_NOT: v = ~d; break;
    case R2_XORPEN: v = d ^ p; break;
    case R2_NOTMASKPEN: v = ~(d & p); break;
    case R2_MASKPEN: v = d & p; break;
    case R2_NOTXORPEN: v = ~(d ^ p); break;
    case R2_NOP: v = d; break;
    case R2_MERGENOTPEN: v = d | ~p; break;
    case R2_MERGEPEN: v = d | p; break;
    case R2_MERGEPENNOT: v = p | ~d; break;
    case R2_WHITE: v = ~0u; break;
    default: v = p; break; // R2_COPYPEN and unknown codes
    }
    return (v & m_mask) | m_fixed;
}

std::uint32_t RopWriter::Read(int x, int y) const
{
    const std::uint8_t* row = m_s.bits + std::ptrdiff_t(y) * m_s.stride;
    if (m_s.format == PixelFormat::xrgb32) {
        std::uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v;
    }
    std::uint16_t v;
    std::memcpy(&v, row + 2 * x, 2);
    return v;
}

void RopWriter::Pixel(int x, int y, std::uint32_t value)
{
    if (!Inside(x, y))
        return;
    std::uint8_t* row = m_s.bits + std::ptrdiff_t(y) * m_s.stride;
    if (m_s.format == PixelFormat::xrgb32) {
        const std::uint32_t v = Apply(value, Read(x, y));
        std::memcpy(row + 4 * x, &v, 4);
    } else {
        const auto v = std::uint16_t(Apply(value, Read(x, y)));
        std::memcpy(row + 2 * x, &v, 2);
    }
}

void RopWriter::Span(int y, int x0, int x1, std::uint32_t value)
{
    if (y < m_s.clip.top || y >= m_s.clip.bottom)
        return;
    x0 = std::max(x0, int(m_s.clip.left));
    x1 = std::min(x1, int(m_s.clip.right));
    if (x0 >= x1)
        return;
    std::uint8_t* row = m_s.bits + std::ptrdiff_t(y) * m_s.stride;
    // Whole spans are the fills of large areas: no per-pixel clip test, and
    // a plain fill for the copy operation.
    if (m_s.format == PixelFormat::xrgb32) {
        auto* p = reinterpret_cast<std::uint32_t*>(row) + x0;
        if (m_rop == R2_COPYPEN) {
            std::fill(p, p + (x1 - x0), (value & m_mask) | m_fixed);
            return;
        }
        for (int x = x0; x < x1; ++x, ++p)
            *p = Apply(value, *p);
    } else {
        auto* p = reinterpret_cast<std::uint16_t*>(row) + x0;
        if (m_rop == R2_COPYPEN) {
            std::fill(p, p + (x1 - x0), std::uint16_t(value & m_mask));
            return;
        }
        for (int x = x0; x < x1; ++x, ++p)
            *p = std::uint16_t(Apply(value, *p));
    }
}

bool DashPattern::On(int phase) const
{
    if (runs.empty())
        return true;
    int p = phase % period;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (p < runs[i])
            return i % 2 == 0;
        p -= runs[i];
    }
    return true;
}

DashPattern PatternOf(int penStyle)
{
    DashPattern d;
    switch (penStyle) {
    case PS_DASH: d.runs = {18, 6}; break;
    case PS_DOT: d.runs = {3, 3}; break;
    case PS_DASHDOT: d.runs = {9, 6, 3, 6}; break;
    case PS_DASHDOTDOT: d.runs = {9, 3, 3, 3, 3, 3}; break;
    default: break;
    }
    for (int r : d.runs)
        d.period += r;
    return d;
}

void TraceLine(int x0, int y0, int x1, int y1, const std::function<void(int, int)>& plot)
{
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int sx = dx > 0 ? 1 : -1;
    const int sy = dy > 0 ? 1 : -1;
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    const int major = std::max(ax, ay);
    const int minor = std::min(ax, ay);
    int err = -(major >> 1);
    int x = x0, y = y0;
    for (int i = 0; i < major; ++i) {
        plot(x, y);
        err += minor;
        const bool stepMinor = err > 0;
        if (stepMinor)
            err -= major;
        if (ax >= ay) {
            x += sx;
            if (stepMinor)
                y += sy;
        } else {
            y += sy;
            if (stepMinor)
                x += sx;
        }
    }
}

bool RowSpans::Has(int y, int x) const
{
    const int i = y - top;
    if (i < 0 || i >= int(rows.size()))
        return false;
    return x >= rows[size_t(i)].first && x <= rows[size_t(i)].second;
}

RowSpans RectRows(const CRect& box)
{
    RowSpans s;
    s.top = box.top;
    if (box.IsRectEmpty())
        return s;
    s.rows.assign(size_t(box.Height()), {box.left, box.right - 1});
    return s;
}

RowSpans EllipseRows(const CRect& box)
{
    RowSpans s;
    s.top = box.top;
    if (box.IsRectEmpty())
        return s;
    const double a = box.Width() / 2.0;
    const double b = box.Height() / 2.0;
    const double cx = box.left + a;
    const double cy = box.top + b;
    s.rows.reserve(size_t(box.Height()));
    for (int y = box.top; y < box.bottom; ++y) {
        const double v = (y + 0.5 - cy) / b;
        const double w = 1.0 - v * v;
        if (w < 0) {
            s.rows.push_back({0, -1});
            continue;
        }
        const double half = a * std::sqrt(w);
        // Pixel x is inside when |x + 0.5 - cx| <= half.
        int x0 = int(std::ceil(cx - half - 0.5));
        int x1 = int(std::floor(cx + half - 0.5));
        // Keep at least the centre pixel of a row the box crosses, so thin
        // ellipses stay connected.
        if (x0 > x1) {
            x0 = std::clamp(int(std::floor(cx)), int(box.left), int(box.right) - 1);
            x1 = x0;
        }
        s.rows.push_back({std::max(x0, int(box.left)), std::min(x1, int(box.right) - 1)});
    }
    return s;
}

void SplitBorder(const RowSpans& shape,
                 const std::function<void(int, int, int)>& border,
                 const std::function<void(int, int, int)>& interior)
{
    const int n = int(shape.rows.size());
    const auto row = [&](int i) {
        return i >= 0 && i < n ? shape.rows[size_t(i)] : std::pair<int, int>{0, -1};
    };
    for (int i = 0; i < n; ++i) {
        const auto [a, b] = row(i);
        if (a > b)
            continue;
        const auto up = row(i - 1);
        const auto down = row(i + 1);
        // A pixel is inside when its four neighbours all belong to the shape.
        int ia = std::max({a + 1, up.first, down.first});
        int ib = std::min({b - 1, up.second, down.second});
        if (up.first > up.second || down.first > down.second)
            ia = 1, ib = 0;
        const int y = shape.top + i;
        if (ia > ib) {
            border(y, a, b + 1);
            continue;
        }
        border(y, a, ia);
        interior(y, ia, ib + 1);
        border(y, ib + 1, b + 1);
    }
}

void SubtractRows(const RowSpans& shape, const RowSpans& hole,
                  const std::function<void(int, int, int)>& out)
{
    for (size_t i = 0; i < shape.rows.size(); ++i) {
        const auto [a, b] = shape.rows[i];
        if (a > b)
            continue;
        const int y = shape.top + int(i);
        const int hi = y - hole.top;
        std::pair<int, int> h{0, -1};
        if (hi >= 0 && hi < int(hole.rows.size()))
            h = hole.rows[size_t(hi)];
        if (h.first > h.second || h.second < a || h.first > b) {
            out(y, a, b + 1);
            continue;
        }
        if (h.first > a)
            out(y, a, h.first);
        if (h.second < b)
            out(y, h.second + 1, b + 1);
    }
}

void FillPolygonSpans(const POINT* p, int count, int fillMode, const CRect& clip,
                      const std::function<void(int, int, int)>& span)
{
    if (count < 3)
        return;
    int ymin = p[0].y, ymax = p[0].y;
    for (int i = 1; i < count; ++i) {
        ymin = std::min(ymin, int(p[i].y));
        ymax = std::max(ymax, int(p[i].y));
    }
    ymin = std::max(ymin, int(clip.top));
    ymax = std::min(ymax, int(clip.bottom));
    struct Cross {
        double x;
        int dir;
    };
    std::vector<Cross> xs;
    for (int y = ymin; y < ymax; ++y) {
        const double sy = y + 0.5;
        xs.clear();
        for (int i = 0; i < count; ++i) {
            const POINT a = p[i];
            const POINT b = p[(i + 1) % count];
            if (a.y == b.y)
                continue;
            const bool down = b.y > a.y;
            const double lo = down ? a.y : b.y;
            const double hi = down ? b.y : a.y;
            if (sy < lo || sy >= hi)
                continue;
            const double t = (sy - a.y) / double(b.y - a.y);
            xs.push_back({a.x + t * (b.x - a.x), down ? 1 : -1});
        }
        std::sort(xs.begin(), xs.end(), [](const Cross& l, const Cross& r) { return l.x < r.x; });
        int winding = 0;
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            winding += xs[k].dir;
            const bool inside = fillMode == WINDING ? winding != 0 : k % 2 == 0;
            if (!inside)
                continue;
            // Pixel x is inside when its centre x + 0.5 lies in [xa, xb).
            const int x0 = int(std::ceil(xs[k].x - 0.5));
            const int x1 = int(std::ceil(xs[k + 1].x - 0.5));
            if (x0 < x1)
                span(y, x0, x1);
        }
    }
}

} // namespace gdi
