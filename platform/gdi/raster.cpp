#include "platform/gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

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

bool DashPattern::On(std::int64_t phase) const
{
    if (runs.empty())
        return true;
    std::int64_t p = phase % period;
    if (p < 0)
        p += period;
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

int Saturate(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

namespace {

// Steps k (from 0) with lo <= start + sign * k < hi, within [0, n).
void ClipRun(std::int64_t start, int sign, std::int64_t lo, std::int64_t hi, std::int64_t n,
             std::int64_t& kFirst, std::int64_t& kEnd)
{
    std::int64_t a, b; // k in [a, b)
    if (sign > 0) {
        a = lo - start;
        b = hi - start;
    } else {
        a = start - hi + 1;
        b = start - lo + 1;
    }
    kFirst = std::max<std::int64_t>(a, 0);
    kEnd = std::min<std::int64_t>(b, n);
}

} // namespace

std::int64_t TraceLine(int x0, int y0, int x1, int y1, const CRect& clip, const StepPlot& plot)
{
    const std::int64_t dx = std::int64_t(x1) - x0;
    const std::int64_t dy = std::int64_t(y1) - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (major == 0 || clip.IsRectEmpty())
        return major;
    const int sMaj = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int sMin = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const std::int64_t maj0 = xMajor ? x0 : y0;
    const std::int64_t min0 = xMajor ? y0 : x0;
    const std::int64_t majLo = xMajor ? clip.left : clip.top, majHi = xMajor ? clip.right : clip.bottom;
    const std::int64_t minLo = xMajor ? clip.top : clip.left, minHi = xMajor ? clip.bottom : clip.right;
    const std::int64_t e0 = -(major >> 1);

    // The error term stays in (-major, 0] after every step, so the minor
    // steps taken before step k are ceil((e0 + k * minor) / major).
    const auto minorSteps = [&](std::int64_t k) {
        const __int128 num = __int128(e0) + __int128(k) * minor;
        __int128 q = num / major;
        if (num % major > 0)
            ++q;
        return std::int64_t(q);
    };
    std::int64_t kFirst, kEnd;
    ClipRun(maj0, sMaj, majLo, majHi, major, kFirst, kEnd);
    if (kFirst >= kEnd)
        return major;
    // Minor steps n with the minor coordinate inside: n in [nLo, nHi].
    const std::int64_t nLo = sMin > 0 ? minLo - min0 : min0 - minHi + 1;
    const std::int64_t nHi = sMin > 0 ? minHi - 1 - min0 : min0 - minLo;
    // minorSteps grows with k: bisect for the first k reaching nLo and the
    // first k passing nHi.
    const auto firstReaching = [&](std::int64_t target, std::int64_t lo, std::int64_t hi) {
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (minorSteps(mid) >= target)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    kFirst = firstReaching(nLo, kFirst, kEnd);
    kEnd = firstReaching(nHi + 1, kFirst, kEnd);

    std::int64_t n = minorSteps(kFirst);
    std::int64_t err = e0 + kFirst * minor - n * major;
    std::int64_t ma = maj0 + sMaj * kFirst;
    std::int64_t mi = min0 + sMin * n;
    for (std::int64_t k = kFirst; k < kEnd; ++k) {
        if (xMajor)
            plot(int(ma), int(mi), k);
        else
            plot(int(mi), int(ma), k);
        ma += sMaj;
        err += minor;
        if (err > 0) {
            mi += sMin;
            err -= major;
        }
    }
    return major;
}

std::int64_t TraceRectangle(const CRect& box, const CRect& clip, const StepPlot& plot)
{
    if (box.IsRectEmpty())
        return 0;
    const std::int64_t l = box.left, t = box.top, r = std::int64_t(box.right) - 1, b = std::int64_t(box.bottom) - 1;
    std::int64_t base = 0;
    // One side: n pixels from (x, y) along (sx, sy).
    const auto side = [&](std::int64_t x, std::int64_t y, int sx, int sy, std::int64_t n) {
        if (n <= 0)
            return;
        std::int64_t kFirst = 0, kEnd = n;
        if (sx != 0) {
            if (y < clip.top || y >= clip.bottom)
                kEnd = 0;
            else
                ClipRun(x, sx, clip.left, clip.right, n, kFirst, kEnd);
        } else {
            if (x < clip.left || x >= clip.right)
                kEnd = 0;
            else
                ClipRun(y, sy, clip.top, clip.bottom, n, kFirst, kEnd);
        }
        for (std::int64_t k = kFirst; k < kEnd; ++k)
            plot(int(x + sx * k), int(y + sy * k), base + k);
        base += n;
    };
    side(l, t, 1, 0, r - l + 1);
    side(r, t + 1, 0, 1, b - t);
    if (b > t)
        side(r - 1, b, -1, 0, r - l);
    if (r > l)
        side(l, b - 1, 0, -1, b - t - 1);
    return base;
}

bool RowSpans::Has(int y, int x) const
{
    const int i = y - top;
    if (i < 0 || i >= int(rows.size()))
        return false;
    return x >= rows[size_t(i)].first && x <= rows[size_t(i)].second;
}

namespace {

// The rows of box that lie in [firstRow, endRow).
std::pair<int, int> RowRange(const CRect& box, int firstRow, int endRow)
{
    return {std::max(int(box.top), firstRow), std::min(int(box.bottom), endRow)};
}

} // namespace

RowSpans RectRows(const CRect& box, int firstRow, int endRow)
{
    RowSpans s;
    const auto [y0, y1] = RowRange(box, firstRow, endRow);
    s.top = y0;
    if (box.IsRectEmpty() || y0 >= y1)
        return s;
    s.rows.assign(size_t(y1 - y0), {box.left, box.right - 1});
    return s;
}

RowSpans EllipseRows(const CRect& box, int firstRow, int endRow)
{
    RowSpans s;
    const auto [y0, y1] = RowRange(box, firstRow, endRow);
    s.top = y0;
    if (box.IsRectEmpty() || y0 >= y1)
        return s;
    const double a = (double(box.right) - box.left) / 2.0;
    const double b = (double(box.bottom) - box.top) / 2.0;
    const double cx = box.left + a;
    const double cy = box.top + b;
    // Span ends are kept within the box; far-off ones stay far off.
    const auto toX = [&](double x) { return int(std::clamp(x, double(box.left), double(box.right) - 1)); };
    s.rows.reserve(size_t(y1 - y0));
    for (int y = y0; y < y1; ++y) {
        const double v = (y + 0.5 - cy) / b;
        const double w = 1.0 - v * v;
        if (w < 0) {
            s.rows.push_back({0, -1});
            continue;
        }
        const double half = a * std::sqrt(w);
        // Pixel x is inside when |x + 0.5 - cx| <= half.
        double x0 = std::ceil(cx - half - 0.5);
        double x1 = std::floor(cx + half - 0.5);
        // Keep at least the centre pixel of a row the box crosses, so thin
        // ellipses stay connected.
        if (x0 > x1)
            x0 = x1 = std::floor(cx);
        s.rows.push_back({toX(x0), toX(x1)});
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
            const double t = (sy - a.y) / (double(b.y) - a.y);
            xs.push_back({a.x + t * (double(b.x) - a.x), down ? 1 : -1});
        }
        std::sort(xs.begin(), xs.end(), [](const Cross& l, const Cross& r) { return l.x < r.x; });
        int winding = 0;
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            winding += xs[k].dir;
            const bool inside = fillMode == WINDING ? winding != 0 : k % 2 == 0;
            if (!inside)
                continue;
            // Pixel x is inside when its centre x + 0.5 lies in [xa, xb).
            // Clamped to one pixel beyond the clip: the caller cuts there.
            const auto toX = [&](double x) {
                return int(std::clamp(std::ceil(x - 0.5), double(clip.left) - 1, double(clip.right) + 1));
            };
            const int x0 = toX(xs[k].x);
            const int x1 = toX(xs[k + 1].x);
            if (x0 < x1)
                span(y, x0, x1);
        }
    }
}

} // namespace gdi
