// Typed input of the curve commands: radii, semi-axes, angles, side counts
// and the wave peak.
//   5 ellipse, 6 elliptic arc: two axis points, then the semi-axis (and the
//     two angles of the arc).
//   7 circle, 8 arc: points, a radius by the chord rule, a sweep angle.
//   9 polyline arc pieces: two points, then the signed radius.
//   10 polygon: the side count, then points or a side length ("l").
//   11 spline: points, "c" closes, an empty line ends it.
//   23 wave line: the peak, then points.

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/CPolygon.h"
#include "geometry/CSplines.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

// Brings an angle into [0, 2π) with at most one turn.
double OneTurn(double a)
{
    if (a < 0)
        return a + kTwoPi;
    if (a >= kTwoPi)
        return a - kTwoPi;
    return a;
}

} // namespace

// Chord rule: the centre of a circle of radius |r| through p1 and p2.
//
//          c1
//          |  h = √(r² − (chord/2)²)
//   p1 ----m---- p2
//          |
//          c2
//
// Candidate 1 has the larger x (the larger y when both share x). A valid
// previous centre takes the nearer candidate (a tie takes 2); otherwise the
// sign of r chooses. Returns 1 with the centre, 0 when the radius is too
// small (printed), -1 when the points coincide (the chord has no normal).
int CZorvaView::ChordCentre(const x_Vector& p1, const x_Vector& p2, double r, const x_Vector* previous,
                            x_Vector& centre)
{
    const x_Vector chord = p2 - p1;
    const double len = std::hypot(chord.x, chord.y);
    if (len < 1e-10)
        return -1;
    const double half = len / 2;
    if (std::fabs(r) < half) {
        CString text;
        text.Format(u"#半径设置过小，最小值 > %.3f", half);
        PrintLine(text);
        return 0;
    }
    const double h = std::sqrt(std::max(0.0, r * r - half * half));
    const x_Vector mid = (p1 + p2) / 2;
    const x_Vector normal(-chord.y / len, chord.x / len);
    x_Vector c1 = mid + normal * h, c2 = mid - normal * h;
    const bool swap = std::fabs(c1.x - c2.x) < 1e-12 ? c2.y > c1.y : c2.x > c1.x;
    if (swap)
        std::swap(c1, c2);
    if (previous != nullptr)
        centre = x_Vector::Distance(c1, *previous) < x_Vector::Distance(c2, *previous) ? c1 : c2;
    else
        centre = r >= 0 ? c1 : c2;
    return 1;
}

// Places the floating arc as centre, radius and the angles to its two
// points; the direction stays as the working copy has it.
void CZorvaView::SetArcByCentre(CUnit* arc, const x_Vector& c, double radius, const x_Vector& p1,
                                const x_Vector& p2)
{
    ArcRecord& w = arc->workGeometry.arc;
    w.centre = c;
    w.radius = radius;
    w.startAngle = x_Vector::AngleTo(c, p1);
    w.endAngle = x_Vector::AngleTo(c, p2);
    arc->CommitTransform();
}

// The working arc's centre counts once its rubber band has drawn it.
static const x_Vector* PreviousArcCentre(CUnit* arc)
{
    return arc->workGeometry.arc.radius > 0 && arc->workGeometry.arc.centre.valid ? &arc->workGeometry.arc.centre
                                                                                     : nullptr;
}

void CZorvaView::SwitchToLinePieces()
{
    if (m_polyArcMode) {
        m_polyArcMode = 0;
        m_subStep = 0;
        g_cmdPointCount = 0;
        ++g_UnitIdCounter;
        auto* line = new CLine(m_basePoint.x, m_basePoint.y, m_basePoint.x, m_basePoint.y);
        line->workGeometry.line = line->geometry.line;
        NewFloating(line);
        line->inputPoints[0] = line->inputPoints[1] = m_basePoint;
        m_secondPoint = m_basePoint;
        g_cmdPointCount = 1;
        m_subStep = 1;
    }
    ShowPrompt(CString(), 0);
}

void CZorvaView::SwitchToArcPieces()
{
    if (!m_polyArcMode) {
        m_polyArcMode = 1;
        ++g_UnitIdCounter;
        auto* arc = new CArc();
        NewFloating(arc);
        arc->inputPoints[0] = arc->inputPoints[1] = m_basePoint;
        g_cmdPointCount = 1;
        m_subStep = 1;
    }
    ShowPrompt(CString(), 0);
}

bool CZorvaView::TypedPolylineArc(CDC* dc, const CString& text)
{
    const TypedValues t = ReadTyped(text);
    if (m_subStep < 2) {
        if (t.n >= 2)
            FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
        else if (t.n == 1)
            FeedTypedPoint(dc, TowardCursor(m_basePoint, t.v[0]), -1);
        return t.n >= 1;
    }
    CUnit* arc = m_pFloatUnit;
    CZorvaDoc* doc = GetZorvaDoc();
    if (t.n < 1 || arc == nullptr || arc->GetType() != 8 || doc == nullptr)
        return false;
    const x_Vector p1 = arc->inputPoints[0], p2 = arc->inputPoints[1];
    x_Vector c;
    const int found = ChordCentre(p1, p2, t.v[0], PreviousArcCentre(arc), c);
    if (found <= 0)
        return found == 0;
    SetArcByCentre(arc, c, std::fabs(t.v[0]), p1, p2);
    arc->complete = 1;
    arc->group = m_groupBase + 1;
    arc->pieceOf = 2;
    doc->AppendUnit(arc);
    for (CUnit* u : doc->m_unitList)
        if (!u->deleted && u->group == arc->group)
            u->UpdateGripPoints();
    PurgeDegenerateEntities(0);
    Render(dc);
    ++g_UnitIdCounter;
    auto* next = new CArc();
    NewFloating(next);
    next->inputPoints[0] = next->inputPoints[1] = m_basePoint;
    g_cmdPointCount = 1;
    m_subStep = 1;
    ShowPrompt(CString(), 0);
    return true;
}

// Points of the first steps: a pair, or a distance from the base point.
bool CZorvaView::TypedPointOrDistance(CDC* dc, const TypedValues& t, int kind)
{
    if (t.n >= 2)
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, kind);
    else if (t.n == 1)
        FeedTypedPoint(dc, TowardCursor(m_basePoint, t.v[0]), kind);
    return t.n >= 1;
}

bool CZorvaView::TypedEllipse(CDC* dc, const CString& text)
{
    if (text == u"u") {
        BackOnePoint(dc, false);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    if (m_subStep < 2)
        return TypedPointOrDistance(dc, t, 2);
    CUnit* ellipse = m_pFloatUnit;
    if (t.n < 1 || ellipse == nullptr)
        return false;
    EllipseRecord& w = ellipse->workGeometry.ellipse;
    if (m_subStep == 2) {
        // Coincident axis points give no major semi-axis to divide by.
        const double major = std::hypot(w.majorAxis.x, w.majorAxis.y);
        if (major < 1e-10)
            return false;
        // The image on the screen goes with the old axis ratio.
        if (g_curCommand == kCmdEllipseArc && g_rubberShown)
            ellipse->DrawRubber(dc, m_cursorPoint);
        w.axisRatio = t.v[0] / major;
        if (g_curCommand == kCmdEllipse) {
            w.startParam = 0.0;
            w.endParam = kTwoPi;
            PlaceTypedEntity();
            return true;
        }
        // The arc's image with the typed axis, as a click would show it.
        ellipse->DrawRubber(dc, m_cursorPoint);
        g_rubberShown = 1;
    } else if (m_subStep == 3) {
        w.startParam = Radians(t.v[0]);
    } else {
        w.endParam = Radians(t.v[0]);
        PlaceTypedEntity();
        return true;
    }
    ++g_cmdPointCount;
    ++m_subStep;
    ShowPrompt(CString(), 0);
    return true;
}

void CZorvaView::PlaceTypedEntity()
{
    if (m_pFloatUnit != nullptr) {
        m_pFloatUnit->CommitTransform();
        m_pFloatUnit->gripsValid = 0;
    }
    EndPointInput();
    SetCommand(0);
}

bool CZorvaView::TypedCircle(CDC* dc, const CString& text)
{
    if (text == u"u") {
        BackOnePoint(dc, false);
        return true;
    }
    const int mode = GetCommandMode(kCmdCircle - 1);
    const TypedValues t = ReadTyped(text);
    if (m_subStep == 0) {
        if (t.n < 2)
            return false;
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, 2);
        return true;
    }
    if (mode == 1 || (mode == 2 && m_subStep == 1))
        return TypedPointOrDistance(dc, t, 2);
    if (t.n >= 2) {
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, 2);
        return true;
    }
    CUnit* circle = m_pFloatUnit;
    if (t.n != 1 || circle == nullptr)
        return false;
    x_Vector centre = m_basePoint;
    double radius = t.v[0];
    if (mode == 2) {
        const CircleRecord& w = circle->workGeometry.circle;
        const x_Vector* previous = w.radius > 0 ? &w.centre : nullptr;
        const int found = ChordCentre(m_basePoint, m_secondPoint, t.v[0], previous, centre);
        if (found <= 0)
            return found == 0;
        radius = std::fabs(t.v[0]);
    } else if (radius <= 0) {
        return false;   // a circle needs a positive radius
    }
    circle->workGeometry.circle.centre = centre;
    circle->workGeometry.circle.radius = radius;
    PlaceTypedEntity();
    return true;
}

bool CZorvaView::TypedArc(CDC* dc, const CString& text)
{
    if (text == u"u") {
        BackOnePoint(dc, false);
        return true;
    }
    const int mode = GetCommandMode(kCmdArc - 1);
    const TypedValues t = ReadTyped(text);
    CUnit* arc = m_pFloatUnit;
    if (mode == 0) {
        if (t.n >= 2) {
            FeedTypedPoint(dc, {t.v[0], t.v[1]}, 2);
            return true;
        }
        if (t.n != 1 || m_subStep < 1 || arc == nullptr)
            return false;
        FeedTypedPoint(dc, TowardCursor(arc->inputPoints[m_subStep == 1 ? 0 : 1], t.v[0]), 2);
        return true;
    }
    if (m_subStep < 2)
        return TypedPointOrDistance(dc, t, 2);
    if (t.n < 1 || arc == nullptr)
        return false;
    const x_Vector p1 = arc->inputPoints[0], p2 = arc->inputPoints[1];
    if (mode == 1) {
        x_Vector c;
        const int found = ChordCentre(p1, p2, t.v[0], PreviousArcCentre(arc), c);
        if (found <= 0)
            return found == 0;
        SetArcByCentre(arc, c, std::fabs(t.v[0]), p1, p2);
    } else {
        // Centre, start point and a sweep: counter-clockwise in mode 2.
        const double radius = x_Vector::Distance(p1, p2);
        if (radius < 1e-10)
            return false;
        const double a = Radians(std::fabs(t.v[0]));
        ArcRecord& w = arc->workGeometry.arc;
        w.centre = p1;
        w.radius = radius;
        w.startAngle = x_Vector::AngleTo(p1, p2);
        w.endAngle = OneTurn(mode == 2 ? w.startAngle + a : w.startAngle - a);
        w.direction = mode == 2 ? 0 : 1;
    }
    PlaceTypedEntity();
    return true;
}

bool CZorvaView::TypedPolygon(CDC* dc, const CString& text)
{
    if (text == u"u") {
        BackOnePoint(dc, false);
        return true;
    }
    if (m_subStep == 0) {
        if (IsIntegerText(text)) {
            // Clamped as a double: "99999999999" would wrap as an int.
            const double sides = TextToDouble(text);
            if (sides > kMaxPolygonSides)
                return false;
            g_PolygonSides = sides < 3 ? 3 : static_cast<int>(sides);
            g_SettingsDirty = 1;
            StartTypedPolygon();
            CString count;
            count.Format(u"%d", g_PolygonSides);
            ShowPrompt(count, 1);
        } else {
            StartTypedPolygon();
        }
        ++m_subStep;
        ShowPrompt(CString(), 0);
        return true;
    }
    CString rest = text;
    const bool bySide = !rest.IsEmpty() && rest[0] == u'l';
    if (bySide) {
        rest = rest.Mid(1);
        rest.Trim();
    }
    const TypedValues t = ReadTyped(rest);
    if (t.n >= 2) {
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
        return true;
    }
    if (t.n != 1)
        return false;
    const int k = g_PolygonSides < 3 ? 3 : g_PolygonSides;
    // The circumradius of a regular k-gon with side s is s/2 / sin(π/k).
    const double d = bySide ? t.v[0] / 2 / std::sin(kPi / k) : t.v[0];
    FeedTypedPoint(dc, TowardCursor(m_basePoint, d), -1);
    return true;
}

void CZorvaView::StartTypedPolygon()
{
    ++g_UnitIdCounter;
    auto* polygon = new CPolygon();
    polygon->geometry.polygon.sides = polygon->workGeometry.polygon.sides = g_PolygonSides;
    NewFloating(polygon);
}

bool CZorvaView::TypedSpline(CDC* dc, const CString& text)
{
    CUnit* spline = m_pFloatUnit;
    if (text == u"u") {
        if (spline != nullptr && spline->keyPoints.GetSize() > 0) {
            if (!g_inputPoints.IsEmpty())
                g_inputPoints.RemoveAt(g_inputPoints.GetSize() - 1);
            if (!spline->nodes.IsEmpty())
                spline->nodes.RemoveAt(spline->nodes.GetSize() - 1);
            spline->keyPoints.Copy(spline->nodes);
            --g_cmdPointCount;
            --m_subStep;
            Render(dc);
        }
        return true;
    }
    if (text == u"c")
        return spline == nullptr || CloseSpline();
    if (text.IsEmpty()) {
        if (g_cmdPointCount < 2 || spline == nullptr) {
            ShowPrompt(CString(), 0);
            return true;
        }
        if (GetCommandMode(kCmdSpline - 1) == 1)
            return CloseSpline();
        spline->geometry.spline.closed = spline->workGeometry.spline.closed = 0;
        spline->nodes.Add(m_cursorPoint);
        EndPointInput();
        SetCommand(0);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    if (t.n >= 2) {
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, 2);
        return true;
    }
    PrintLine(CString(u"#输入有误"));
    ShowPrompt(CString(), 0);
    return true;
}

bool CZorvaView::TypedWave(CDC* dc, const CString& text)
{
    if (text == u"u") {
        BackOnePoint(dc, false);
        return true;
    }
    if (m_subStep == 0) {
        if (IsIntegerText(text)) {
            g_WavePeak = TextToDouble(text);
            g_SettingsDirty = 1;
            ShowPrompt(FormatNumber4(g_WavePeak), 1);
        }
        ++g_UnitIdCounter;
        auto* wave = new CSplines();
        wave->geometry.spline.closed = wave->workGeometry.spline.closed = 0;
        NewFloating(wave);
        ++m_subStep;
        ShowPrompt(CString(), 0);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    if (m_pFloatUnit != nullptr && t.n >= 1)
        m_pFloatUnit->geometry.spline.closed = m_pFloatUnit->workGeometry.spline.closed = 0;
    return TypedPointOrDistance(dc, t, -1);
}
