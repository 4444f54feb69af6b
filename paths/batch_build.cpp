// Batch generation, building: the compensation side and value of a
// figure, its path (or the two paths of the straight-and-taper modes), the
// listing numbers, and the end of the run with the cutting order.

#include <algorithm>
#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "paths/batch_run.h"
#include "paths/path_build.h"
#include "paths/path_settings_from.h"
#include "view/CZorvaView.h"
#include "view/path_order.h"
#include "wirepath/TrailPath.h"
#include "wirepath/WirepathState.h"
#include "wirepath/chain_collect.h"
#include "wirepath/trail_metrics.h"

namespace {

enum TypeId { kEllipse = 5, kCircle = 7 };
enum ShapeClass { kShapeOther = 1, kShapeCircle = 2, kShapeEllipse = 3 };

void ListFigure(BatchRun& run, const BatchFigure& f)
{
    CUnit& u = *run.Unit(f.unit);
    const int shape = u.GetType() == kCircle ? kShapeCircle : u.GetType() == kEllipse ? kShapeEllipse : kShapeOther;
    g_BatchShapeList.Add(f.unit);
    for (int i : f.members) {
        CUnit& member = *run.Unit(i);
        if (member.deleted)
            continue;
        member.contourNo = run.figures;
        member.contourShape = shape;
    }
}

// The side of the chain's trial offset decides the compensation side; one
// rule for every figure and the run's hole/outer choice. (Lead-line figures
// took the choice from the settings and circles from the run, and circles
// drawn clockwise got the wrong side.)
int FigureSide(const BatchRun& run)
{
    TrailPath scratch;
    ChainRequest req;
    req.stage = 2;
    req.sideKey = 1;
    for (int i = 0; i < 4; ++i)
        req.pickPoints[i] = g_TrailPickPoints[i];
    const PathSettings s = PathSettingsFrom(run.m, g_CutParams, g_CutMode);
    CollectChainPoints(req, s, *g_pDoc, g_CreateTrailPoints, scratch);
    {
        std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
        for (CUnit* u : g_pDoc->m_tempList)
            delete u;
        g_pDoc->m_tempList.RemoveAll();
    }
    const int outside = scratch.outward[0];
    return run.outer != 0 ? 2 - outside : 1 + outside;
}

double FigureCompensation(const BatchRun& run, const BatchFigure& f)
{
    if (run.m.noOffset)
        return 0.0;
    const double own = run.Unit(f.unit)->compensation;
    return own != 0.0 ? own : run.m.compensation;
}

// Straight-and-taper modes: the cut mode and compensation of path k.
std::uint8_t PairCutMode(const BatchRun& run, int k)
{
    return (run.m.batchMode == 2) == (k == 0) ? 0 : 1;
}

double PairCompensation(const BatchRun& run, int k, double comp)
{
    const double extra = k == 0 ? run.m.batchOffset1 : run.m.batchOffset2;
    const bool straight = PairCutMode(run, k) == 0;
    double taper = 0.0;
    if (straight && run.outer == 0)
        taper = std::tan(run.m.taperAngle * kPi / 180.0) * run.m.thickness;
    return comp + taper + extra;
}

CTrail* BuildOnePath(BatchRun& run, int side, double comp)
{
    CZorvaView& v = run.view;
    ++g_UnitIdCounter;
    auto* trail = new CTrail();
    v.m_path.trail = trail;
    v.m_path.trailGroup = run.trailGroup;
    v.m_path.compSide = side;
    v.m_subStep = 4;
    if (!BuildTrail(v, true, 0, comp)) {
        // Every figure left without its path is named, with what failed
        // when the check refused it.
        CString hint;
        hint.Format(u"*图形%d未生成，", run.figures);
        hint += v.m_path.checkRefusal.IsEmpty() ? CString(u"请检查参数或实线") : v.m_path.checkRefusal;
        v.Later([hint](CZorvaView& w) { w.PrintLine(hint); });
        return nullptr;
    }
    ++run.built;
    if (v.m_path.cornerClearFailed) {
        CString hint;
        hint.Format(u"*图形%d清角失败，轨迹未清角", run.figures);
        v.Later([hint](CZorvaView& w) { w.PrintLine(hint); });
    }
    return trail;
}

void RecomputeMetrics(CTrail& t)
{
    TrailPath work;
    t.GiveToEngine(work);
    ComputeTrailMetrics(work);
    t.params = work.params;
    t.trails[0] = work.lists[0];
    t.trails[1] = work.lists[1];
    t.gripsValid = 0;
}

bool IsLeadLine(const x_TrailData& e)
{
    return e.role == 1 && e.IsLine();
}

// The second path starts where the first path's lead-out now ends: the
// wire does not go back to the threading point between them.
void JoinPair(BatchRun& run, CTrail& a, CTrail& b)
{
    std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
    x_TrailDataArray& lower = a.trails[0];
    x_TrailDataArray& upper = a.trails[1];
    if (lower.IsEmpty() || !IsLeadLine(lower[lower.GetSize() - 1]))
        return;
    x_TrailData& out0 = lower[lower.GetSize() - 1];
    const bool taperFirst = run.m.batchMode == 3 && (run.m.invertedTaper == 0 || run.outer != 0);
    if (taperFirst && !upper.IsEmpty() && IsLeadLine(upper[upper.GetSize() - 1])) {
        x_TrailData& out1 = upper[upper.GetSize() - 1];
        out0.end = out1.start;
        out1.end = out1.start;
    } else {
        out0.end = out0.start;
        if (!upper.IsEmpty() && IsLeadLine(upper[upper.GetSize() - 1]))
            upper[upper.GetSize() - 1].end = upper[upper.GetSize() - 1].start;
    }
    const x_Vector p = out0.end;
    for (x_TrailDataArray& list : b.trails)
        if (!list.IsEmpty() && IsLeadLine(list[0]))
            list[0].start = p;
    b.params.threadPoint[0] = b.params.threadPoint[1] = p;
    // The lead edits change lengths and boxes (they used to keep the old ones).
    RecomputeMetrics(a);
    RecomputeMetrics(b);
}

void PauseAtEnd(CTrail& t)
{
    for (x_TrailDataArray& list : t.trails)
        if (!list.IsEmpty() && (&list == &t.trails[0] || list.GetSize() == t.trails[0].GetSize()))
            list[list.GetSize() - 1].attribute = 1;
}

void MarkConsumed(BatchRun& run, const BatchFigure& f)
{
    for (int i : f.members)
        run.consumed[i] = 1;
    if (f.lead >= 0)
        run.consumed[f.lead] = 1;
}

void BuildPair(BatchRun& run, const BatchFigure& f, int side, double comp)
{
    CTrail* paths[2] = {nullptr, nullptr};
    ++run.pairGroup;
    for (int k = 0; k < 2 && !run.Cancelled(); ++k) {
        g_CutMode = PairCutMode(run, k);
        paths[k] = BuildOnePath(run, side, PairCompensation(run, k, comp));
        if (paths[k] == nullptr)
            continue;
        paths[k]->group = run.pairGroup;
        if (k == 0 && run.m.batchPauseAfterFirst != 0)
            PauseAtEnd(*paths[0]);
    }
    if (paths[0] != nullptr && paths[1] != nullptr && run.m.batchReturnToThread == 0)
        JoinPair(run, *paths[0], *paths[1]);
    if (paths[0] != nullptr || paths[1] != nullptr)
        MarkConsumed(run, f);
}

// The path nearest the chosen corner of the paths' start box begins the
// cutting order (with a shared group, the pair's first path).
void OrderBatchPaths(int corner)
{
    std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
    CUnitArray& list = g_pDoc->m_unitList;
    std::vector<int> paths;
    x_Vector lo, hi;
    for (int i = 0; i < list.GetSize(); ++i) {
        CUnit* u = list[i];
        if (u->deleted)
            continue;
        auto* t = u->role == kRolePath ? dynamic_cast<CTrail*>(u) : nullptr;
        u->selected = t != nullptr && !t->trails[0].IsEmpty() ? 1 : 0;
        if (!u->selected)
            continue;
        const x_Vector s = t->GetElementStartPoint(0);
        lo = paths.empty() ? s : x_Vector::MinCorner(lo, s);
        hi = paths.empty() ? s : x_Vector::MaxCorner(hi, s);
        paths.push_back(i);
    }
    if (paths.empty())
        return;
    const x_Vector target(corner % 2 == 0 ? lo.x : hi.x, corner < 2 ? lo.y : hi.y);
    int first = paths[0];
    double best = -1.0;
    for (int i : paths) {
        const double d = x_Vector::Distance(static_cast<CTrail*>(list[i])->GetElementStartPoint(0), target);
        if (best < 0.0 || d < best) {
            best = d;
            first = i;
        }
    }
    if (list[first]->group > 0)
        for (int i : paths)
            if (list[i]->group == list[first]->group) {
                first = i;
                break;
            }
    OrderAndNumberPaths(list[first], first);
}

} // namespace

void ProcessBatchFigure(BatchRun& run, BatchFigure& f)
{
    ++run.figures;
    if (run.listing) {
        ListFigure(run, f);
        return;
    }
    if (run.Cancelled())
        return;
    const int side = FigureSide(run);
    const double comp = FigureCompensation(run, f);
    if (run.m.batchMode >= 2) {
        BuildPair(run, f, side, comp);
        return;
    }
    g_CutMode = run.m.batchMode;
    if (BuildOnePath(run, side, comp) != nullptr)
        MarkConsumed(run, f);
}

bool EndBatchRun(BatchRun& run)
{
    g_CutMode = run.savedCutMode;
    const bool kept = run.built > 0;
    const bool made = !run.cancelled && kept;
    const int corner = std::min<int>(run.m.batchFirstCorner, 3);
    run.view.Later([made, kept, corner](CZorvaView& w) {
        w.SetCommand(0);
        // The built paths are one undo step of their own, those of a stopped
        // run too (they used to join the next command's step, whose undo
        // took them).
        if (kept)
            w.PurgeDegenerateEntities(0);
        if (!made)
            return;
        w.PrintLine(CString(u"轨迹生成->操作完成"));
        w.PrintSeparator();
        OrderBatchPaths(corner);
    });
    return made;
}
