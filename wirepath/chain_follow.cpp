#include "wirepath/chain_follow.h"

#include <cmath>
#include <vector>

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/path_services.h"
#include "geometry/screen_marks.h"
#include "wirepath/WirepathState.h"
#include "wirepath/chain_index.h"

namespace {

enum TypeId { kLine = 1, kEllipseArc = 6, kCircle = 7, kArc = 8, kPolyline = 9, kSpline = 11 };
constexpr double kSameValue = 0.0001;
constexpr double kShortCandidate = 0.001;

bool TakesPart(const CUnit& u, std::uint64_t excludedId)
{
    return u.deleted == 0 && u.role == 0 && u.selected == 0 && u.highlighted == 0 && u.walked == 0
           && u.complete != 0 && u.unitId != excludedId;
}

// The chain ends of an entity; false for types that do not chain.
bool ChainEnds(CUnit& u, x_Vector& s, x_Vector& e)
{
    switch (u.GetType()) {
    case kLine:
    case kEllipseArc:
    case kArc:
        s = u.GetStartPoint();
        e = u.GetEndPoint();
        break;
    case kPolyline:
        if (u.nodes.IsEmpty())
            return false;
        s = u.nodes[0];
        e = u.nodes[u.nodes.GetSize() - 1];
        break;
    case kSpline:
        if (u.flatPoints.GetSize() < 2)
            return false;
        s = u.flatPoints[0];
        e = u.flatPoints[u.flatPoints.GetSize() - 1];
        break;
    default:
        return false;
    }
    // A closed curve never continues a chain.
    return u.GetType() == kLine || !(s.x == e.x && s.y == e.y);
}

void TakeCandidate(CUnitDocument& doc, const x_TrailDirCorssData& c)
{
    CUnit* u = doc.m_unitList[c.unitIndex];
    g_CreateTrailPoints.Add({c.unitIndex, u->listIndex});
    u->selected = 1;
    u->highlighted = 1;
}

// At a fork, a candidate shorter than 0.001 is dropped and marked taken.
void DropShortCandidates(CUnitDocument& doc, CArray<x_TrailDirCorssData>& candidates)
{
    for (int k = 0; k < candidates.GetSize() && candidates.GetSize() >= 2;) {
        CUnit* u = doc.m_unitList[candidates[k].unitIndex];
        if (u->GetLength() < kShortCandidate) {
            u->selected = 1;
            u->highlighted = 1;
            candidates.RemoveAt(k);
            k = 0;
        } else {
            ++k;
        }
    }
}

void PublishBranch(const CArray<x_TrailDirCorssData>& candidates, const x_Vector& r)
{
    g_TrailDirections.RemoveAll();
    g_DirSignList.RemoveAll();
    for (const x_TrailDirCorssData& c : candidates) {
        x_TrailDirectionData d;
        d.angle = c.angle;
        d.point = r;
        d.point2 = r;
        d.direction = c.chainDir;
        d.unitId = c.unitId;
        d.listIndex = c.unitIndex;
        d.active = 1;
        g_TrailDirections.Add(d);
        x_DirSignData sign;
        BuildMarkerSymbol(sign, r, c.angle);
        sign.direction = c.chainDir;
        sign.unitId = c.unitId;
        sign.angle = c.angle;
        sign.point = r;
        sign.active = 1;
        g_DirSignList.Add(sign);
    }
}

// Unit i as a candidate that continues the chain at r; q becomes its far end.
void ScanCandidate(CUnitDocument& doc, int i, std::uint64_t excludedId, const x_Vector& r, x_Vector& q,
                   bool& anyEntity, CArray<x_TrailDirCorssData>& candidates)
{
    CUnit* u = doc.m_unitList[i];
    if (u == nullptr || !TakesPart(*u, excludedId))
        return;
    anyEntity = true;
    x_Vector s, e;
    if (!ChainEnds(*u, s, e))
        return;
    int dir;
    if (r.IsEqual(s))
        dir = 2;
    else if (r.IsEqual(e))
        dir = 1;
    else
        return;
    u->chainDir = dir;
    q = dir == 2 ? e : s;
    if (IsDuplicateEntity(i, candidates) != 0) {
        u->walked = 1;
        return;
    }
    x_TrailDirCorssData c;
    c.angle = x_Vector::AngleTo(r, q);
    c.point = r;
    c.chainDir = dir;
    c.unitId = u->unitId;
    c.unitIndex = i;
    c.next = q;
    candidates.Add(c);
}

// Candidates that continue the chain at r, in drawing order; q becomes the
// last far end met. With a batch run's index only the units near r and
// those appended since the run's last path are asked; the drawing then
// counts as holding entities, so a first step that finds none is no chain.
void ScanCandidates(CUnitDocument& doc, std::uint64_t excludedId, const x_Vector& r, x_Vector& q,
                    bool& anyEntity, CArray<x_TrailDirCorssData>& candidates)
{
    const int n = doc.m_unitList.GetSize();
    if (g_ChainIndex == nullptr) {
        for (int i = 0; i < n; ++i)
            ScanCandidate(doc, i, excludedId, r, q, anyEntity, candidates);
        return;
    }
    anyEntity = true;
    std::vector<int> near;
    g_ChainIndex->Near(r, near);
    for (int i : near)
        if (i < n)
            ScanCandidate(doc, i, excludedId, r, q, anyEntity, candidates);
    for (int i = g_ChainIndex->Tail(); i < n; ++i)
        ScanCandidate(doc, i, excludedId, r, q, anyEntity, candidates);
}

int FollowChainHook(std::uint64_t excludedId, x_Vector t, x_Vector& out)
{
    return FollowChain(excludedId, t, out);
}

} // namespace

int FollowChain(std::uint64_t excludedId, x_Vector p, x_Vector& out)
{
    if (g_pDoc == nullptr) {
        out = p;
        return kFollowNone;
    }
    CUnitDocument& doc = *g_pDoc;
    x_Vector r = p, q(0.0, 0.0, 0);
    bool anyEntity = false;
    CArray<x_TrailDirCorssData> candidates;
    for (;;) {
        if (PathRunCancelled()) {
            out = p;
            return kFollowNone;
        }
        candidates.RemoveAll();
        ScanCandidates(doc, excludedId, r, q, anyEntity, candidates);
        if (!q.valid)
            break;
        if (candidates.GetSize() >= 2)
            DropShortCandidates(doc, candidates);
        if (candidates.GetSize() == 1 && q.IsEqual(g_TrailPickPoints[1])) {
            TakeCandidate(doc, candidates[0]);
            out = candidates[0].next;
            return kFollowEnded;
        }
        if (candidates.GetSize() == 1) {
            TakeCandidate(doc, candidates[0]);
            r = candidates[0].next;
            excludedId = 0;
            continue;
        }
        if (candidates.GetSize() >= 2) {
            PublishBranch(candidates, r);
            out = p;
            return kFollowBranch;
        }
        break;
    }
    if (!anyEntity) {
        out = p;
        return kFollowEnded;
    }
    if (q.valid) {
        out = q;
        return kFollowEnded;
    }
    out = p;
    return kFollowNone;
}

int IsDuplicateEntity(int i, const CArray<x_TrailDirCorssData>& candidates)
{
    if (g_pDoc == nullptr)
        return 0;
    CUnitArray& list = g_pDoc->m_unitList;
    if (i < 0 || i >= list.GetSize() || list[i] == nullptr || list[i]->deleted)
        return 0;
    CUnit& ui = *list[i];
    const int type = ui.GetType();
    for (const x_TrailDirCorssData& c : candidates) {
        const int a = c.unitIndex;
        if (a < 0 || a >= list.GetSize() || a == i || list[a] == nullptr || list[a]->deleted)
            continue;
        CUnit& ua = *list[a];
        if (ua.GetType() != type)
            continue;
        bool same = false;
        switch (type) {
        case kLine:
            same = ua.GetStartPoint().IsEqual(ui.GetStartPoint()) && ua.GetEndPoint().IsEqual(ui.GetEndPoint());
            break;
        case kEllipseArc: {
            const EllipseRecord& x = ua.geometry.ellipse;
            const EllipseRecord& y = ui.geometry.ellipse;
            same = x.centre.IsEqual(y.centre) && x.majorAxis.IsEqual(y.majorAxis)
                   && std::fabs(x.axisRatio - y.axisRatio) < kSameValue
                   && std::fabs(x.startParam - y.startParam) < kSameValue
                   && std::fabs(x.endParam - y.endParam) < kSameValue && x.direction == y.direction;
            break;
        }
        case kCircle:
            same = ua.geometry.circle.centre.IsEqual(ui.geometry.circle.centre)
                   && std::fabs(ua.geometry.circle.radius - ui.geometry.circle.radius) < kSameValue;
            break;
        case kArc: {
            const ArcRecord& x = ua.geometry.arc;
            const ArcRecord& y = ui.geometry.arc;
            same = x.centre.IsEqual(y.centre) && x.direction == y.direction
                   && std::fabs(x.radius - y.radius) < kSameValue
                   && std::fabs(x.startAngle - y.startAngle) < kSameValue
                   && std::fabs(x.endAngle - y.endAngle) < kSameValue;
            break;
        }
        default:
            break;
        }
        if (same)
            return 1;
    }
    return 0;
}

void InstallChainFollowing()
{
    SetCollectCrossingsHook(&FollowChainHook);
}
