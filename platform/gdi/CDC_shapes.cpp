// Lines, outlines and fills of CDC, through our own rasteriser. Everything
// is cut to the clip before it is walked, so far-off coordinates of extreme
// zooms cost no more than what shows.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CDC_impl.h"
#include "platform/gdi/raster.h"

#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using gdi::RopWriter;

namespace {

bool PenVisible(const LOGPEN& p) { return p.lopnStyle != unsigned(PS_NULL); }
int PenWidth(const LOGPEN& p) { return std::clamp(int(p.lopnWidth.x), 1, 1000); }
bool BrushVisible(const LOGBRUSH& b) { return b.lbStyle != BS_NULL; }

// A one-pixel pen: dash pattern running on from the DC's phase, gaps in the
// background colour when the background mode is opaque.
struct Stroke {
    RopWriter& w;
    std::uint32_t on = 0;
    std::uint32_t gap = 0;
    bool drawGaps = false;
    gdi::DashPattern pattern;
    int& phase;

    void Plot(int x, int y, std::int64_t step)
    {
        if (pattern.On(phase + step))
            w.Pixel(x, y, on);
        else if (drawGaps)
            w.Pixel(x, y, gap);
    }
    void Advance(std::int64_t steps)
    {
        phase = pattern.period == 0 ? 0 : int((phase + steps) % pattern.period);
    }
};

Stroke MakeStroke(CDC::Impl& d, RopWriter& w)
{
    const auto& s = d.s;
    Stroke st{w, gdi::ToDevice(s.penData.lopnColor, w.surface().format), 0, false,
              gdi::PatternOf(int(s.penData.lopnStyle)), d.dashPhase};
    st.gap = gdi::ToDevice(s.bkColor, w.surface().format);
    st.drawGaps = s.bkMode == OPAQUE && !st.pattern.runs.empty();
    return st;
}

CRect SaturatedRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    return CRect(gdi::Saturate(l), gdi::Saturate(t), gdi::Saturate(r), gdi::Saturate(b));
}

CRect BoundsOf(const std::vector<POINT>& pts, int margin)
{
    std::int64_t l = pts[0].x, t = pts[0].y, r = l, b = t;
    for (const POINT& p : pts) {
        l = std::min<std::int64_t>(l, p.x), r = std::max<std::int64_t>(r, p.x);
        t = std::min<std::int64_t>(t, p.y), b = std::max<std::int64_t>(b, p.y);
    }
    return SaturatedRect(l - margin, t - margin, r + 1 + margin, b + 1 + margin);
}

// Cuts a segment to box (Liang-Barsky); false when nothing is left.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const CRect& box)
{
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
    x1 = x0 + t1 * dx, y1 = y0 + t1 * dy;
    x0 = ax, y0 = ay;
    return true;
}

// Pixels of a pen wider than one pixel (round caps and joins, as wide
// geometric pens draw), each reported once.
void WidePixels(const std::vector<POINT>& pts, bool closed, int width, const CRect& clip,
                const std::function<void(int, int)>& plot)
{
    CRect box = BoundsOf(pts, width);
    box &= clip;
    if (box.IsRectEmpty())
        return;
    CRect reach = box; // segments are cut a pen width outside what shows
    reach.InflateRect(width, width);
    QImage mask(box.Width(), box.Height(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-box.left, -box.top);
        p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const size_t n = pts.size();
        if (n == 1)
            p.drawPoint(pts[0].x, pts[0].y);
        for (size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
            double x0 = pts[i].x, y0 = pts[i].y, x1 = pts[(i + 1) % n].x, y1 = pts[(i + 1) % n].y;
            if (ClipSegment(x0, y0, x1, y1, reach))
                p.drawLine(QLineF(x0, y0, x1, y1));
        }
    }
    for (int y = 0; y < box.Height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < box.Width(); ++x)
            if (qAlpha(row[x]) != 0)
                plot(box.left + x, box.top + y);
    }
}

// What one polygon does to each pixel of its (clipped) bounds.
class PixelMask {
public:
    static constexpr std::uint8_t kFree = 0, kOutline = 1, kFill = 2, kOutside = 3;

    explicit PixelMask(const CRect& box) : m_box(box)
    {
        if (!box.IsRectEmpty())
            m_bits.assign(size_t(box.Width()) * size_t(box.Height()), kFree);
    }
    std::uint8_t At(int x, int y) const { return m_box.PtInRect(POINT{x, y}) ? m_bits[Index(x, y)] : kOutside; }
    // Sets a free pixel; false when it was taken already (or lies outside).
    bool Take(int x, int y, std::uint8_t value)
    {
        if (At(x, y) != kFree)
            return false;
        m_bits[Index(x, y)] = value;
        return true;
    }
    void CloseGaps();

private:
    size_t Index(int x, int y) const { return size_t(y - m_box.top) * size_t(m_box.Width()) + size_t(x - m_box.left); }
    CRect m_box;
    std::vector<std::uint8_t> m_bits;
};

// The fill takes pixels whose centres lie inside the polygon, the outline
// follows Bresenham: between the two a pixel can stay untouched. Such a
// pixel is enclosed by the outline (a flood from the border cannot reach it
// through the 8-connected outline) and borders the fill; it joins the fill.
void PixelMask::CloseGaps()
{
    // Flood from the border; pixels are marked when pushed, so each is
    // pushed at most once.
    const int w = m_box.Width(), h = m_box.Height();
    std::vector<std::uint32_t> stack;
    const auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        auto& b = m_bits[size_t(y) * size_t(w) + size_t(x)];
        if (b != kFree)
            return;
        b = kOutside;
        stack.push_back(std::uint32_t(y) * std::uint32_t(w) + std::uint32_t(x));
    };
    for (int x = 0; x < w; ++x)
        push(x, 0), push(x, h - 1);
    for (int y = 0; y < h; ++y)
        push(0, y), push(w - 1, y);
    while (!stack.empty()) {
        const int i = int(stack.back());
        stack.pop_back();
        const int x = i % w, y = i / w;
        push(x + 1, y), push(x - 1, y), push(x, y + 1), push(x, y - 1);
    }
    for (int pass = 0; pass < 2; ++pass)
        for (int y = m_box.top; y < m_box.bottom; ++y)
            for (int x = m_box.left; x < m_box.right; ++x)
                if (At(x, y) == kFree && (At(x - 1, y) == kFill || At(x + 1, y) == kFill ||
                                          At(x, y - 1) == kFill || At(x, y + 1) == kFill))
                    m_bits[Index(x, y)] = kFill;
}

std::vector<POINT> ToDevice(const CDC::Impl& d, const POINT* points, int count)
{
    std::vector<POINT> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out[size_t(i)] = POINT{d.DX(points[i].x), d.DY(points[i].y)};
    return out;
}

CRect DeviceBox(const CDC::Impl& d, int l, int t, int r, int b)
{
    CRect box(d.DX(l), d.DY(t), d.DX(r), d.DY(b));
    box.NormalizeRect();
    return box;
}

// Fills every pixel of box that lies in the clip.
void FillBox(RopWriter& w, CRect box, std::uint32_t value)
{
    box &= w.surface().clip;
    for (int y = box.top; y < box.bottom; ++y)
        w.Span(y, box.left, box.right, value);
}

void FillRows(RopWriter& w, const gdi::RowSpans& rows, std::uint32_t value)
{
    for (size_t i = 0; i < rows.rows.size(); ++i)
        if (rows.rows[i].first <= rows.rows[i].second)
            w.Span(rows.top + int(i), rows.rows[i].first, rows.rows[i].second + 1, value);
}

void EllipseOutline(CDC::Impl& d, RopWriter& w, const CRect& box, int width, bool insideFrame,
                    const std::function<void(int, int, int)>& interior)
{
    const CRect& clip = w.surface().clip;
    // One row beyond the clip on each side: borders are found from neighbours.
    const int first = clip.top - 1, end = clip.bottom + 1;
    Stroke stroke = MakeStroke(d, w);
    if (width <= 1) {
        const double a = (double(box.right) - box.left) / 2.0, b = (double(box.bottom) - box.top) / 2.0;
        const double cx = box.left + a, cy = box.top + b;
        // Ramanujan's perimeter: dash positions run along the curve.
        const double perimeter = std::numbers::pi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
        const bool styled = !stroke.pattern.runs.empty();
        stroke.phase = 0;
        gdi::SplitBorder(gdi::EllipseRows(box, first, end), [&](int y, int x0, int x1) {
            x0 = std::max(x0, int(clip.left));
            x1 = std::min(x1, int(clip.right));
            for (int x = x0; x < x1; ++x) {
                std::int64_t at = 0;
                if (styled) {
                    const double t = std::atan2((y + 0.5 - cy) / b, (x + 0.5 - cx) / a) + std::numbers::pi;
                    at = std::int64_t(t / (2 * std::numbers::pi) * perimeter);
                }
                stroke.Plot(x, y, at);
            }
        }, interior);
        return;
    }
    CRect outer = box, inner = box;
    if (insideFrame) {
        inner.DeflateRect(width, width);
    } else {
        outer = SaturatedRect(std::int64_t(box.left) - width / 2, std::int64_t(box.top) - width / 2,
                              std::int64_t(box.right) + width / 2, std::int64_t(box.bottom) + width / 2);
        inner.DeflateRect(width - width / 2, width - width / 2);
    }
    const gdi::RowSpans in = gdi::EllipseRows(inner, first, end);
    gdi::SubtractRows(gdi::EllipseRows(outer, first, end), in,
                      [&](int y, int x0, int x1) { w.Span(y, x0, x1, stroke.on); });
    for (size_t i = 0; i < in.rows.size(); ++i)
        if (in.rows[i].first <= in.rows[i].second)
            interior(in.top + int(i), in.rows[i].first, in.rows[i].second + 1);
}

} // namespace

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_impl->s.position;
    m_impl->s.position = CPoint(x, y);
    m_impl->dashPhase = 0;
    return old;
}

CPoint CDC::GetCurrentPosition() const { return m_impl->s.position; }

bool CDC::LineTo(int x, int y)
{
    Impl& d = *m_impl;
    const CPoint from = d.s.position;
    d.s.position = CPoint(x, y);
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid() || !PenVisible(d.s.penData))
        return true;
    RopWriter w(sf, d.s.rop);
    const std::vector<POINT> pts{POINT{d.DX(from.x), d.DY(from.y)}, POINT{d.DX(x), d.DY(y)}};
    const int width = PenWidth(d.s.penData);
    if (width == 1) {
        Stroke stroke = MakeStroke(d, w);
        stroke.Advance(gdi::TraceLine(pts[0].x, pts[0].y, pts[1].x, pts[1].y, sf.clip,
                                      [&](int px, int py, std::int64_t k) { stroke.Plot(px, py, k); }));
    } else {
        const std::uint32_t c = gdi::ToDevice(d.s.penData.lopnColor, sf.format);
        WidePixels(pts, false, width, sf.clip, [&](int px, int py) { w.Pixel(px, py, c); });
    }
    d.Touch(BoundsOf(pts, width));
    return true;
}

bool CDC::Polyline(const POINT* points, int count)
{
    Impl& d = *m_impl;
    if (points == nullptr || count < 2)
        return false;
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid() || !PenVisible(d.s.penData))
        return true;
    RopWriter w(sf, d.s.rop);
    const std::vector<POINT> pts = ToDevice(d, points, count);
    const int width = PenWidth(d.s.penData);
    if (width == 1) {
        // Each segment leaves out its end pixel, which the next one starts
        // on: every joint is drawn exactly once.
        d.dashPhase = 0;
        Stroke stroke = MakeStroke(d, w);
        for (size_t i = 0; i + 1 < pts.size(); ++i)
            stroke.Advance(gdi::TraceLine(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, sf.clip,
                                          [&](int px, int py, std::int64_t k) { stroke.Plot(px, py, k); }));
    } else {
        const std::uint32_t c = gdi::ToDevice(d.s.penData.lopnColor, sf.format);
        WidePixels(pts, false, width, sf.clip, [&](int px, int py) { w.Pixel(px, py, c); });
    }
    d.Touch(BoundsOf(pts, width));
    return true;
}

bool CDC::Polygon(const POINT* points, int count)
{
    Impl& d = *m_impl;
    if (points == nullptr || count < 2)
        return false;
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid())
        return true;
    RopWriter w(sf, d.s.rop);
    const std::vector<POINT> pts = ToDevice(d, points, count);
    const int width = PenWidth(d.s.penData);
    CRect box = BoundsOf(pts, width);
    d.Touch(box);
    // One pixel of margin beyond the clip, so the gap closing can flood
    // around the outline.
    CRect clipMargin = sf.clip;
    clipMargin.InflateRect(1, 1);
    box &= clipMargin;
    // Outline first, taking its pixels so the fill leaves them alone and no
    // pixel takes the raster operation twice.
    PixelMask mask(box);
    const bool outlined = PenVisible(d.s.penData);
    if (outlined) {
        if (width == 1) {
            d.dashPhase = 0;
            Stroke stroke = MakeStroke(d, w);
            for (size_t i = 0; i < pts.size(); ++i) {
                const POINT a = pts[i], b = pts[(i + 1) % pts.size()];
                stroke.Advance(gdi::TraceLine(a.x, a.y, b.x, b.y, box, [&](int x, int y, std::int64_t k) {
                    if (mask.Take(x, y, PixelMask::kOutline))
                        stroke.Plot(x, y, k);
                }));
            }
        } else {
            const std::uint32_t c = gdi::ToDevice(d.s.penData.lopnColor, sf.format);
            WidePixels(pts, true, width, box, [&](int x, int y) {
                if (mask.Take(x, y, PixelMask::kOutline))
                    w.Pixel(x, y, c);
            });
        }
    }
    if (!BrushVisible(d.s.brushData))
        return true;
    gdi::FillPolygonSpans(pts.data(), int(pts.size()), d.s.fillMode, box, [&](int y, int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            mask.Take(x, y, PixelMask::kFill);
    });
    if (outlined)
        mask.CloseGaps();
    const std::uint32_t c = gdi::ToDevice(d.s.brushData.lbColor, sf.format);
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (mask.At(x, y) == PixelMask::kFill)
                w.Pixel(x, y, c);
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom)
{
    Impl& d = *m_impl;
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid())
        return true;
    RopWriter w(sf, d.s.rop);
    const CRect box = DeviceBox(d, left, top, right, bottom);
    const std::uint32_t fill = gdi::ToDevice(d.s.brushData.lbColor, sf.format);
    const bool filled = BrushVisible(d.s.brushData);
    d.Touch(box);
    if (!PenVisible(d.s.penData)) {
        // Without a pen the fill is one pixel smaller on the right and bottom.
        if (filled)
            FillBox(w, CRect(box.left, box.top, box.right - 1, box.bottom - 1), fill);
        return true;
    }
    const int width = PenWidth(d.s.penData);
    CRect inner = box;
    if (width == 1) {
        Stroke stroke = MakeStroke(d, w);
        d.dashPhase = 0;
        stroke.Advance(gdi::TraceRectangle(box, sf.clip, [&](int x, int y, std::int64_t k) { stroke.Plot(x, y, k); }));
        inner.DeflateRect(1, 1);
    } else {
        CRect outer = box;
        if (d.s.penData.lopnStyle == unsigned(PS_INSIDEFRAME)) {
            inner.DeflateRect(width, width);
        } else {
            outer = SaturatedRect(std::int64_t(box.left) - width / 2, std::int64_t(box.top) - width / 2,
                                  std::int64_t(box.right) + width / 2, std::int64_t(box.bottom) + width / 2);
            inner.DeflateRect(width - width / 2, width - width / 2);
            d.Touch(outer);
        }
        const std::uint32_t c = gdi::ToDevice(d.s.penData.lopnColor, sf.format);
        gdi::SubtractRows(gdi::RectRows(outer, sf.clip.top, sf.clip.bottom),
                          gdi::RectRows(inner, sf.clip.top, sf.clip.bottom),
                          [&](int y, int x0, int x1) { w.Span(y, x0, x1, c); });
    }
    if (filled && !inner.IsRectEmpty())
        FillBox(w, inner, fill);
    return true;
}

bool CDC::Ellipse(int left, int top, int right, int bottom)
{
    Impl& d = *m_impl;
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid())
        return true;
    RopWriter w(sf, d.s.rop);
    CRect box = DeviceBox(d, left, top, right, bottom);
    const std::uint32_t fill = gdi::ToDevice(d.s.brushData.lbColor, sf.format);
    const bool filled = BrushVisible(d.s.brushData);
    const auto interior = [&](int y, int x0, int x1) {
        if (filled)
            w.Span(y, x0, x1, fill);
    };
    d.Touch(box);
    if (!PenVisible(d.s.penData)) {
        box.DeflateRect(0, 0, 1, 1);
        if (filled)
            FillRows(w, gdi::EllipseRows(box, sf.clip.top, sf.clip.bottom), fill);
        return true;
    }
    const int width = PenWidth(d.s.penData);
    if (width > 1)
        d.Touch(SaturatedRect(std::int64_t(box.left) - width / 2, std::int64_t(box.top) - width / 2,
                              std::int64_t(box.right) + width / 2, std::int64_t(box.bottom) + width / 2));
    EllipseOutline(d, w, box, width, d.s.penData.lopnStyle == unsigned(PS_INSIDEFRAME), interior);
    return true;
}

void CDC::FillRect(const RECT* r, HBRUSH brush)
{
    Impl& d = *m_impl;
    GdiEntry e;
    if (r == nullptr || !gdi::Lookup(brush, &e) || e.kind != GdiKind::brush || !BrushVisible(e.brush))
        return;
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid())
        return;
    RopWriter w(sf, R2_COPYPEN);
    const CRect box = DeviceBox(d, r->left, r->top, r->right, r->bottom);
    FillBox(w, box, gdi::ToDevice(e.brush.lbColor, sf.format));
    d.Touch(box);
}

void CDC::FillRect(const RECT* r, CBrush* brush)
{
    if (brush != nullptr)
        FillRect(r, static_cast<HBRUSH>(brush->m_hObject));
}

void CDC::FillSolidRect(const RECT* r, COLORREF color)
{
    Impl& d = *m_impl;
    SetBkColor(color);
    const gdi::Surface sf = d.Surface();
    if (r == nullptr || !sf.Valid())
        return;
    RopWriter w(sf, R2_COPYPEN);
    const CRect box = DeviceBox(d, r->left, r->top, r->right, r->bottom);
    FillBox(w, box, gdi::ToDevice(color, sf.format));
    d.Touch(box);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const CRect r = SaturatedRect(x, y, std::int64_t(x) + cx, std::int64_t(y) + cy);
    FillSolidRect(&r, color);
}

void CDC::FrameRect(const RECT* r, CBrush* brush)
{
    Impl& d = *m_impl;
    LOGBRUSH lb;
    if (r == nullptr || brush == nullptr || !brush->GetLogBrush(&lb) || !BrushVisible(lb))
        return;
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid())
        return;
    RopWriter w(sf, R2_COPYPEN);
    const CRect box = DeviceBox(d, r->left, r->top, r->right, r->bottom);
    const std::uint32_t c = gdi::ToDevice(lb.lbColor, sf.format);
    gdi::TraceRectangle(box, sf.clip, [&](int x, int y, std::int64_t) { w.Pixel(x, y, c); });
    d.Touch(box);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    // Top and left edges stop one pixel short; right and bottom run full.
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

void CDC::Draw3dRect(const RECT* r, COLORREF topLeft, COLORREF bottomRight)
{
    if (r != nullptr)
        Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

void CDC::DrawFocusRect(const RECT* r)
{
    Impl& d = *m_impl;
    const gdi::Surface sf = d.Surface();
    if (r == nullptr || !sf.Valid())
        return;
    RopWriter w(sf, R2_NOT);
    const CRect box = DeviceBox(d, r->left, r->top, r->right, r->bottom);
    // Every other pixel, fixed to the device grid, so a second call undoes it.
    gdi::TraceRectangle(box, sf.clip, [&](int x, int y, std::int64_t) {
        if (((x + y) & 1) == 0)
            w.Pixel(x, y, 0);
    });
    d.Touch(box);
}

void CDC::InvertRect(const RECT* r)
{
    if (r != nullptr)
        PatBlt(r->left, r->top, r->right - r->left, r->bottom - r->top, DSTINVERT);
}

bool CDC::PatBlt(int x, int y, int width, int height, std::uint32_t rop)
{
    Impl& d = *m_impl;
    const gdi::Surface sf = d.Surface();
    if (!sf.Valid())
        return false;
    int r2 = R2_COPYPEN;
    switch (rop) {
    case PATCOPY:
        if (!BrushVisible(d.s.brushData))
            return true;
        break;
    case 0x005A0049: // PATINVERT
        if (!BrushVisible(d.s.brushData))
            return true;
        r2 = R2_XORPEN;
        break;
    case DSTINVERT: r2 = R2_NOT; break;
    case BLACKNESS: r2 = R2_BLACK; break;
    case WHITENESS: r2 = R2_WHITE; break;
    default: return false;
    }
    RopWriter w(sf, r2);
    const CRect box = SaturatedRect(d.DX(x), d.DY(y), std::int64_t(d.DX(x)) + width, std::int64_t(d.DY(y)) + height);
    CRect normal = box;
    normal.NormalizeRect();
    FillBox(w, normal, gdi::ToDevice(d.s.brushData.lbColor, sf.format));
    d.Touch(normal);
    return true;
}
