// Paths that used to be built wrong and reported done: closed splines cut
// as one entity, tapers whose upper contour cannot exist, tapered gears.
// Each is now exact against Clipper's offset of its own contour, or
// refused by the check.

#include <cmath>
#include <vector>

#include "tests/paths/outline_fixture.h"
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

class PathFaults : public OutlineTest {
protected:
    void SetUp() override
    {
        OutlineTest::SetUp();
        thread = x_Vector(8, 4);
    }
    double Apart(int surface, double offset)
    {
        return ApartFromReference(ContourOf(path.lists[surface]), path.unshifted[0], offset, sideKey - 1);
    }
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
        Clear();
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
            Clear();
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

// A generated gear (z 20, m 1) with a 2-degree taper over 20 mm: its upper
// contour lies 0.598 mm inside the teeth, whose tips are narrower than
// that twice. It was built with lines bridging the tooth tips 0.241 mm
// from the outline; now it is exact or refused, either side.
TEST_F(PathFaults, TaperedGearIsExactOrRefused)
{
    const GearInputs in = StandardGear(20, 1.0);
    settings.cutMode = 1;
    settings.thickness = 20;
    for (const double angle : {2.0, 0.5}) {
        for (const bool hole : {false, true}) {
            SCOPED_TRACE(testing::Message() << angle << (hole ? " hole" : " outline"));
            settings.taperAngle = angle;
            Clear();
            ASSERT_TRUE(TakeGear(in, false));
            ASSERT_EQ(chain.GetSize(), 120);
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

// Joints whose ends agree within 0.001 are made exact: an internal gear's
// root fillets left a few at 1.6e-6 mm, and a pass copied at distance 0
// kept the drawing's own 3.8e-6 mm step between a flank and its root line.
TEST_F(PathFaults, JointsWithinTheRuleAreExact)
{
    GearInputs in = StandardGear(43, 1.0);
    in.rootFillet = 0.3;
    ASSERT_TRUE(TakeGear(in, true));
    thread = x_Vector(0, 0);
    CheckedBuild b = BuildSide(false, 0.2046);
    ASSERT_TRUE(b.Built()) << PathCheckHint(b.check).ToUtf8();
    EXPECT_TRUE(CheckJoints(path.lists[0]).Ok());

    in.teeth = 16;
    in.rootFillet = 0.0;
    Clear();
    ASSERT_TRUE(TakeGear(in, false));
    thread = x_Vector(15, 0);
    settings.multiPass = true;
    settings.passCount = settings.passes.passCount = 2;
    settings.passes.multiPass = 1;
    settings.passes.passCuts[0].allowance = 0.05;
    b = BuildSide(false, 0.0);
    ASSERT_TRUE(b.Built()) << PathCheckHint(b.check).ToUtf8();
    EXPECT_TRUE(CheckJoints(path.lists[0]).Ok());
}

// Where a rack's half tips vanish under a hole's offset of 0.71 the
// offset's elements stay one chain: the closing joint used to move the
// vanished first element to the last one's end, 3.8 mm from the element
// after it.
TEST_F(PathFaults, OffsetClosesAtItsFirstElementWithALength)
{
    ASSERT_TRUE(TakeRack(StandardRack(3, 2.0)));
    BuildSide(true, 0.0);
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(kOffsetTaper, 0, path.unshifted[0], out, 1, sideKey - 1, 0.7086), kOffsetOk);
    const PathCheckResult joints = CheckJoints(out);
    EXPECT_TRUE(joints.Ok()) << PathCheckHint(joints).ToUtf8();
    EXPECT_EQ(out[out.GetSize() - 1].EndPoint(), out[0].StartPoint());
}

// Outlines whose offset exists with pieces of them vanishing, built as the
// true offset. The racks start in the middle of a tooth's tip; where that
// half tip (and its fillet) vanished, a line bridged from the base's side
// to where the tip's carrier met the flank, into the part. The internal
// gears lost a whole flank: the short line between its end and the tip
// circle vanishes, and the flank was made points up to the root.
TEST_F(PathFaults, OutlinesWithVanishingPiecesAreBuiltExact)
{
    RackInputs filleted = StandardRack(3, 1.0);
    filleted.tipFillet = 0.2;
    const struct {
        const char* name;
        int gearTeeth;                  // an internal gear's; 0: a rack
        double rootFillet;              // the gear's, mm
        RackInputs rack;
        bool hole;
        double comp;
        double module = 1.0;            // the gear's
    } kCases[] = {
        {"rack z 3 m 1, hole 0.3: half tips vanish", 0, 0.0, StandardRack(3, 1.0), true, 0.3},
        {"rack z 3 m 2, hole 0.7086: half tips vanish", 0, 0.0, StandardRack(3, 2.0), true, 0.7086},
        {"rack z 3 m 1, tip fillets, hole 0.298", 0, 0.0, filleted, true, 0.298},
        {"rack z 4 m 1, outline 0.49: root lines vanish", 0, 0.0, StandardRack(4, 1.0), false, 0.49},
        {"internal gear z 32 m 1, outline 0.13", 32, 0.0, {}, false, 0.13},
        {"internal gear z 32 m 1, hole 0.13", 32, 0.0, {}, true, 0.13},
        // A flank's last piece, 0.0003 mm long, could not be joined to the
        // tip circle, and lines bridged round the corner.
        {"internal gear z 35 m 1, hole 0.1149", 35, 0.0, {}, true, 0.114914},
        // The flank after the tip circle would have turned back to meet it
        // and was made points whole; a later piece of it meets the circle.
        {"internal gear z 32 m 1, root fillets, outline 0.404", 32, 0.3, {}, false, 0.404014},
        // The flanks meet where the root vanishes; the loop was cut at the
        // later flank's start, which agreed with the earlier one's end
        // within 0.001, and the path lay 0.0011 mm from its offset.
        {"internal gear z 45 m 1, root fillets, hole 0.468", 45, 0.3, {}, true, 0.468076},
        // A flank's last piece of 0.0099 mm, after a 1.6e-5 mm step, is a
        // point at 0.622: nothing beyond it meets the tip circle, and a line
        // bridged the convex corner 0.18 mm into the part (refused).
        {"internal gear z 33 m 2, hole 0.622", 33, 0.0, {}, true, 0.622227, 2.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Clear();
        if (c.gearTeeth > 0) {
            GearInputs in = StandardGear(c.gearTeeth, c.module);
            in.rootFillet = c.rootFillet;
            ASSERT_TRUE(TakeGear(in, true));
            thread = x_Vector(0, 0);
        } else {
            ASSERT_TRUE(TakeRack(c.rack));
            thread = x_Vector(1, -2);
        }
        const CheckedBuild b = BuildSide(c.hole, c.comp);
        EXPECT_TRUE(b.Built()) << PathCheckHint(b.check).ToUtf8();
        EXPECT_LT(Apart(0, c.comp), kAgreement) << WriteSvg("vanishing_pieces", {&path.unshifted[0], &path.lists[0]});
        EXPECT_TRUE(CheckJoints(path.lists[0]).Ok());
    }
}

// The corner past that short flank piece is rounded about the corner
// itself, at the offset.
TEST_F(PathFaults, ConvexCornerPastAShortFlankPieceIsRoundedAboutIt)
{
    const double comp = 0.622227;
    ASSERT_TRUE(TakeGear(StandardGear(33, 2.0), true));
    thread = x_Vector(0, 0);
    const CheckedBuild b = BuildSide(true, comp);
    ASSERT_TRUE(b.Built()) << PathCheckHint(b.check).ToUtf8();
    int rounded = 0;
    for (const x_TrailData& e : path.lists[0]) {
        if (e.IsLine() || std::fabs(e.radius - comp) > 1e-9)
            continue;
        for (const x_TrailData& c : path.unshifted[0])
            rounded += x_Vector::Distance(c.EndPoint(), e.centre) < 1e-9 ? 1 : 0;
    }
    EXPECT_GE(rounded, 1);
}
