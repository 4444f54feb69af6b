// Typed input of the drawing commands, lines and points: two numbers give a
// point, one number a distance, and a few letters steer the command ("u"
// back one point, "c" close, "l"/"a" polyline pieces, "@" polar input).
//   1 line, 9 polyline (line pieces), 3 rectangle, 12 text, 15 to 18
//   dimensions, 20 auxiliary line, 24 tool point.
// The curves (circle, arc, ellipse, polygon, spline, wave, polyline arc
// pieces) are in CZorvaView_typed_curves.cpp.

#include <cmath>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CLine.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/text_utils.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

bool StartsWith(const CString& text, char16_t c)
{
    return !text.IsEmpty() && text[0] == c;
}

} // namespace

TypedValues CZorvaView::ReadTyped(const CString& text)
{
    TypedValues t;
    t.n = ParseTypedValues(text, t.v);
    for (int i = 0; i < t.n; ++i)
        t.v[i] = Truncate4(t.v[i]);
    return t;
}

// The point at distance d from r toward the cursor; a cursor on r gives
// direction 0 (the direction of a zero vector is no number).
x_Vector CZorvaView::TowardCursor(const x_Vector& r, double d) const
{
    const x_Vector to = m_cursorPoint - r;
    const double len = std::hypot(to.x, to.y);
    if (len < 1e-10)
        return {r.x + d, r.y};
    return {r.x + to.x / len * d, r.y + to.y / len * d};
}

void CZorvaView::FeedTypedPoint(CDC* dc, const x_Vector& p, int kind)
{
    m_cursorPoint = p;
    if (m_pFloatUnit != nullptr)
        m_pFloatUnit->InteractiveStep(dc, this, p);
    StepCommand(dc, kind);
    if (g_redrawAfterClick)
        Render(dc);
    if (kind == 2)
        m_lastInputPoint = p;
}

// "u": drops the last point. Lines, polylines and auxiliary lines also take
// back the piece that point placed, with one undo step.
void CZorvaView::BackOnePoint(CDC* dc, bool undoPiece)
{
    if (m_pFloatUnit == nullptr)
        return;
    const int given = static_cast<int>(g_inputPoints.GetSize());
    if (given > 0)
        g_inputPoints.RemoveAt(given - 1);
    --m_subStep;
    --g_cmdPointCount;
    // Only a piece of this command is taken back: with one point given no
    // piece exists, and an undo would reach an earlier edit.
    CZorvaDoc* doc = GetZorvaDoc();
    if (undoPiece && given >= 2 && doc != nullptr && doc->Undo())
        Render(dc);
    if (g_cmdPointCount <= 0 || g_inputPoints.IsEmpty()) {
        m_subStep = 0;
        g_cmdPointCount = 0;
        ReleaseFloatingEntity();
        ShowPrompt(CString(), 0);
        Render(dc);
        return;
    }
    m_basePoint = g_inputPoints[g_inputPoints.GetSize() - 1];
    m_pFloatUnit->inputPoints[0] = m_basePoint;
    if (m_pFloatUnit->GetType() == 1 || m_pFloatUnit->GetType() == 20)
        m_pFloatUnit->workGeometry.line.p1 = m_pFloatUnit->geometry.line.p1 = m_basePoint;
    MarkInputPoint(dc, m_basePoint);
    ShowPrompt(CString(), 0);
}

bool CZorvaView::TypedDrawingInput(CDC* dc, const CString& text)
{
    switch (g_curCommand) {
    case kCmdLine:
    case kCmdPolyline:
        return TypedLine(dc, text);
    case kCmdRectangle:
        return TypedRectangle(dc, text);
    case kCmdEllipse:
    case kCmdEllipseArc:
        return TypedEllipse(dc, text);
    case kCmdCircle:
        return TypedCircle(dc, text);
    case kCmdArc:
        return TypedArc(dc, text);
    case kCmdPolygon:
        return TypedPolygon(dc, text);
    case kCmdSpline:
        return TypedSpline(dc, text);
    case kCmdText:
        return TypedText(dc, text);
    case kCmdDimAligned:
    case kCmdDimLinear:
    case kCmdDimCircle:
    case kCmdDimArc:
        return TypedDimension(dc, text);
    case kCmdAuxLine:
        return TypedAuxLine(dc, text);
    case kCmdWaveLine:
        return TypedWave(dc, text);
    case kCmdToolPoint:
        return TypedToolPoint(dc, text);
    default:
        return false;
    }
}

bool CZorvaView::TypedLine(CDC* dc, const CString& text)
{
    const int lineMode = GetCommandMode(kCmdLine - 1);
    if (text == u"u") {
        BackOnePoint(dc, true);
        return true;
    }
    if (text == u"c")
        return m_pFloatUnit == nullptr || CloseLines();
    CString rest = text;
    bool polar = false;
    if (lineMode != 1 && StartsWith(rest, u'@')) {
        polar = true;
        rest = rest.Mid(1);
        rest.Trim();
    }
    if (g_curCommand == kCmdPolyline && lineMode != 1 && !polar) {
        if (StartsWith(rest, u'l')) {
            SwitchToLinePieces();
            return true;
        }
        if (StartsWith(rest, u'a')) {
            SwitchToArcPieces();
            return true;
        }
        if (m_polyArcMode)
            return TypedPolylineArc(dc, rest);
    }
    const TypedValues t = ReadTyped(rest);
    if (lineMode == 2 || lineMode == 3)
        return TypedParallelLine(dc, t);
    CUnit* line = m_pFloatUnit != nullptr && m_pFloatUnit->GetType() == 1 ? m_pFloatUnit : nullptr;
    const bool allPolar = lineMode == 1 || polar;
    if (t.n >= 2) {
        // The first point of a command has nothing to be polar from.
        const x_Vector p = allPolar && line != nullptr
                               ? line->workGeometry.line.p1 + x_Vector::FromPolar(t.v[1], Radians(t.v[0]))
                               : x_Vector(t.v[0], t.v[1]);
        FeedTypedPoint(dc, p, -1);
        return true;
    }
    if (t.n == 1) {
        if (allPolar)
            return true;    // a single number is no polar point
        if (line == nullptr)
            return false;
        const x_Vector a = line->workGeometry.line.p1, b = line->workGeometry.line.p2;
        const x_Vector dir = b - a;
        const double len = std::hypot(dir.x, dir.y);
        const x_Vector p = len < 1e-10 ? x_Vector(a.x + t.v[0], a.y) : a + dir / len * t.v[0];
        FeedTypedPoint(dc, p, -1);
        return true;
    }
    return false;
}

// Parallel line modes: a point picks the reference line, then one number
// is the distance to the side of the cursor.
bool CZorvaView::TypedParallelLine(CDC* dc, const TypedValues& t)
{
    if (t.n >= 2) {
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
        return true;
    }
    if (m_subStep == 0 || t.n != 1)
        return false;
    const x_Vector a = m_basePoint, b = m_secondPoint;
    const x_Vector ab = b - a;
    const double len2 = ab.x * ab.x + ab.y * ab.y;
    if (len2 < 1e-20)
        return false;
    const double k = ((m_cursorPoint.x - a.x) * ab.x + (m_cursorPoint.y - a.y) * ab.y) / len2;
    const x_Vector foot = a + ab * k;
    const double along = std::atan2(ab.y, ab.x);
    const x_Vector toCursor = m_cursorPoint - foot;
    double normal = along - kPi / 2;
    if (std::hypot(toCursor.x, toCursor.y) > 1e-10) {
        const double d = std::atan2(toCursor.y, toCursor.x);
        auto diff = [d](double n) {
            double x = std::fabs(std::remainder(n - d, kTwoPi));
            return x;
        };
        if (diff(along + kPi / 2) < diff(along - kPi / 2))
            normal = along + kPi / 2;
    }
    FeedTypedPoint(dc, a + x_Vector::FromPolar(std::fabs(t.v[0]), normal), -1);
    return true;
}

// "c": a line from the last point back to the first ends the command.
bool CZorvaView::CloseLines()
{
    CZorvaDoc* doc = GetZorvaDoc();
    const int given = static_cast<int>(g_inputPoints.GetSize());
    if (given < 3 || doc == nullptr)
        return false;
    const x_Vector from = g_inputPoints[given - 1], to = g_inputPoints[0];
    ++g_UnitIdCounter;
    auto* line = new CLine(from.x, from.y, to.x, to.y);
    line->workGeometry.line = line->geometry.line;
    line->complete = 1;
    doc->AppendUnit(line);
    PurgeDegenerateEntities(0);
    SetCommand(0);
    return true;
}

bool CZorvaView::TypedRectangle(CDC* dc, const CString& text)
{
    if (text == u"u") {
        BackOnePoint(dc, false);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    if (t.n < 2)
        return false;
    if (m_subStep == 0) {
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
        return true;
    }
    const double w = t.v[0], h = std::fabs(t.v[1]);
    if (w <= 0) {
        PrintLine(CString(u"*长度或宽度必须大于 0"));
        return true;
    }
    const x_Vector first = m_basePoint;
    const double sx = m_cursorPoint.x - first.x < 0 ? -1.0 : 1.0;
    const double sy = m_cursorPoint.y - first.y < 0 ? -1.0 : 1.0;
    FeedTypedPoint(dc, {first.x + sx * w, first.y + sy * h}, -1);
    return true;
}

bool CZorvaView::TypedText(CDC* dc, const CString& text)
{
    if (text == u"u") {
        SetCommand(0);
        return true;
    }
    if (m_subStep >= 1)
        return false;
    const TypedValues t = ReadTyped(text);
    FeedTypedPoint(dc, t.n >= 2 ? x_Vector(t.v[0], t.v[1]) : m_cursorPoint, -1);
    return true;
}

bool CZorvaView::TypedDimension(CDC* dc, const CString& text)
{
    if (text == u"u") {
        SetCommand(0);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    if (t.n < 2)
        return false;
    FeedTypedPoint(dc, {t.v[0], t.v[1]}, 2);
    return true;
}

bool CZorvaView::TypedAuxLine(CDC* dc, const CString& text)
{
    if (text == u"u") {
        BackOnePoint(dc, true);
        return true;
    }
    if (text == u"c")
        return m_pFloatUnit == nullptr || CloseAuxLines();
    CString rest = text;
    const bool polar = StartsWith(rest, u'@');
    if (polar) {
        rest = rest.Mid(1);
        rest.Trim();
    }
    const TypedValues t = ReadTyped(rest);
    CUnit* unit = m_pFloatUnit;
    const x_Vector start = unit != nullptr ? unit->workGeometry.line.p1 : m_basePoint;
    if (t.n >= 2) {
        const x_Vector p = polar && unit != nullptr ? start + x_Vector::FromPolar(t.v[1], Radians(t.v[0]))
                                                    : x_Vector(t.v[0], t.v[1]);
        FeedTypedPoint(dc, p, -1);
        return true;
    }
    if (t.n == 1 && !polar && unit != nullptr) {
        FeedTypedPoint(dc, TowardCursor(start, t.v[0]), -1);
        return true;
    }
    return false;
}

bool CZorvaView::TypedToolPoint(CDC* dc, const CString& text)
{
    if (g_cmdPointCount == -1) {
        if (text == u"y") {
            ReplaceToolPoint();
            return true;
        }
        if (text == u"n") {
            SetCommand(0);
            return true;
        }
        return false;
    }
    if (text == u"u") {
        SetCommand(0);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    if (t.n >= 2) {
        FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
        return true;
    }
    PrintLine(CString(u"#输入有误"));
    ShowPrompt(CString(), 0);
    return true;
}

// The old tool point is deleted through the undo record: destroyed outright
// before, it could not come back and the history kept a pointer to it.
void CZorvaView::ReplaceToolPoint()
{
    if (CZorvaDoc* doc = GetZorvaDoc()) {
        for (int i = 0; i < doc->m_unitList.GetSize(); ++i) {
            CUnit* u = doc->m_unitList[i];
            if (!u->deleted && u->role == kRoleCutPoint) {
                doc->RecordDeleteAt(i);
                break;
            }
        }
    }
    PurgeDegenerateEntities(0);
    SetCommand(0);
}
