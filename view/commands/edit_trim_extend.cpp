// Trim, break, divide pick, extend and align by clicks.
//   trim    every click: the first entity that a copy of it trims at the
//           point is replaced by the pieces Trim placed
//   break   every click: the entity exactly under the point is broken there
//   divide  (break modes 1 and 2) the click picks the entity; the count or
//           the length is typed
//   extend  select the boundary; each click extends a line or polyline
//   align   select the boundary; each click trims against it (gears too)
// A copy that refuses is destroyed with every piece it placed, so a refused
// edit leaves the drawing and the open undo step as they were.

#include <mutex>
#include <unordered_set>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/entity_edits.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "view/CZorvaView.h"

namespace {

constexpr int kTypeLine = 1;
constexpr int kTypeSpline = 11;
constexpr int kTypePolyline = 9;

// Frees the units appended at or after index start (pieces of a refused edit).
void DropAppendedSince(CZorvaDoc* doc, int start)
{
    std::unordered_set<const CUnit*> extra;
    for (int i = start; i < doc->m_unitList.GetSize(); ++i)
        extra.insert(doc->m_unitList[i]);
    if (!extra.empty())
        doc->FreeUnits([&](const CUnit* u) { return extra.count(u) != 0; });
}

bool Divisible(int type)
{
    return type == 1 || type == 5 || type == 6 || type == 7 || type == 8;
}

} // namespace

void CZorvaView::StepTrimOrAlign(CDC* dc, bool align)
{
    const x_Vector p = m_inputPoint;
    g_cmdPointCount = -1;
    if (align && m_subStep == 0) {
        SelectionClick(dc, p, 0, false);
        return;
    }
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    const int count = doc->m_unitList.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* u = doc->m_unitList[i];
        if (u->deleted || u->role != kRoleDrawing)
            continue;
        if (!align && (u->GetType() == kTypeSpline || u->gearKind != 0))
            continue;
        CUnit* copy = nullptr;
        if (!u->Copy(0, copy) || copy == nullptr)
            continue;
        const int before = doc->m_unitList.GetSize();
        const int answer = copy->Trim(0, p, i);
        delete copy;
        if (answer != 1) {
            DropAppendedSince(doc, before);
            continue;
        }
        doc->RecordDelete(u);
        ++m_editCount;
        PurgeDegenerateEntities(0);
        RedrawNow();
        return;
    }
}

void CZorvaView::StepBreak(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    g_cmdPointCount = -1;
    m_subStep = 1;
    CZorvaDoc* doc = GetZorvaDoc();
    CUnit* u = FirstLiveHit(p, true, false);
    if (doc == nullptr || u == nullptr)
        return;
    CUnit* copy = nullptr;
    if (!u->Copy(0, copy) || copy == nullptr)
        return;
    const int before = doc->m_unitList.GetSize();
    x_Vector at;
    const int answer = copy->Break(p, at);
    if (answer != 1) {
        delete copy;
        DropAppendedSince(doc, before);
        PrintLine(CString(answer == -1 ? u"#不能打断该类型实线" : u"#打断失败"));
        return;
    }
    copy->workGeometry = copy->geometry;
    copy->complete = 1;
    copy->selected = 0;
    AppendToObArray(copy, doc->m_unitList);
    doc->RecordDelete(u);
    ++m_editCount;
    PurgeDegenerateEntities(0);
    RedrawNow();
    CString line;
    line.Format(u"打断点： (X: %.4f , Y:%.4f)", at.x, at.y);
    PrintLine(line);
    m_pointsB.Add(at);
    for (const x_Vector& mark : m_pointsB)
        DrawCyanGrip(mark, dc);
}

void CZorvaView::StepDividePick(CDC* dc)
{
    (void)dc;
    ResetEntityStates();
    m_pPickedUnit = nullptr;
    CUnit* u = FirstLiveHit(m_inputPoint, true, false);
    if (u == nullptr)
        return;
    if (!Divisible(u->GetType())) {
        PrintLine(CString(u"#不支持该类型实线等分"));
        return;
    }
    m_pPickedUnit = u;
    u->selected = u->highlighted = 1;
    m_subStep = 1;
    ShowPrompt(CString(), 0);
    RedrawNow();
}

void CZorvaView::StepExtend(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    if (m_subStep == 0) {
        SelectionClick(dc, p, 0, false);
        return;
    }
    CZorvaDoc* doc = GetZorvaDoc();
    CUnit* u = FirstLiveHit(p, false, true);
    if (doc == nullptr || u == nullptr)
        return;
    const int type = u->GetType();
    if (type != kTypeLine && type != kTypePolyline) {
        PrintLine(CString(u"#只能延伸<直线/多段线>"));
        return;
    }
    CUnit* copy = nullptr;
    if (!u->Copy(0, copy) || copy == nullptr)
        return;
    // The copy is not in the list, so the boundary scan skips the source
    // only when it is excluded by identity: hide it for the scan.
    const std::uint8_t wasSelected = u->selected;
    u->selected = 0;
    const bool ok = ExtendEntity(copy, u->hitSegment);
    u->selected = wasSelected;
    if (!ok) {
        delete copy;
        PrintLine(CString(u"#未能完成"));
        return;
    }
    copy->workGeometry = copy->geometry;
    doc->RecordDeleteWithValue(u, copy);
    PurgeDegenerateEntities(0);
    PrintSeparator();
    RedrawNow();
    ShowPrompt(CString(), 0);
}
