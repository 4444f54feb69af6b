#include "geometry/CSplines.h"

#include <algorithm>
#include <cmath>

#include "geometry/GeometryState.h"
#include "geometry/dc_lines.h"
#include "geometry/grip_pairs.h"
#include "geometry/hover_highlight.h"
#include "geometry/path_services.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CSplines, CUnit, 1)

namespace {

constexpr int kNodeBytes = 24;              // x, y, valid, 7 padding bytes
constexpr double kHitMarginPx = 80.0;
constexpr double kExactHitExcess = 0.1;     // mm, d(P,A) + d(P,B) - |AB|
constexpr double kPixelHitExcess = 1.2;
constexpr int kPixelHitGrowth = 15;
constexpr double kFlatTolerance = 0.01;     // resampling of the drawn curve
constexpr double kInvoluteDrawStep = 0.08;

void StoreNode(CArchive& ar, const x_Vector& p)
{
    const std::uint8_t pad[7] = {};
    ar << p.x << p.y << p.valid;
    ar.Write(pad, sizeof pad);
}

x_Vector LoadNode(CArchive& ar)
{
    x_Vector p;
    std::uint8_t pad[7];
    ar >> p.x >> p.y >> p.valid;
    ar.ReadExact(pad, sizeof pad);
    return p;
}

} // namespace

CSplines::CSplines() : CUnit(UnitFamily::spline)
{
    CUnit::ResetState();
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_CurrentColor;
    dashDot = g_CurrentDashDot;
    for (UnitGeometry* g : {&geometry, &workGeometry}) {
        g->spline.kind = 0;
        g->spline.closed = 0;
        g->spline.mirrored = 0;
        g->spline.baseCentre = x_Vector(0.0, 0.0);
    }
    pieceOf = 0;
    g_SplineStep = 0.5;
}

CSplines::~CSplines()
{
    CUnit::FreeCaches();
}

// Tail: kind, closed, base centre, six doubles, mirrored, degree (71 bytes),
// then the node count and the nodes in their 24-byte raw form.
void CSplines::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    SplineRecord& s = geometry.spline;
    if (ar.IsStoring()) {
        ar << s.kind << std::uint8_t(s.closed ? 1 : 0) << s.baseCentre;
        ar << s.baseRadius << s.angleOffsetA << s.angleOffsetB << s.endParam << s.startParam
           << s.phase << std::uint8_t(s.mirrored ? 1 : 0) << s.degree;
        ar.WriteCount(static_cast<size_t>(nodes.GetSize()));
        for (int i = 0; i < nodes.GetSize(); ++i)
            StoreNode(ar, nodes[i]);
        return;
    }
    ar >> s.kind >> s.closed >> s.baseCentre;
    ar >> s.baseRadius >> s.angleOffsetA >> s.angleOffsetB >> s.endParam >> s.startParam
       >> s.phase >> s.mirrored >> s.degree;
    const size_t count = ar.ReadCount();
    ar.CheckCount(count, kNodeBytes);
    nodes.RemoveAll();
    nodes.SetSize(static_cast<int>(count));
    for (size_t i = 0; i < count; ++i)
        nodes[static_cast<int>(i)] = LoadNode(ar);
    workGeometry.spline = s;
    flatValid = 0;
    gripsValid = 0;
}

// --- curve builders ---

void CSplines::RebuildCurve(int flag)
{
    if (workGeometry.spline.kind == 2)
        BuildClampedCurve();
    else if (flag == 0 && geometry.spline.closed)
        BuildClosedCurve();
    else
        BuildOpenCurve();
}

void CSplines::BuildInvoluteCurve()
{
    BuildInvolute(workGeometry.spline, g_SplineStep, workCurve, keyPoints);
}

void CSplines::ComputeSampleStep()
{
    g_SplineStep = SampleStepFor(keyPoints, g_SplineStep);
}

void CSplines::BuildClosedCurve()
{
    BuildClosedCubic(keyPoints, workspace, workCurve);
    geometry.spline.closed = 1;
}

void CSplines::BuildOpenCurve()
{
    BuildOpenCubic(keyPoints, workspace, workCurve);
}

x_Vector CSplines::NearestEnd(const x_Vector& point, double* distance)
{
    // Works on the two points of a line record, which a spline never sets.
    const x_LineData unset;
    const x_Vector& a = unset.p1;
    const x_Vector& b = unset.p2;
    const double da = x_Vector::Distance(point, a), db = x_Vector::Distance(point, b);
    if (distance != nullptr)
        *distance = std::min(da, db);
    return db < da ? b : a;
}

void CSplines::BasisFunctions(int c, double t, int n, const int* x, const double* w, double* r)
{
    BSplineBasis(c, t, n, x, w, r);
}

void CSplines::ClampedKnots(int n, int c, int* x)
{
    ::ClampedKnots(n, c, x);
}

void CSplines::EvaluateClamped(int n, int c, int m, const double* b, const double* w, double* p)
{
    ::EvaluateClamped(n, c, m, b, w, p);
}

void CSplines::UniformKnots(int n, int c, int* x)
{
    ::UniformKnots(n, c, x);
}

void CSplines::EvaluateUniform(int n, int c, int m, const double* b, const double* w, double* p)
{
    ::EvaluateUniform(n, c, m, b, w, p);
}

void CSplines::BuildClampedCurve()
{
    BuildBSpline(keyPoints, workGeometry.spline.degree, workGeometry.spline.closed != 0, workCurve);
}

// --- drawing ---

// A three-node spline used to be drawn as its polyline while path
// preparation cut the cubic; both now use the cubic.
void CSplines::RefreshFlatPoints()
{
    flatValid = 1;
    if (workGeometry.spline.kind == 1) {
        g_SplineStep = kInvoluteDrawStep;
        BuildInvoluteCurve();
        flatPoints.Copy(workCurve);
        return;
    }
    ComputeSampleStep();
    if (keyPoints.GetSize() >= 1)
        RebuildCurve(0);
    else
        workCurve.RemoveAll();
    ResamplePoints(flatPoints, workCurve.GetData(), workCurve.GetSize(), kFlatTolerance);
    if (flatPoints.GetSize() < 3)
        flatPoints.Copy(workCurve);
}

void CSplines::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::curve);
    if (mode == 0) {
        workGeometry.spline = geometry.spline;
        if (dc != nullptr) {
            CPen pen(style.lineStyle == 1 ? PS_DASH : PS_SOLID, g_PenWidth, style.colour);
            CPen* old = dc->SelectObject(&pen);
            const int rop = dc->SetROP2(R2_COPYPEN);
            const int bk = dc->SetBkMode(g_BackgroundMode);
            DrawPointList(dc, workCurve, 0, nullptr);
            dc->SetBkMode(bk);
            dc->SetROP2(rop);
            dc->SelectObject(old);
        }
    } else if (mode == 1) {
        g_RasterDrawColor = style.colour;
        g_RasterDrawStyle = style.rasterPattern;
        workGeometry.spline = geometry.spline;
        keyPoints.Copy(nodes);
        if (!flatValid)
            RefreshFlatPoints();
        else
            workCurve.Copy(flatPoints);
        if (selected && splitMarked)
            DrawSplit(raster, style);
        else
            DrawPointList(dc, workCurve, 1, raster);
    }
    complete = 1;
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
    if (mode != 0 && mode != 1) {
        g_RasterDrawColor = style.colour;
        g_RasterDrawStyle = style.rasterPattern;
        DrawPointList(dc, workCurve, 1, raster);
    }
    workCurve.RemoveAll();
}

// The part before the split point and the part after it in the two
// style-and-colour pairs: the chosen direction shows as selected.
void CSplines::DrawSplit(std::uint8_t* raster, const UnitDrawStyle&)
{
    const x_Vector s = edit->splitPoint;
    auto pattern = [&](int style) {
        return static_cast<std::uint8_t>(style == 1 && dashDot ? 3 : (style < 0 || style > 2 ? 0 : style));
    };
    const bool forward = splitDir == 1;
    workCurve.RemoveAll();
    int k = -1;
    for (int i = 0; i + 1 < flatPoints.GetSize(); ++i) {
        const x_Vector& a = flatPoints[i];
        const x_Vector& b = flatPoints[i + 1];
        workCurve.Add(a);
        if (x_Vector::Distance(b, s) + x_Vector::Distance(a, s) - x_Vector::Distance(a, b) < 0.01) {
            workCurve.Add(s);
            k = i + 1;
            break;
        }
    }
    g_RasterDrawColor = forward ? g_CurrentColor : g_SelectedColor;
    g_RasterDrawStyle = pattern(forward ? g_CurrentLineStyle : g_MarkLineStyle);
    DrawPointList(nullptr, workCurve, 1, raster);
    if (k < 0)
        return;
    workCurve.RemoveAll();
    workCurve.Add(s);
    for (int i = k; i < flatPoints.GetSize(); ++i)
        workCurve.Add(flatPoints[i]);
    g_RasterDrawColor = forward ? g_SelectedColor : g_CurrentColor;
    g_RasterDrawStyle = pattern(forward ? g_MarkLineStyle : g_CurrentLineStyle);
    DrawPointList(nullptr, workCurve, 1, raster);
}

void CSplines::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    CPen pen(g_RubberLineStyle, g_PenWidth, g_ActiveColor);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    const int bk = dc->SetBkMode(g_BackgroundMode);
    g_PenPosValid = 0;
    DrawPointList(dc, workCurve, 0, nullptr);
    dc->SetBkMode(bk);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

void CSplines::DrawHighlight(CDC* dc, int show)
{
    if (dc == nullptr || !HoverHighlightDraws(*this, show, picked))
        return;
    CPen pen(lineStyle, 3, RGB(255, 255, 255) - colour);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    const int bk = dc->SetBkMode(g_BackgroundMode);
    g_PenPosValid = 0;
    DrawPointList(dc, flatPoints, 0, nullptr);
    dc->SetBkMode(bk);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

void CSplines::DrawGrips(CDC* dc)
{
    if (gearKind || dc == nullptr)
        return;
    DrawGripSquares(*this, dc);
}

// --- picking and measuring ---

int CSplines::HitTestGrip(x_Vector point)
{
    return FindGrip(point);
}

bool CSplines::HitTest(x_Vector p, std::uint8_t exact)
{
    const double margin = kHitMarginPx / ClampViewScale();
    if (p.x < extentMin.x - margin || p.x > extentMax.x + margin || p.y < extentMin.y - margin ||
        p.y > extentMax.y + margin)
        return false;
    const int n = flatPoints.GetSize();
    if (n == 0)
        return false;
    auto hitAt = [&](int index, int a) {
        hitSegment = index;
        if (n >= 2) {
            inputPoints[0] = flatPoints[a];
            inputPoints[1] = flatPoints[a + 1];
        }
        return true;
    };
    if (exact) {
        if (p.IsEqual(GetStartPoint()))
            return hitAt(0, 0);
        if (p.IsEqual(GetEndPoint()))
            return hitAt(n - 1, n - 2);
        for (int i = 1; i < n; ++i) {
            const x_Vector& a = flatPoints[i - 1];
            const x_Vector& b = flatPoints[i];
            const x_Vector lo = x_Vector::MinCorner(a, b), hi = x_Vector::MaxCorner(a, b);
            if (p.x < lo.x || p.x > hi.x || p.y < lo.y || p.y > hi.y)
                continue;
            if (x_Vector::Distance(p, a) + x_Vector::Distance(p, b) - x_Vector::Distance(a, b) < kExactHitExcess)
                return hitAt(i, i - 1);
        }
        return false;
    }
    hitSegment = -1;
    const POINT q = WorldToScreen(p);
    for (int i = 1; i < n; ++i) {
        const POINT a = WorldToScreen(flatPoints[i - 1]);
        const POINT b = WorldToScreen(flatPoints[i]);
        if (q.x < std::min(a.x, b.x) - kPixelHitGrowth || q.x >= std::max(a.x, b.x) + kPixelHitGrowth ||
            q.y < std::min(a.y, b.y) - kPixelHitGrowth || q.y >= std::max(a.y, b.y) + kPixelHitGrowth)
            continue;
        const int e = DistanceIntRounded(q.x, q.y, a.x, a.y) + DistanceIntRounded(q.x, q.y, b.x, b.y) -
                      DistanceIntRounded(a.x, a.y, b.x, b.y);
        if (e < kPixelHitExcess)
            return hitAt(i, i - 1);
    }
    return false;
}

bool CSplines::SnapPoints(x_Vector&, x_Vector& cursor, int, int)
{
    const int count = workGeometry.spline.kind == 2 ? std::min(1, flatPoints.GetSize())
                                                    : flatPoints.GetSize();
    for (int i = 0; i < count; ++i) {
        if (GripSquareHit(cursor, flatPoints[i])) {
            edit->gripHit = flatPoints[i];
            snapKind = 1;
            return true;
        }
    }
    return false;
}

void CSplines::ComputeExtents()
{
    if (nodes.GetSize() == 0)
        return;
    x_Vector lo = nodes[0], hi = nodes[0];
    for (int i = 1; i < nodes.GetSize(); ++i) {
        lo = x_Vector::MinCorner(lo, nodes[i]);
        hi = x_Vector::MaxCorner(hi, nodes[i]);
    }
    extentMin = x_Vector(lo.x, lo.y);
    extentMax = x_Vector(hi.x, hi.y);
}

// Compares with the last key point only: a repeated click on the node just
// set adds nothing.
int CSplines::FindNodeAt(x_Vector point)
{
    const int n = keyPoints.GetSize();
    if (n >= 1 && x_Vector::Distance(point, keyPoints[n - 1]) < 0.01)
        return 0;
    return -1;
}

x_Vector CSplines::NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t, double* distance, int)
{
    out = PerpendicularFoot(point, inputPoints[0], inputPoints[1]);
    if (distance != nullptr)
        *distance = x_Vector::Distance(out, point);
    return out;
}

x_Vector CSplines::GetStartPoint()
{
    if (geometry.spline.kind == 1)
        return InvolutePoint(geometry.spline, geometry.spline.startParam);
    return flatPoints.GetSize() > 0 ? flatPoints[0] : Unset();
}

x_Vector CSplines::GetEndPoint()
{
    if (geometry.spline.kind == 1)
        return InvolutePoint(geometry.spline, geometry.spline.endParam);
    const int n = flatPoints.GetSize();
    return n > 0 ? flatPoints[n - 1] : Unset();
}

void CSplines::SetStartPoint(x_Vector point)
{
    if (flatPoints.GetSize() > 0)
        flatPoints[0] = point;
}

void CSplines::SetEndPoint(x_Vector point)
{
    const int n = flatPoints.GetSize();
    if (n > 0)
        flatPoints[n - 1] = point;
}

double CSplines::GetLength()
{
    double total = 0.0;
    for (int i = 1; i < flatPoints.GetSize(); ++i)
        total += x_Vector::Distance(flatPoints[i - 1], flatPoints[i]);
    return total;
}

x_Vector CSplines::GetMidPoint()
{
    const int n = nodes.GetSize();
    return n > 0 ? nodes[n / 2] : Unset();
}

void CSplines::UpdateGripPoints()
{
    gripPoints.Copy(nodes);
}
