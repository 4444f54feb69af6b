#include "tests/paths/path_view_fixture.h"

#include <mutex>

namespace {

// Lengths agree to rounding of sums over a few elements.
constexpr double kLengthTol = 1e-9;

class PathBuild : public PathViewTest {
protected:
    void SetUp() override
    {
        PathViewTest::SetUp();
        MachiningSettings& m = g_MachiningSettings;
        m.cornerLeadDir = 2;            // automatic: bisector or extension lines
        m.taperAngle = 2.0;
        m.invertedTaper = 0;
        m.taperUsesIncline = 0;
    }
    void Outline(const std::vector<x_Vector>& corners)
    {
        std::lock_guard<std::recursive_mutex> lock(drv->doc->m_listMutex);
        for (size_t i = 0; i < corners.size(); ++i) {
            const x_Vector& a = corners[i];
            const x_Vector& b = corners[(i + 1) % corners.size()];
            auto* line = new CLine(a.x, a.y, b.x, b.y);
            line->unitId = ++g_UnitIdCounter;
            line->complete = 1;
            drv->doc->m_unitList.Add(line);
        }
    }
    // Lead-in at (10, 0) on the bottom edge from (10, -5) or (10, 5), cut
    // along +x, the side typed (0 right of the cut: outside).
    CTrail* Build(int typedSide)
    {
        return Build({10, typedSide == 0 ? -5.0 : 5.0}, {10, 0}, typedSide);
    }
    CTrail* Build(const x_Vector& thread, const x_Vector& leadIn, int typedSide)
    {
        drv->Start(kCmdPath);
        Click(thread);
        Click(leadIn);
        ClickPixel(MarkerHead(MarkerAt(0.0)));
        Type(typedSide == 0 ? u"0" : u"1");
        const auto paths = Paths();
        return paths.empty() ? nullptr : paths.back();
    }
    static int Excursions(const x_TrailDataArray& list)
    {
        int n = 0;
        for (const x_TrailData& e : list)
            n += e.role == 7 ? 1 : 0;
        return n;
    }
    static double ExcursionLength(const x_TrailDataArray& list)
    {
        double sum = 0.0;
        for (const x_TrailData& e : list)
            sum += e.role == 7 ? x_Vector::Distance(e.start, e.end) : 0.0;
        return sum;
    }
};

const std::vector<x_Vector> kRectangle = {{0, 0}, {20, 0}, {20, 10}, {0, 10}};
const std::vector<x_Vector> kEll = {{0, 0}, {20, 0}, {20, 6}, {8, 6}, {8, 14}, {0, 14}};
const std::vector<x_Vector> kTriangle = {{0, 0}, {20, 0}, {10, 15}};

} // namespace

// Single-pass corner clearing on a rectangle, an L and a triangle, straight
// and tapered, outside and inside. Every corner turns left (the contour
// runs counter-clockwise) except the L's inner one. Outside, left turns are
// cleared along the extension lines (3 lines) and the right turn along the
// bisector (2); inside the other way round. The excursions (role 7) leave
// the cutting length as it was. Clearing used to fail on every path: its
// trial offset ran over the lead lines too and changed the element count.
TEST_F(PathBuild, CornersAreClearedOnEveryShapeModeAndSide)
{
    const struct {
        const char* name;
        const std::vector<x_Vector>* shape;
        int side, excursions;
    } kCases[] = {
        {"rectangle outside", &kRectangle, 0, 4 * 3},
        {"rectangle inside", &kRectangle, 1, 4 * 2},
        {"L outside", &kEll, 0, 5 * 3 + 2},
        {"L inside", &kEll, 1, 5 * 2 + 3},
        {"triangle outside", &kTriangle, 0, 3 * 3},
        {"triangle inside", &kTriangle, 1, 3 * 2},
    };
    for (const int mode : {0, 1}) {
        for (const auto& c : kCases) {
            SCOPED_TRACE(std::string(c.name) + (mode == 1 ? ", taper" : ""));
            g_CutMode = mode;
            drv->doc->FreeAllUnits();
            Outline(*c.shape);
            g_MachiningSettings.cornerAngle = 0.0;
            g_MachiningSettings.cornerLeadLength = 0.0;
            const CTrail* plain = Build(c.side);
            ASSERT_NE(plain, nullptr);
            const TrailParams before = plain->params;
            g_MachiningSettings.cornerAngle = 150.0;
            g_MachiningSettings.cornerLeadLength = 1.0;
            const CTrail* cleared = Build(c.side);
            ASSERT_NE(cleared, nullptr);
            ASSERT_NE(cleared, plain);
            for (int k = 0; k < (mode == 1 ? 2 : 1); ++k) {
                const x_TrailDataArray& list = cleared->trails[k];
                EXPECT_EQ(Excursions(list), c.excursions) << "surface " << k;
                EXPECT_NEAR(cleared->params.cutLength[k], before.cutLength[k], kLengthTol);
                EXPECT_NEAR(cleared->params.length[k], before.length[k] + ExcursionLength(list), kLengthTol);
            }
            EXPECT_EQ(cleared->trails[1].GetSize(), mode == 1 ? cleared->trails[0].GetSize() : 0);
            EXPECT_FALSE(Printed(u"*清角失败，轨迹未清角"));
        }
    }
}

// The excursions of the first corner, worked by hand: outside, the
// triangle J (20.1, -0.1) -> J + (1, 0) -> J - (0, 1) -> J; inside, out and
// back along the bisector to J + (1, -1) / sqrt 2.
TEST_F(PathBuild, ClearedCornerGeometry)
{
    Outline(kRectangle);
    g_MachiningSettings.cornerAngle = 150.0;
    g_MachiningSettings.cornerLeadLength = 1.0;
    const CTrail* outside = Build(0);
    ASSERT_NE(outside, nullptr);
    const x_TrailDataArray& o = outside->trails[0];
    ASSERT_EQ(o.GetSize(), 7 + 12);
    ExpectPoint(o[1].end, 20.1, -0.1);
    ExpectPoint(o[2].start, 20.1, -0.1);
    ExpectPoint(o[2].end, 21.1, -0.1);
    ExpectPoint(o[3].end, 20.1, -1.1);
    ExpectPoint(o[4].end, 20.1, -0.1);
    EXPECT_EQ(o[5].role, 0);
    ExpectPoint(o[5].start, 20.1, -0.1);

    const CTrail* inside = Build(1);
    ASSERT_NE(inside, nullptr);
    const x_TrailDataArray& i = inside->trails[0];
    ASSERT_EQ(i.GetSize(), 7 + 8);
    ExpectPoint(i[2].start, 19.9, 0.1);
    ExpectPoint(i[2].end, 19.9 + std::sqrt(0.5), 0.1 - std::sqrt(0.5));
    ExpectPoint(i[3].end, 19.9, 0.1);
}

// An over-cut runs on past the closing point and back; the trial offset
// takes the contour up to the closing point only, so the corners are still
// cleared (the turn at the over-cut's end has parallel sides and is left).
TEST_F(PathBuild, OverCutKeepsCornerClearing)
{
    Outline(kRectangle);
    g_MachiningSettings.cornerAngle = 150.0;
    g_MachiningSettings.cornerLeadLength = 1.0;
    g_MachiningSettings.overCut = 2.0;
    const CTrail* path = Build(0);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(Excursions(path->trails[0]), 4 * 3);
    EXPECT_FALSE(Printed(u"*清角失败，轨迹未清角"));
}

// A clearing that cannot be made leaves the path as it was and says so,
// with the hint the batch run gives. A slot cut inside, clockwise, whose
// compensated contour is 0.06 wide: the trial offset of 0.05 to its inner
// side has no room. With three passes (0.2, 0.13 and 0.1 from the slot's
// edges) only the first is that narrow; the others are cleared.
TEST_F(PathBuild, ImpossibleClearingIsReportedAndThePathKept)
{
    const struct {
        const char* name;
        int passes;
        double width;
        int excursions;
    } kCases[] = {
        {"single pass", 1, 0.26, 0},
        {"three passes", 3, 0.46, 2 * 4 * 2},
    };
    drv->SetView(60.0, 100, 300);     // the slot's edges 15 pixels apart or more
    MachiningSettings& m = g_MachiningSettings;
    m.cornerAngle = 150.0;
    m.cornerLeadLength = 1.0;
    m.passCuts[0].allowance = 0.1;
    m.passCuts[1].allowance = 0.03;
    m.passCuts[2].allowance = 0.0;
    m.dieWidth = 0.0;
    m.trimLeadOn = 0;
    for (int p = 0; p < 7; ++p)
        m.cornerCuts[p] = 1;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->doc->FreeAllUnits();
        drv->view->ClearOutput();
        m.multiPass = c.passes > 1 ? 1 : 0;
        m.passCount = c.passes;
        Outline({{0, 0}, {10, 0}, {10, c.width}, {0, c.width}});
        const CTrail* path = Build({5, c.width / 2}, {5, c.width}, 0);
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(Excursions(path->trails[0]), c.excursions);
        EXPECT_TRUE(Printed(u"*清角失败，轨迹未清角"));
        EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
    }
}
