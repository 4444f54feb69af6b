// Batch generation, finding the figures: lead lines first (a selected line
// with one end on a figure and the other end on nothing), then the circles
// and ellipses left without one. Each figure found is handed to
// ProcessBatchFigure at once.

#include "paths/batch_paths.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/CEllipse.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/path_services.h"
#include "paths/batch_run.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"
#include "view/view_entities.h"
#include "wirepath/WirepathState.h"

namespace {

enum TypeId { kLine = 1, kEllipse = 5, kEllipseArc = 6, kCircle = 7, kArc = 8, kSpline = 11 };
constexpr double kEllipseStep = 0.1;        // parameter step of an ellipse's tangent

// Unit flags a listing run leaves as it found them.
struct SavedFlags {
    std::uint8_t selected, highlighted, walked, visible;
};

bool IsFigureType(int type)
{
    return type == kCircle || type == kEllipse;
}

bool ClosedByItself(CUnit& u)
{
    const int t = u.GetType();
    return IsFigureType(t) || (t == kSpline && u.geometry.spline.closed != 0);
}

// The first unit in drawing order, other than the lead line, under point.
int FirstUnder(BatchRun& run, const x_Vector& p, int lead, std::vector<int>& near)
{
    run.index.Near(p, near);
    CUnit* l = run.Unit(lead);
    for (int i : near) {
        if (i == lead || !run.Free(i) || run.Unit(i)->unitId == l->unitId)
            continue;
        if (run.Unit(i)->HitTest(p, 1))
            return i;
    }
    return -1;
}

// The lead-in end: the first unit (drawing order) touched by the start or
// else by the end of the line; the other end must touch nothing.
bool FindLeadEnds(BatchRun& run, int lead, BatchFigure& f)
{
    CUnit& l = *run.Unit(lead);
    const x_Vector ends[2] = {l.geometry.line.p1, l.geometry.line.p2};
    std::vector<int> near;
    const int atStart = FirstUnder(run, ends[0], lead, near);
    const int atEnd = FirstUnder(run, ends[1], lead, near);
    int hit = atStart, k = 0;
    if (atStart < 0 || (atEnd >= 0 && atEnd < atStart)) {
        hit = atEnd;
        k = 1;
    }
    if (hit < 0 || (k == 0 ? atEnd : atStart) >= 0)
        return false;
    f.unit = hit;
    f.lead = lead;
    f.leadIn = ends[k];
    f.thread = ends[1 - k];
    return true;
}

// The chain from the unit must come back to its start; each unit is taken
// once and unselected.
bool WalkClosedChain(BatchRun& run, BatchFigure& f)
{
    CUnit& first = *run.Unit(f.unit);
    f.members.assign(1, f.unit);
    if (ClosedByItself(first))
        return true;
    const x_Vector start = first.GetStartPoint();
    x_Vector cur = first.GetEndPoint();
    run.taken[f.unit] = 1;
    std::vector<int> near;
    bool closed = false;
    for (int steps = 0; steps < run.n && !closed; ++steps) {
        if (cur.IsEqual(start)) {
            closed = true;
            break;
        }
        run.index.Near(cur, near);
        int next = -1;
        for (int i : near) {
            if (i == f.lead || run.taken[i] || !run.Free(i) || ClosedByItself(*run.Unit(i)))
                continue;
            CUnit& u = *run.Unit(i);
            if (u.GetStartPoint().IsEqual(cur) || u.GetEndPoint().IsEqual(cur)) {
                next = i;
                break;
            }
        }
        if (next < 0)
            break;
        CUnit& u = *run.Unit(next);
        cur = u.GetStartPoint().IsEqual(cur) ? u.GetEndPoint() : u.GetStartPoint();
        run.taken[next] = 1;
        f.members.push_back(next);
    }
    for (int i : f.members) {
        run.taken[i] = 0;
        if (closed)
            run.Unit(i)->selected = 0;
    }
    return closed;
}

// The tangent of the unit at the lead-in point, in the unit's own sense.
double TangentAt(CUnit& u, const x_Vector& p)
{
    switch (u.GetType()) {
    case kLine:
        return x_Vector::AngleTo(u.geometry.line.p1, u.geometry.line.p2);
    case kArc:
        return x_Vector::AngleTo(u.geometry.arc.centre, p) + (u.geometry.arc.direction == 0 ? kPi / 2 : -kPi / 2);
    case kCircle:
        return x_Vector::AngleTo(u.geometry.circle.centre, p) - kPi / 2;
    case kEllipse:
    case kEllipseArc: {
        const double t = EllipseParameterOf(u.geometry.ellipse, p);
        return x_Vector::AngleTo(EllipsePointAt(u.geometry.ellipse, t),
                                 EllipsePointAt(u.geometry.ellipse, t + kEllipseStep));
    }
    case kSpline: {
        const int count = u.nodes.GetSize();
        for (int k = 0; k < count && count >= 2; ++k)
            if (u.nodes[k].IsEqual(p))
                return k == 0 ? x_Vector::AngleTo(u.nodes[0], u.nodes[1])
                              : x_Vector::AngleTo(u.nodes[k - 1], u.nodes[k]);
        return 0.0;
    }
    default:
        return 0.0;
    }
}

// 2 along the unit's own direction when the threading point lies to the
// left of the tangent; the reverse setting and the reversed types swap.
int DirectionCode(const BatchRun& run, CUnit& u, const BatchFigure& f)
{
    const double t = TangentAt(u, f.leadIn);
    const double length = x_Vector::Distance(f.thread, f.leadIn);
    const x_Vector a = x_Vector::FromPolar(length, t), b = f.thread - f.leadIn;
    int code = a.x * b.y - a.y * b.x >= 0.0 ? 2 : 1;
    const int type = u.GetType();
    if (run.m.batchReverse != 0)
        code = 3 - code;
    if (type == kCircle || type == kEllipseArc)
        code = 3 - code;
    return code;
}

// Walks the figure's chain from the lead-in point into g_CreateTrailPoints.
bool CollectFigureChain(BatchRun& run, BatchFigure& f)
{
    g_TrailPickPoints[0] = g_TrailPickPoints[3] = f.thread;
    g_TrailPickPoints[1] = g_TrailPickPoints[2] = f.leadIn;
    g_CreateTrailPoints.RemoveAll();
    ClearTrailDirections();
    CUnit& u = *run.Unit(f.unit);
    x_Vector out;
    u.SplitAtCrossings(1, f.leadIn, f.dirCode, f.dirCode == 1, out);
    return !g_CreateTrailPoints.IsEmpty();
}

// The split of the figure's unit hides it while its pieces exist.
void FinishFigure(BatchRun& run, const BatchFigure& f)
{
    for (int i : f.members)
        run.done[i] = 1;
    CUnit& u = *run.Unit(f.unit);
    u.visible = 1;
    u.walked = 0;
    // Its pieces are left to the end of the run, when they are freed in
    // one go (each free walks every undo record); chains no longer see them.
    run.index.SetTail(g_pDoc->m_unitList.GetSize());
}

void LeadLineFigure(BatchRun& run, int lead)
{
    BatchFigure f;
    if (!FindLeadEnds(run, lead, f) || !WalkClosedChain(run, f))
        return;
    f.dirCode = DirectionCode(run, *run.Unit(f.unit), f);
    if (CollectFigureChain(run, f))
        ProcessBatchFigure(run, f);
    FinishFigure(run, f);
}

bool SelectedCandidate(const BatchRun& run, int i)
{
    return run.Free(i) && (run.listing || run.Unit(i)->selected != 0);
}

void LeadLineFigures(BatchRun& run)
{
    for (int i = 0; i < run.n && !run.Cancelled(); ++i) {
        if (run.examined[i] || !SelectedCandidate(run, i) || run.Unit(i)->GetType() != kLine)
            continue;
        run.examined[i] = 1;
        LeadLineFigure(run, i);
    }
}

// Lead-in and threading points of a circle or an ellipse without a lead
// line: holes thread at the centre, outer shapes lead length outside.
void ConstructedLead(const BatchRun& run, CUnit& u, BatchFigure& f)
{
    const double a = run.leadAngle;
    const double length = std::max(run.m.batchLeadLength, 0.0);
    if (u.GetType() == kCircle) {
        const x_Vector c = u.geometry.circle.centre;
        const double r = u.geometry.circle.radius;
        f.leadIn = c + x_Vector::FromPolar(r, a);
        f.thread = run.outer != 0 ? c + x_Vector::FromPolar(r + length, a) : c;
        return;
    }
    const EllipseRecord& e = u.geometry.ellipse;
    const double axis = e.majorAxis.Angle();
    if (run.outer == 0) {
        f.leadIn = EllipsePointAt(e, a + axis);
        f.thread = e.centre;
        return;
    }
    // Outer ellipse: on the outline (rotated ellipses too) at the start
    // parameter plus a half turn; threading lead length further out.
    f.leadIn = EllipsePointAt(e, e.startParam + kPi);
    f.thread = f.leadIn + x_Vector::FromPolar(length, x_Vector::AngleTo(e.centre, f.leadIn));
}

void CircleFigures(BatchRun& run)
{
    for (int i = 0; i < run.n && !run.Cancelled(); ++i) {
        if (run.done[i] || !SelectedCandidate(run, i) || !IsFigureType(run.Unit(i)->GetType()))
            continue;
        BatchFigure f;
        f.unit = i;
        f.members.assign(1, i);
        ConstructedLead(run, *run.Unit(i), f);
        f.dirCode = run.m.batchReverse != 0 ? 1 : 2;
        if (CollectFigureChain(run, f))
            ProcessBatchFigure(run, f);
        FinishFigure(run, f);
    }
}

bool AnyCandidate(const BatchRun& run)
{
    for (int i = 0; i < run.n; ++i)
        if (SelectedCandidate(run, i))
            return true;
    return false;
}

// Counts, flags and the index of the run; false without a candidate.
bool StartRun(BatchRun& run)
{
    CZorvaView& v = run.view;
    run.m = g_MachiningSettings;
    {
        std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
        run.n = g_pDoc->m_unitList.GetSize();
        for (int i = 0; i < run.n; ++i)
            run.Unit(i)->listIndex = i;
        run.index.Build(g_pDoc->m_unitList, run.n);
    }
    run.consumed.assign(run.n, 0);
    run.leadAngle = std::clamp(run.m.batchLeadAngle, 0.0, kTwoPi);
    if (run.listing)
        g_BatchShapeList.RemoveAll();
    if (!AnyCandidate(run)) {
        if (!run.listing) {
            v.Later([](CZorvaView& w) {
                w.PrintLine(CString(u"#请选择实线"));
                w.ShowPrompt(CString(), 0);
            });
        }
        return false;
    }
    for (int i = 0; i < run.n; ++i) {
        CUnit& u = *run.Unit(i);
        // Once here: the builds of the run leave the marks of the units
        // before them alone (a clear of the whole drawing per path).
        u.chainScratchA = u.chainScratchB = 0;
        if (run.Free(i))
            u.highlighted = u.walked = 0;
    }
    run.done.assign(run.n, 0);
    run.taken.assign(run.n, 0);
    run.examined.assign(run.n, 0);
    // Paths leave GetMaxGroupNumber alone, so one look serves the run.
    run.trailGroup = GetMaxGroupNumber() + 1;
    run.pairGroup = run.trailGroup - 1;
    return true;
}

std::vector<SavedFlags> SaveFlags()
{
    std::vector<SavedFlags> saved;
    for (CUnit* u : g_pDoc->m_unitList)
        saved.push_back({u->selected, u->highlighted, u->walked, u->visible});
    return saved;
}

void RestoreFlags(const std::vector<SavedFlags>& saved)
{
    for (int i = 0; i < static_cast<int>(saved.size()) && i < g_pDoc->m_unitList.GetSize(); ++i) {
        CUnit& u = *g_pDoc->m_unitList[i];
        u.selected = saved[i].selected;
        u.highlighted = saved[i].highlighted;
        u.walked = saved[i].walked;
        u.visible = saved[i].visible;
    }
}

} // namespace

CUnit* BatchRun::Unit(int i) const
{
    return g_pDoc->m_unitList[i];
}

bool BatchRun::Cancelled()
{
    if (PathRunCancelled() || g_TrailRunFlag.load() == 0)
        cancelled = true;
    return cancelled;
}

bool BatchRun::Free(int i) const
{
    const CUnit* u = Unit(i);
    return u != nullptr && !u->deleted && u->role == kRoleDrawing && !u->temporary && !consumed[i];
}

bool GenerateTrailsForSelection(CZorvaView& v, bool listing, int outer)
{
    if (g_pDoc == nullptr)
        return false;
    BatchRun run(v, listing, outer != 0 ? 1 : 0);
    run.savedCutMode = g_CutMode;
    // Temporaries go first: they may stand before units of the drawing.
    v.FreeTemporaryUnits();
    const std::vector<SavedFlags> saved = listing ? SaveFlags() : std::vector<SavedFlags>();
    bool ok = StartRun(run);
    if (ok) {
        g_ChainIndex = &run.index;
        LeadLineFigures(run);
        CircleFigures(run);
        g_ChainIndex = nullptr;
        v.FreeTemporaryUnits(run.index.Count());
        ok = listing ? !run.cancelled : EndBatchRun(run);
    }
    g_CutMode = run.savedCutMode;
    g_CreateTrailPoints.RemoveAll();
    if (listing)
        RestoreFlags(saved);
    return ok;
}

bool RunBatchRequest(CZorvaView& v, bool selectedOnly, int option)
{
    g_PathRunFlag = 1;
    if (!selectedOnly)
        return !ListBatchShapesHook(v, option).empty();
    return GenerateTrailsForSelection(v, false, option & 0xff);
}

std::vector<int> ListBatchShapesHook(CZorvaView& v, int option)
{
    g_PathRunFlag = 1;
    g_TrailRunFlag = 1;
    GenerateTrailsForSelection(v, true, option & 0xff);
    return std::vector<int>(g_BatchShapeList.GetData(), g_BatchShapeList.GetData() + g_BatchShapeList.GetSize());
}
