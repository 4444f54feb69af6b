#pragma once

// Path building as the path command runs it on the engine's side: chain
// collection and contour building, then the check of the finished path, or
// multi-pass finishing, which checks each pass itself. And how far a built
// surface lies from Clipper's offset of its contour.

#include <cmath>
#include <vector>

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "tests/paths/offset_reference.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/chain_collect.h"
#include "wirepath/multi_pass.h"
#include "wirepath/path_check.h"
#include "wirepath/path_codes.h"

// Agreement asked of a built contour with the reference: the rule's 0.001
// mm, and the chords of arcs flattened on both sides.
constexpr double kAgreement = 0.001 + 4 * kFlatError;

struct CheckedBuild {
    int code = 0;
    PathCheckResult check;
    bool Built() const { return code == kPathOk; }
};

inline CheckedBuild BuildChecked(const ChainRequest& r, const PathSettings& s, CUnitDocument& doc,
                                 const CArray<create_trail_pt_t>& chain, TrailPath& path)
{
    CheckedBuild b;
    b.code = CollectChainPoints(r, s, doc, chain, path);
    for (int i = 0; i < doc.m_tempList.GetSize(); ++i)
        delete doc.m_tempList[i];
    doc.m_tempList.RemoveAll();
    if (b.code != kPathOk)
        return b;
    if (s.IsMultiPass()) {
        PassRequest pr;
        pr.compSide = r.sideKey;
        pr.compensation = r.offset;
        for (int i = 0; i < 4; ++i)
            pr.pickPoints[i] = r.pickPoints[i];
        bool cornerFailed = false;
        b.code = BuildPasses(s, pr, path, cornerFailed);
        b.check = path.check;
        return b;
    }
    b.check = CheckFinishedPath(path);
    b.code = b.check.Ok() ? kPathOk : kPathCheckRefused;
    return b;
}

// The largest distance, both ways, between the cutting elements of a list
// and Clipper's offset of a closed contour by `offset` to `side` (0 right,
// 1 left of its direction; negative: the other side), away from the
// corners where arcs meet their neighbours on the miter's side.
inline double ApartFromReference(const x_TrailData* list, int count, const x_TrailDataArray& contour, double offset,
                                 int side, x_Vector* where = nullptr)
{
#ifdef ZORVA_HAVE_CLIPPER
    const Polyline polygon = ReferencePolygon(contour);
    // Right of a counter-clockwise contour is its outside.
    const bool outward = (TwiceSignedArea(polygon) > 0.0) == ((side == 0) == (offset >= 0.0));
    const std::vector<Polyline> reference = ClipperMiterOffset(polygon, outward ? std::fabs(offset) : -std::fabs(offset));
    return FarthestApart({Flatten(list, count)}, reference, where, ArcCornerZones(contour, offset, side, true));
#else
    (void)list, (void)count, (void)contour, (void)offset, (void)side, (void)where;
    return 0.0;
#endif
}

inline double ApartFromReference(const x_TrailDataArray& list, const x_TrailDataArray& contour, double offset, int side,
                                 x_Vector* where = nullptr)
{
    return ApartFromReference(list.GetData(), list.GetSize(), contour, offset, side, where);
}

// tan(angle) x thickness, outward contours less, holes more.
inline double TaperedOffset(double comp, double degrees, double thickness, bool outward)
{
    const double t = std::tan(degrees * kPi / 180.0) * thickness;
    return outward ? comp - t : comp + t;
}

// Pieces of an outline (role 0) in chain order from piece `first`, each
// with its chain direction (2 along itself, 1 against).
inline std::vector<std::pair<CUnit*, int>> OrderChain(CUnitArray& units, int first)
{
    std::vector<std::pair<CUnit*, int>> out;
    std::vector<bool> used(static_cast<size_t>(units.GetSize()), false);
    used[static_cast<size_t>(first)] = true;
    out.push_back({units[first], 2});
    x_Vector at = units[first]->GetEndPoint();
    for (bool found = true; found;) {
        found = false;
        for (int i = 0; i < units.GetSize() && !found; ++i) {
            CUnit* u = units[i];
            if (used[static_cast<size_t>(i)] || u->role != 0)
                continue;
            const int dir = u->GetStartPoint().IsEqual(at) ? 2 : (u->GetEndPoint().IsEqual(at) ? 1 : 0);
            if (dir == 0)
                continue;
            used[static_cast<size_t>(i)] = true;
            out.push_back({u, dir});
            at = dir == 2 ? u->GetEndPoint() : u->GetStartPoint();
            found = true;
        }
    }
    return out;
}
