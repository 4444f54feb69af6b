// Paths that used to be built wrong and reported done: closed splines cut
// as one entity, tapers whose upper contour cannot exist, tapered gears.
// Each is now exact against Clipper's offset of its own contour, or
// refused by the check.

#include <cmath>
#include <vector>

#include "generators/gear_outline.h"
#include "geometry/CSplines.h"
#include "tests/wirepath/chain_fixture.h"
#include "tests/wirepath/checked_build.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

// The outline worked by hand in the report of these faults.
const std::vector<x_Vector> kFiveNodes = {{0, 0}, {15, -6}, {25, 5}, {12, 16}, {-6, 9}};

std::vector<x_Vector> Ring(int nodes, double r)
{
    std::vector<x_Vector> pts;
    for (int i = 0; i < nodes; ++i)
        pts.emplace_back(r * std::cos(kTwoPi * i / nodes), r * std::sin(kTwoPi * i / nodes));
    return pts;
}

// The contour elements of a built list: its lead lines left out.
x_TrailDataArray ContourOf(const x_TrailDataArray& list)
{
    x_TrailDataArray out;
    for (const x_TrailData& e : list)
        if (e.role == 0)
            out.Add(e);
    return out;
}

class PathFaults : public ChainTest {
protected:
    void SetUp() override
    {
        ChainTest::SetUp();
        m = MachiningSettings();
    }
    void Clear()
    {
        TearDown();
        g_pDoc = &doc;
    }
    void TakeSpline(const std::vector<x_Vector>& nodes)
    {
        Clear();
        auto* s = new CSplines();
        for (const x_Vector& p : nodes)
            s->nodes.Add(p);
        s->keyPoints.Copy(s->nodes);
        s->geometry.spline.closed = s->workGeometry.spline.closed = 1;
        Take(s);
        leadIn = nodes[0];
    }
    // Built on the side that makes it a hole (outer: the other one).
    CheckedBuild BuildSide(bool hole, double comp)
    {
        for (int key = 1; key <= 2; ++key) {
            path = TrailPath();
            const CheckedBuild b = BuildChecked(Request(thread, leadIn, key, comp), settings, m, doc, chain, path);
            if (path.outward[0] == (hole ? 0 : 1)) {
                sideKey = key;
                return b;
            }
        }
        ADD_FAILURE() << "no side gives the wanted outward flag";
        return {};
    }
    double Apart(int surface, double offset)
    {
        return ApartFromReference(ContourOf(path.lists[surface]), path.unshifted[0], offset, sideKey - 1);
    }

    MachiningSettings m;
    x_Vector leadIn, thread{8, 4};
    int sideKey = 1;
};

} // namespace

// One closed spline cut as a hole or an outline: its run of pieces starts
// and ends at the lead-in point. The loop test took the last pieces, which
// cross the first ones there, for a loop over the whole run and cut it all
// (81 mm at 0.35, 0.003 mm at 0.40), and the contour stayed open there by
// up to 0.0012 mm with its first and last pieces crossing.
TEST_F(PathFaults, ClosedSplineAsOneEntityKeepsItsOffset)
{
    const struct {
        const char* name;
        std::vector<x_Vector> nodes;
        double comp;
        bool hole;
    } kCases[] = {
        {"five nodes, hole, 0.35", kFiveNodes, 0.35, true},
        {"five nodes, hole, 0.40", kFiveNodes, 0.40, true},
        {"five nodes, outline, 0.40", kFiveNodes, 0.40, false},
        {"ring of 8, hole, 0.3", Ring(8, 10), 0.3, true},
        {"ring of 8, outline, 0.1", Ring(8, 10), 0.1, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TakeSpline(c.nodes);
        const CheckedBuild b = BuildSide(c.hole, c.comp);
        ASSERT_TRUE(b.Built()) << PathCheckHint(b.check).ToUtf8();
        const x_TrailDataArray contour = ContourOf(path.lists[0]);
        EXPECT_GT(TrailLength(contour), 50.0);
        EXPECT_LT(Apart(0, c.comp), kAgreement);
        // Closed exactly at the lead-in, the ends apart.
        EXPECT_EQ(contour[contour.GetSize() - 1].EndPoint(), contour[0].StartPoint());
        EXPECT_FALSE(TrailCrossesItself(contour.GetData(), contour.GetSize(), true));
    }
}

// The upper contour of a taper on a closed spline: about 465 pieces at one
// point, either side, before the closing joint was mended.
TEST_F(PathFaults, ClosedSplineTaperUpperContour)
{
    settings.cutMode = 1;
    settings.thickness = 20;
    for (const double angle : {2.0, -2.0}) {
        for (const bool hole : {true, false}) {
            SCOPED_TRACE(testing::Message() << angle << (hole ? " hole" : " outline"));
            settings.taperAngle = angle;
            TakeSpline(kFiveNodes);
            const CheckedBuild b = BuildSide(hole, 0.1);
            ASSERT_TRUE(b.Built()) << PathCheckHint(b.check).ToUtf8();
            EXPECT_LT(Apart(0, 0.1), kAgreement);
            EXPECT_LT(Apart(1, TaperedOffset(0.1, angle, 20, !hole)), kAgreement);
        }
    }
}

// Holes narrower than twice the upper contour's offset: their upper
// contour cannot exist. The slots' upper lines passed each other and the
// list ran the other way round; now they are refused like the circle.
TEST_F(PathFaults, TaperWhoseUpperContourCannotExistIsRefused)
{
    settings.cutMode = 1;
    settings.taperAngle = 2;
    settings.thickness = 20;
    const struct {
        const char* name;
        double halfWidth;           // the end arcs' radius
    } kSlots[] = {{"1 mm slot, r 0.5 ends", 0.5}, {"1.2 mm slot, r 0.6 ends", 0.6}};
    for (const auto& c : kSlots) {
        SCOPED_TRACE(c.name);
        Clear();
        const double r = c.halfWidth;
        TakeLine(0, -r, 5, -r);
        Take(NewArc(x_Vector(5, 0), r, 1.5 * kPi, 0.5 * kPi, 0));
        TakeLine(5, r, 0, r);
        Take(NewArc(x_Vector(0, 0), r, 0.5 * kPi, 1.5 * kPi, 0));
        leadIn = x_Vector(0, -r);
        thread = x_Vector(2.5, 0);
        EXPECT_FALSE(BuildSide(true, 0.1).Built());
    }
    Clear();
    Take(NewArc(x_Vector(0, 0), 0.5, 0, kTwoPi, 0));
    leadIn = x_Vector(0.5, 0);
    thread = x_Vector(0, 0);
    EXPECT_FALSE(BuildSide(true, 0.1).Built());
}

namespace {

// The gear's pieces in chain order from its first flank.
void ChainUnits(CUnitArray& units, std::vector<std::pair<CUnit*, int>>& out)
{
    std::vector<bool> used(static_cast<size_t>(units.GetSize()), false);
    CUnit* first = units[0];
    used[0] = true;
    out.push_back({first, 2});
    x_Vector at = first->GetEndPoint();
    for (bool found = true; found;) {
        found = false;
        for (int i = 0; i < units.GetSize(); ++i) {
            if (used[static_cast<size_t>(i)] || units[i]->role != 0)
                continue;
            CUnit* u = units[i];
            const int dir = u->GetStartPoint().IsEqual(at) ? 2 : (u->GetEndPoint().IsEqual(at) ? 1 : 0);
            if (dir == 0)
                continue;
            used[static_cast<size_t>(i)] = true;
            out.push_back({u, dir});
            at = dir == 2 ? u->GetEndPoint() : u->GetStartPoint();
            found = true;
            break;
        }
    }
}

} // namespace

// A generated gear (z 20, m 1) with a 2-degree taper over 20 mm: its upper
// contour lies 0.598 mm inside the teeth, whose tips are narrower than
// that twice. It was built with lines bridging the tooth tips 0.241 mm
// from the outline; now it is exact or refused, either side.
TEST_F(PathFaults, TaperedGearIsExactOrRefused)
{
    GearInputs in;
    in.teeth = 20;
    in.module = 1.0;
    in.alphaDeg = 20.0;
    in.ha = 1.0;
    in.c = 0.25;
    settings.cutMode = 1;
    settings.thickness = 20;
    for (const double angle : {2.0, 0.5}) {
        for (const bool hole : {false, true}) {
            SCOPED_TRACE(testing::Message() << angle << (hole ? " hole" : " outline"));
            settings.taperAngle = angle;
            Clear();
            CUnitArray units;
            GearOutline outline;
            ASSERT_TRUE(BuildExternalGear(in, ExternalGearCircles(in), 0, false, units, outline));
            std::vector<std::pair<CUnit*, int>> ordered;
            ChainUnits(units, ordered);
            ASSERT_EQ(ordered.size(), 120u);
            for (const auto& [u, dir] : ordered)
                Take(u, dir);
            for (CUnit* u : units)
                if (u->role != 0)
                    delete u;
            leadIn = ordered[0].first->GetStartPoint();
            thread = x_Vector(hole ? 0 : 15, 0);
            const CheckedBuild b = BuildSide(hole, 0.1);
            // Half a degree leaves the teeth standing at the top.
            if (angle < 1.0) {
                ASSERT_TRUE(b.Built()) << PathCheckHint(b.check).ToUtf8();
            }
            if (!b.Built())
                continue;
            EXPECT_LT(Apart(0, 0.1), kAgreement);
            EXPECT_LT(Apart(1, TaperedOffset(0.1, angle, 20, !hole)), kAgreement);
        }
    }
}
