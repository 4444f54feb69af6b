// Fillet, chamfer and circle tangents by clicks.
//   fillet, chamfer  first pick a line, polyline or polygon side; second pick
//                    the other; the corner is rebuilt with the set radius or
//                    distances and both picked entities are replaced
//   tangent          first circle or arc; second one; then each click on a
//                    candidate's end places that common tangent

#include <cmath>
#include <mutex>
#include <unordered_set>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CLine.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/entity_edits.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "view/CZorvaView.h"

namespace {

constexpr int kTypeLine = 1;
constexpr int kTypeCircle = 7;
constexpr int kTypeArc = 8;
constexpr int kTypePolyline = 9;
constexpr int kTypePolygon = 10;
constexpr double kPickPixels = 8.0;

bool CornerType(int t)
{
    return t == kTypeLine || t == kTypePolyline || t == kTypePolygon;
}

CUnit* LiveById(std::uint64_t id)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return nullptr;
    for (CUnit* u : doc->m_unitList)
        if (!u->deleted && u->unitId == id)
            return u;
    return nullptr;
}

} // namespace

// The second pick's rules; false (with its message) when the pair is refused.
bool CZorvaView::FilletSecondPickFits(CUnit* first, CUnit* second)
{
    const int a = first->GetType(), b = second->GetType();
    if (a == kTypeLine) {
        if (b != kTypeLine) {
            PrintLine(CString(u"#实体类型必须相同"));
            return false;
        }
        return second != first;
    }
    if (a != b) {
        PrintLine(CString(u"#实线类型必须相同"));
        return false;
    }
    if (first->unitId != second->unitId) {
        PrintLine(CString(u"#多段线/多边形 必须同一实体内"));
        return false;
    }
    if (second->hitSegment == m_pickSegment[0]) {
        PrintLine(CString(u"#请选择其它边"));
        return false;
    }
    return true;
}

void CZorvaView::StepFilletOrChamfer(CDC* dc)
{
    (void)dc;
    const bool fillet = g_curCommand == kCmdFillet;
    const x_Vector p = m_inputPoint;
    CUnit* u = FirstLiveHit(p, false, false);
    if (u == nullptr)
        return;
    if (!CornerType(u->GetType())) {
        PrintLine(CString(fillet ? u"#只能圆角<直线/多段线/多边形>" : u"#只能倒角<直线/多段线/多边形>"));
        return;
    }
    if (m_subStep == 0) {
        m_pickId[0] = u->unitId;
        m_basePoint = p;
        m_pickSegment[0] = u->hitSegment;
        u->selected = 1;
        m_subStep = 1;
        ShowPrompt(CString(), 0);
        RedrawNow();
        return;
    }
    CUnit* first = LiveById(m_pickId[0]);
    if (first == nullptr) {
        m_subStep = 0;
        return;
    }
    if (!FilletSecondPickFits(first, u))
        return;
    m_secondPoint = p;
    const x_Vector middle = (m_basePoint + m_secondPoint) / 2.0;
    m_pickId[1] = u->unitId;
    m_pickSegment[1] = u->hitSegment;
    CZorvaDoc* doc = GetZorvaDoc();
    const int before = doc->m_unitList.GetSize();
    const bool ok = fillet ? FilletEntities(first, u, m_pickSegment[0], m_pickSegment[1], middle)
                           : ChamferEntities(first, u, m_pickSegment[0], m_pickSegment[1]);
    if (ok) {
        doc->RecordDelete(first);
        if (u != first)
            doc->RecordDelete(u);
        PurgeDegenerateEntities(0);
        PrintSeparator();
    } else {
        std::unordered_set<const CUnit*> extra;
        for (int i = before; i < doc->m_unitList.GetSize(); ++i)
            extra.insert(doc->m_unitList[i]);
        if (!extra.empty())
            doc->FreeUnits([&](const CUnit* x) { return extra.count(x) != 0; });
        if (g_EditStatus == -1)
            PrintLine(CString(fillet ? u"#设定圆弧半径过大" : u"#设定倒角距离过大"));
        else
            PrintLine(CString(u"#未能完成"));
    }
    m_subStep = 0;
    ResetEntityStates();
    RedrawNow();
    ShowPrompt(CString(), 0);
}

void CZorvaView::StepTangent(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    if (m_subStep <= 1) {
        CUnit* u = FirstLiveHit(p, false, false, true);
        if (u == nullptr)
            return;
        const int t = u->GetType();
        if (t != kTypeCircle && t != kTypeArc) {
            PrintLine(CString(u"#圆切线只能应用<圆/圆弧>"));
            return;
        }
        m_pickId[m_subStep] = u->unitId;
        m_tangentUnit[m_subStep] = u;
        if (m_subStep == 0) {
            u->selected = 1;
            m_subStep = 1;
            ShowPrompt(CString(), 0);
            RedrawNow();
            return;
        }
        if (!TangentOfCircles(m_tangentUnit[0], u, m_tangents)) {
            m_subStep = 0;
            ResetEntityStates();
            RedrawNow();
            PrintLine(CString(u"#未能找到圆切线"));
            return;
        }
        ++m_subStep;
        m_tangentChoice = -1;
        ShowPrompt(CString(), 0);
        u->selected = 1;
        RedrawNow();
        for (const x_LineData& c : m_tangents) {
            if (!c.used)
                continue;
            DrawRubberPolyline(c.p1, dc);
            DrawRubberPolyline(c.p2, dc);
        }
        return;
    }
    int k = m_tangentChoice;
    // The preview names the candidate under the cursor; a click that came
    // without a preview finds it the same way.
    double nearest = kPickPixels / g_ViewScale;
    for (int i = 0; i < 4 && m_tangentChoice < 0; ++i) {
        const x_LineData& c = m_tangents[i];
        const double d = std::fmin(x_Vector::Distance(c.p1, p), x_Vector::Distance(c.p2, p));
        if (c.used && d <= nearest) {
            nearest = d;
            k = i;
        }
    }
    if (k < 0 || k > 3 || !m_tangents[k].used) {
        PrintSeparator();
        return;
    }
    const x_LineData c = m_tangents[k];
    ++g_UnitIdCounter;
    auto* line = new CLine(c.p1.x, c.p1.y, c.p2.x, c.p2.y);
    line->workGeometry = line->geometry;
    line->complete = 1;
    GetZorvaDoc()->AppendUnit(line);
    m_tangents[k].used = 0;
    m_tangentChoice = -1;
    PurgeDegenerateEntities(0);
    PrintSeparator();
    DrawWhiteLine(c.p1, c.p2, dc);
}
