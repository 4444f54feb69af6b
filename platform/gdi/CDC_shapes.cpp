// Lines, outlines and fills of CDC, through our own rasteriser.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CDC_impl.h"
#include "platform/gdi/raster.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using gdi::RopWriter;

namespace {

bool PenVisible(const LOGPEN& p) { return p.lopnStyle != unsigned(PS_NULL); }
int PenWidth(const LOGPEN& p) { return std::max(1, int(p.lopnWidth.x)); }
bool BrushVisible(const LOGBRUSH& b) { return b.lbStyle != BS_NULL; }

// One-pixel pen: dash pattern with its phase, gaps in the background colour
// when the background mode is opaque.
struct Stroke {
    RopWriter& w;
    std::uint32_t on = 0;
    std::uint32_t gap = 0;
    bool drawGaps = false;
    gdi::DashPattern pattern;
    int& phase;

    void operator()(int x, int y)
    {
        if (pattern.On(phase++))
            w.Pixel(x, y, on);
        else if (drawGaps)
            w.Pixel(x, y, gap);
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

CRect BoundsOf(const std::vector<POINT>& pts, int margin)
{
    CRect r(pts[0].x, pts[0].y, pts[0].x + 1, pts[0].y + 1);
    for (const POINT& p : pts)
        r |= CRect(p.x, p.y, p.x + 1, p.y + 1);
    r.InflateRect(margin, margin);
    return r;
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
    QImage mask(box.Width(), box.Height(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-box.left, -box.top);
        p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygon poly;
        for (const POINT& pt : pts)
            poly << QPoint(pt.x, pt.y);
        if (closed)
            p.drawPolygon(poly);
        else if (pts.size() == 1)
            p.drawPoint(poly[0]);
        else
            p.drawPolyline(poly);
    }
    for (int y = 0; y < box.Height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < box.Width(); ++x)
            if (qAlpha(row[x]) != 0)
                plot(box.left + x, box.top + y);
    }
}

// The outline pixels of a rectangle in drawing order (clockwise from the
// top-left), each once.
void RectPerimeter(const CRect& r, const std::function<void(int, int)>& plot)
{
    if (r.IsRectEmpty())
        return;
    const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
    for (int x = l; x <= rr; ++x)
        plot(x, t);
    for (int y = t + 1; y <= b; ++y)
        plot(rr, y);
    if (b > t)
        for (int x = rr - 1; x >= l; --x)
            plot(x, b);
    if (rr > l)
        for (int y = b - 1; y > t; --y)
            plot(l, y);
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
    const CRect& Box() const { return m_box; }
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
    std::vector<POINT> stack;
    for (int x = m_box.left; x < m_box.right; ++x)
        stack.push_back({x, m_box.top}), stack.push_back({x, m_box.bottom - 1});
    for (int y = m_box.top; y < m_box.bottom; ++y)
        stack.push_back({m_box.left, y}), stack.push_back({m_box.right - 1, y});
    while (!stack.empty()) {
        const POINT p = stack.back();
        stack.pop_back();
        if (!Take(p.x, p.y, kOutside))
            continue;
        stack.push_back({p.x + 1, p.y});
        stack.push_back({p.x - 1, p.y});
        stack.push_back({p.x, p.y + 1});
        stack.push_back({p.x, p.y - 1});
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

// Spans of a pen band between outer and inner rows, or of the one-pixel
// border of outer.
void EllipseOutline(CDC::Impl& d, RopWriter& w, const CRect& box, int width, bool insideFrame,
                    const std::function<void(int, int, int)>& interior)
{
    Stroke stroke = MakeStroke(d, w);
    if (width <= 1) {
        const double a = box.Width() / 2.0, b = box.Height() / 2.0;
        const double cx = box.left + a, cy = box.top + b;
        // Ramanujan's perimeter: dash positions run along the curve.
        const double perimeter = std::numbers::pi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
        const bool styled = !stroke.pattern.runs.empty();
        gdi::SplitBorder(gdi::EllipseRows(box), [&](int y, int x0, int x1) {
            for (int x = x0; x < x1; ++x) {
                if (styled) {
                    const double t = std::atan2((y + 0.5 - cy) / b, (x + 0.5 - cx) / a) + std::numbers::pi;
                    stroke.phase = int(t / (2 * std::numbers::pi) * perimeter);
                }
                stroke(x, y);
            }
        }, interior);
        return;
    }
    CRect outer = box, inner = box;
    if (insideFrame) {
        inner.DeflateRect(width, width);
    } else {
        outer.InflateRect(width / 2, width / 2);
        inner.DeflateRect(width - width / 2, width - width / 2);
    }
    const gdi::RowSpans in = gdi::EllipseRows(inner);
    gdi::SubtractRows(gdi::EllipseRows(outer), in, [&](int y, int x0, int x1) { w.Span(y, x0, x1, stroke.on); });
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
        gdi::TraceLine(pts[0].x, pts[0].y, pts[1].x, pts[1].y, stroke);
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
            gdi::TraceLine(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, stroke);
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
                gdi::TraceLine(a.x, a.y, b.x, b.y, [&](int x, int y) {
                    if (mask.Take(x, y, PixelMask::kOutline))
                        stroke(x, y);
                    else
                        ++stroke.phase;
                });
            }
        } else {
            const std::uint32_t c = gdi::ToDevice(d.s.penData.lopnColor, sf.format);
            WidePixels(pts, true, width, sf.clip, [&](int x, int y) {
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
            for (int y = box.top; y < box.bottom - 1; ++y)
                w.Span(y, box.left, box.right - 1, fill);
        return true;
    }
    const int width = PenWidth(d.s.penData);
    CRect inner = box;
    if (width == 1) {
        Stroke stroke = MakeStroke(d, w);
        d.dashPhase = 0;
        RectPerimeter(box, stroke);
        inner.DeflateRect(1, 1);
    } else {
        CRect outer = box;
        if (d.s.penData.lopnStyle == unsigned(PS_INSIDEFRAME)) {
            inner.DeflateRect(width, width);
        } else {
            outer.InflateRect(width / 2, width / 2);
            inner.DeflateRect(width - width / 2, width - width / 2);
            d.Touch(outer);
        }
        const std::uint32_t c = gdi::ToDevice(d.s.penData.lopnColor, sf.format);
        gdi::SubtractRows(gdi::RectRows(outer), gdi::RectRows(inner),
                          [&](int y, int x0, int x1) { w.Span(y, x0, x1, c); });
    }
    if (filled && !inner.IsRectEmpty())
        for (int y = inner.top; y < inner.bottom; ++y)
            w.Span(y, inner.left, inner.right, fill);
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
        const gdi::RowSpans rows = gdi::EllipseRows(box);
        for (size_t i = 0; i < rows.rows.size(); ++i)
            if (rows.rows[i].first <= rows.rows[i].second)
                interior(rows.top + int(i), rows.rows[i].first, rows.rows[i].second + 1);
        return true;
    }
    const int width = PenWidth(d.s.penData);
    if (width > 1) {
        CRect outer = box;
        outer.InflateRect(width / 2, width / 2);
        d.Touch(outer);
    }
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
    const std::uint32_t c = gdi::ToDevice(e.brush.lbColor, sf.format);
    for (int y = box.top; y < box.bottom; ++y)
        w.Span(y, box.left, box.right, c);
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
    const std::uint32_t c = gdi::ToDevice(color, sf.format);
    for (int y = box.top; y < box.bottom; ++y)
        w.Span(y, box.left, box.right, c);
    d.Touch(box);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const CRect r(x, y, x + cx, y + cy);
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
    RectPerimeter(box, [&](int x, int y) { w.Pixel(x, y, c); });
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
    RectPerimeter(box, [&](int x, int y) {
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
    std::uint32_t c = gdi::ToDevice(d.s.brushData.lbColor, sf.format);
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
    const CRect box = DeviceBox(d, x, y, x + width, y + height);
    for (int row = box.top; row < box.bottom; ++row)
        w.Span(row, box.left, box.right, c);
    d.Touch(box);
    return true;
}
