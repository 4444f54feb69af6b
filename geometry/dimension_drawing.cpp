#include "geometry/dimension_drawing.h"

#include <algorithm>
#include <cmath>

#include "geometry/GeometryState.h"
#include "geometry/raster.h"
#include "geometry/view_transform.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"

DimPenScope::DimPenScope(CDC* dc, int style, COLORREF colour, int rop)
    : m_dc(dc), m_pen(style, g_PenWidth, colour)
{
    if (m_dc == nullptr)
        return;
    m_oldPen = m_dc->SelectObject(&m_pen);
    if (rop > 0)
        m_oldRop = m_dc->SetROP2(rop);
    m_dc->SetBkColor(g_PreviewBackColor);
    m_dc->SetBkMode(g_BackgroundMode);
}

DimPenScope::~DimPenScope()
{
    if (m_dc == nullptr)
        return;
    if (m_oldBrush != nullptr)
        m_dc->SelectObject(m_oldBrush);
    if (m_oldRop > 0)
        m_dc->SetROP2(m_oldRop);
    if (m_oldPen != nullptr)
        m_dc->SelectObject(m_oldPen);
}

void DimPenScope::Brush(unsigned style, COLORREF colour)
{
    if (m_dc == nullptr || m_brush.GetSafeHandle() != nullptr)
        return;
    LOGBRUSH lb{};
    lb.lbStyle = style;
    lb.lbColor = colour;
    if (!m_brush.CreateBrushIndirect(&lb))
        return;
    m_oldBrush = m_dc->SelectObject(&m_brush);
}

void DimLineSink::operator()(const x_Vector& a, const x_Vector& b) const
{
    const POINT s = WorldToScreen(a), e = WorldToScreen(b);
    if (toRaster) {
        if (raster != nullptr)
            DrawLineCurrentStyle(raster, s.x, s.y, e.x, e.y);
        return;
    }
    if (dc == nullptr)
        return;
    dc->MoveTo(s.x, s.y);
    dc->LineTo(e.x, e.y);
    g_PenPosValid = 0;
}

double DimTextScale()
{
    const double s = g_ViewScale;
    return std::isnan(s) ? 1.0 : std::clamp(s, 1.0, 3.0);
}

double DirectionOf(const x_Vector& a, const x_Vector& b)
{
    return x_Vector::AngleTo(a, b);
}

//   θ  = φ + 0.75 (less 2π above 2π),  θ' = θ + π (less 2π above 2π)
//   tick at X: X + s·(cos θ', sin θ')  →  X + s·(cos θ, sin θ)
void DrawObliqueTicks(const DimLineSink& sink, const x_Vector& lineStart, const x_Vector& lineEnd,
                      double length, double phi)
{
    const double s = std::min(length, 10.0) * 0.25 / 10.0;
    double theta = NormalizeAngle(phi) + 0.75;
    if (theta > kTwoPi)
        theta -= kTwoPi;
    double back = theta + kPi;
    if (back > kTwoPi)
        back -= kTwoPi;
    for (const x_Vector& x : {lineStart, lineEnd})
        sink(x + x_Vector::FromPolar(s, back), x + x_Vector::FromPolar(s, theta));
}

void DrawArrowhead(CDC* dc, const x_Vector& tip, double theta)
{
    if (dc == nullptr)
        return;
    POINT pixels[3];
    for (int i = 0; i < 3; ++i) {
        x_Vector p = g_DimArrowTemplate[i];
        p.RotateAbout(x_Vector(0, 0), theta);
        pixels[i] = WorldToScreen(p + tip);
    }
    dc->Polygon(pixels, 3);
}

namespace {

void WriteLabel(CDC* dc, const x_Vector& anchor, const CString& text, COLORREF colour, int height, int dx,
                int dy)
{
    if (dc == nullptr)
        return;
    CFont font;
    font.CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 2, u"Arial");
    CFont* oldFont = dc->SelectObject(&font);
    const COLORREF oldColour = dc->SetTextColor(colour);
    const unsigned oldAlign = dc->SetTextAlign(0);
    const POINT p = WorldToScreen(anchor);
    dc->ExtTextOut(OffsetPixel(p.x, dx), OffsetPixel(p.y, dy), 0, nullptr, text.GetString(), text.GetLength());
    dc->SetTextAlign(oldAlign);
    dc->SetTextColor(oldColour);
    dc->SelectObject(oldFont);
}

} // namespace

void DrawDimLabel(CDC* dc, const x_Vector& anchor, const CString& text, COLORREF colour, int dx, int dy)
{
    const double k = DimTextScale();
    WriteLabel(dc, anchor, text, colour, static_cast<int>(std::trunc(5 * k)), dx, dy);
}

void DrawDimLabel(CDC* dc, const x_Vector& anchor, const CString& text, COLORREF colour)
{
    const double k = DimTextScale();
    DrawDimLabel(dc, anchor, text, colour, -static_cast<int>(std::trunc(10 * k)),
                 -static_cast<int>(std::trunc(4.8 * k)));
}

void DrawRubberLabel(CDC* dc, const x_Vector& anchor, const CString& text)
{
    const double k = DimTextScale();
    WriteLabel(dc, anchor, text, RGB(255, 0, 0), 15, -static_cast<int>(std::trunc(10 * k)),
               -static_cast<int>(std::trunc(4.8 * k)));
}
