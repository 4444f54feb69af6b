#include "tests/paths/path_view_fixture.h"

#include "wirepath/multi_pass.h"

namespace {

// role, sub-kind (pass), pause mark, start, end
struct Row {
    int role, pass, pause;
    double x1, y1, x2, y2;
};

class MultiPass : public PathViewTest {
protected:
    void SetUp() override
    {
        PathViewTest::SetUp();
        MachiningSettings& m = g_MachiningSettings;
        m.multiPass = 1;
        m.passCount = 3;
        const double allowances[4] = {0.1, 0.03, 0.0, 0.0};
        for (int p = 0; p < 7; ++p)
            m.passCuts[p].allowance = p < 4 ? allowances[p] : 0.0;
        m.passCuts[1].pulseWidth = 22;
        m.dieWidth = 0.0;
        m.dieStepOn = 0;
        m.dieStepOffset = 0.0;
        m.pauseBeforeCutOff = 0;
        m.pauseAfterFirstCut = 0;
        m.pauseBeforeStep = m.pauseAfterStep = 0;
        m.wireChangeBeforeDie = 0;
        m.trimLeadOn = 0;
        m.endAfterCutOff = 0;
        m.codingMode = kCodingFastWire;
        m.pauseAtWireChange = 0;
    }
    static void ExpectList(const x_TrailDataArray& list, const std::vector<Row>& rows)
    {
        ASSERT_EQ(list.GetSize(), static_cast<int>(rows.size()));
        for (int i = 0; i < list.GetSize(); ++i) {
            SCOPED_TRACE(i);
            const x_TrailData& e = list[i];
            const Row& r = rows[i];
            EXPECT_EQ(e.role, r.role);
            EXPECT_EQ(e.subKind, r.pass);
            EXPECT_EQ(e.attribute, r.pause);
            ExpectPoint(e.start, r.x1, r.y1, 1e-9);
            ExpectPoint(e.end, r.x2, r.y2, 1e-9);
        }
    }
};

} // namespace

// Rectangle 20 x 10 cut outside from (10, 0), compensation 0.1, passes at
// allowances 0.1, 0.03 and 0 (0.2, 0.13 and 0.1 from the contour). The die
// support is the last 5 mm of each pass, cut after all passes; the second
// pass runs backwards. Pause after the first pass and 2 mm before the end
// of the first support part (where the part comes free).
TEST_F(MultiPass, ThreePassesWithDieSupportPausesAndPassNumbers)
{
    MachiningSettings& m = g_MachiningSettings;
    m.dieWidth = 5.0;
    m.pauseAfterFirstCut = 1;
    m.pauseBeforeCutOff = 1;
    m.cutOffPauseDistance = 2.0;
    MakeRectanglePath();
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const CTrail& t = *paths[0];
    ExpectList(t.trails[0], {
        {1, 1, 0, 10, -5, 10, -0.2},
        {0, 1, 0, 10, -0.2, 20.2, -0.2}, {0, 1, 0, 20.2, -0.2, 20.2, 10.2}, {0, 1, 0, 20.2, 10.2, -0.2, 10.2},
        {0, 1, 0, -0.2, 10.2, -0.2, -0.2}, {0, 1, 1, -0.2, -0.2, 5, -0.2},
        {0, 2, 0, 5, -0.2, 5, -0.13},
        {0, 2, 0, 5, -0.13, -0.13, -0.13}, {0, 2, 0, -0.13, -0.13, -0.13, 10.13},
        {0, 2, 0, -0.13, 10.13, 20.13, 10.13}, {0, 2, 0, 20.13, 10.13, 20.13, -0.13},
        {0, 2, 0, 20.13, -0.13, 10, -0.13},
        {0, 3, 0, 10, -0.13, 10, -0.1},
        {0, 3, 0, 10, -0.1, 20.1, -0.1}, {0, 3, 0, 20.1, -0.1, 20.1, 10.1}, {0, 3, 0, 20.1, 10.1, -0.1, 10.1},
        {0, 3, 0, -0.1, 10.1, -0.1, -0.1}, {0, 3, 0, -0.1, -0.1, 5, -0.1},
        {4, 1, 0, 5, -0.1, 5, -0.2}, {4, 1, 1, 5, -0.2, 8, -0.2}, {4, 1, 0, 8, -0.2, 10, -0.2},
        {4, 2, 0, 10, -0.2, 10, -0.13}, {4, 2, 0, 10, -0.13, 5, -0.13},
        {4, 3, 0, 5, -0.13, 5, -0.1}, {4, 3, 0, 5, -0.1, 10, -0.1},
        {4, 1, 0, 10, -0.1, 10, -0.2},
        {1, 1, 0, 10, -0.2, 10, -5},
    });
    EXPECT_TRUE(t.trails[1].IsEmpty());
    EXPECT_EQ(t.params.cutCount, 3);
    EXPECT_EQ(t.params.multiPass, 1);
    EXPECT_EQ(t.params.cuts[1].pulseWidth, 22);
    EXPECT_NEAR(t.params.compensation, 0.1, 1e-12);
    EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
    EXPECT_EQ(drv->Command(), 0);
}

// A closed cut without die support runs every pass the same way; the
// pause before parting falls on the first pass.
TEST_F(MultiPass, ClosedCutWithoutDieSupportKeepsOneDirection)
{
    g_MachiningSettings.passCount = 2;
    g_MachiningSettings.pauseBeforeCutOff = 1;
    g_MachiningSettings.cutOffPauseDistance = 4.0;
    MakeRectanglePath();
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    ExpectList(paths[0]->trails[0], {
        {1, 1, 0, 10, -5, 10, -0.2},
        {0, 1, 0, 10, -0.2, 20.2, -0.2}, {0, 1, 0, 20.2, -0.2, 20.2, 10.2}, {0, 1, 0, 20.2, 10.2, -0.2, 10.2},
        {0, 1, 0, -0.2, 10.2, -0.2, -0.2}, {0, 1, 1, -0.2, -0.2, 6, -0.2}, {0, 1, 0, 6, -0.2, 10, -0.2},
        {0, 2, 0, 10, -0.2, 10, -0.13},
        {0, 2, 0, 10, -0.13, 20.13, -0.13}, {0, 2, 0, 20.13, -0.13, 20.13, 10.13},
        {0, 2, 0, 20.13, 10.13, -0.13, 10.13}, {0, 2, 0, -0.13, 10.13, -0.13, -0.13},
        {0, 2, 0, -0.13, -0.13, 10, -0.13},
        {4, 1, 0, 10, -0.13, 10, -0.2},
        {1, 1, 0, 10, -0.2, 10, -5},
    });
}

// Four passes, the step cut once: only the last pass keeps its support,
// cut with the first pass's parameters, and (n even) it is cut once more
// the other way before the lead-out.
TEST_F(MultiPass, StepCutOnceKeepsTheLastSupportOnly)
{
    MachiningSettings& m = g_MachiningSettings;
    m.passCount = 4;
    m.dieWidth = 5.0;
    m.dieStepOn = 1;
    MakeRectanglePath();
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const x_TrailDataArray& l = paths[0]->trails[0];
    int supports = 0;
    for (const x_TrailData& e : l)
        supports += e.role == 4 && e.start.y == e.end.y && e.start.x != e.end.x ? 1 : 0;
    EXPECT_EQ(supports, 2) << "the last support, once each way";
    // Pass 4 runs backwards from its support mark round to (10, -0.1).
    x_TrailDataArray last;
    for (int i = l.GetSize() - 5; i < l.GetSize(); ++i)
        last.Add(l[i]);
    ExpectList(last, {
        {0, 4, 0, 20.1, -0.1, 10, -0.1},
        {4, 1, 0, 10, -0.1, 5, -0.1},
        {4, 4, 0, 5, -0.1, 10, -0.1},
        {4, 1, 0, 10, -0.1, 10, -0.2},
        {1, 1, 0, 10, -0.2, 10, -5},
    });
}

// Corner clearing on every pass of an outer rectangle: each of the 3 x 4
// corners gets its triangle of role 7, and the cutting length stays the
// first pass's contour, 2 x (20.4 + 10.4). The excursions used to become
// role 0 on assembly and count in it.
TEST_F(MultiPass, CornerExcursionsKeepTheirRole)
{
    MachiningSettings& m = g_MachiningSettings;
    m.cornerAngle = 150.0;
    m.cornerLeadLength = 1.0;
    m.cornerLeadDir = 0;
    for (int p = 0; p < 7; ++p)
        m.cornerCuts[p] = 1;
    MakeRectanglePath();
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const x_TrailDataArray& l = paths[0]->trails[0];
    int excursions[4] = {0, 0, 0, 0};
    for (const x_TrailData& e : l)
        if (e.role == 7 && e.subKind >= 1 && e.subKind <= 3)
            ++excursions[e.subKind];
    for (int pass = 1; pass <= 3; ++pass)
        EXPECT_EQ(excursions[pass], 4 * 3) << "pass " << pass;
    EXPECT_NEAR(paths[0]->params.cutLength[0], 61.6, 1e-9);
}

TEST_F(MultiPass, DieSupportAsLongAsThePathIsRefusedWithNoPath)
{
    g_MachiningSettings.dieWidth = 60.0;
    MakeRectanglePath();
    EXPECT_TRUE(Paths().empty());
    EXPECT_TRUE(Printed(u"#轨迹生成失败，模台宽度过大! code：-10"));
    EXPECT_EQ(drv->Command(), kCmdPath);
    EXPECT_EQ(drv->view->m_subStep, 4) << "the side step stays for another pick";
    EXPECT_EQ(drv->view->m_path.trail, nullptr);
}

// A taper without compensation (0, or "无偏移"): every pass's upper
// contour lies tan(2°) x 20 = 0.698415 mm inside its lower one. The last
// pass, at distance 0, used to be copied and cut straight.
void ExpectEveryPassTapered(const CTrail& path)
{
    const double t = std::tan(2.0 * kPi / 180.0) * 20.0;
    const double allowance[3] = {0.1, 0.03, 0.0};
    const x_TrailDataArray& lower = path.trails[0];
    const x_TrailDataArray& upper = path.trails[1];
    ASSERT_EQ(lower.GetSize(), upper.GetSize());
    int bottoms[4] = {0, 0, 0, 0};
    for (int i = 0; i < lower.GetSize(); ++i) {
        const x_TrailData& a = lower[i];
        // The bottom edge of each pass: y = -allowance below, t higher above.
        if (a.role != 0 || a.start.y != a.end.y || a.start.y > 0.0 || a.subKind < 1 || a.subKind > 3)
            continue;
        SCOPED_TRACE(i);
        EXPECT_NEAR(a.start.y, -allowance[a.subKind - 1], 1e-9);
        EXPECT_NEAR(upper[i].start.y - a.start.y, t, 1e-9);
        ++bottoms[a.subKind];
    }
    for (int p = 1; p <= 3; ++p)
        EXPECT_GE(bottoms[p], 1) << "pass " << p;
}

TEST_F(MultiPass, TaperWithCompensationZeroTapersEveryPass)
{
    g_CutMode = 1;
    g_MachiningSettings.taperAngle = 2.0;
    g_MachiningSettings.compensation = 0.0;
    MakeRectanglePath();
    ASSERT_EQ(Paths().size(), 1u);
    ExpectEveryPassTapered(*Paths()[0]);
}

TEST_F(MultiPass, TaperWithNoOffsetTapersEveryPass)
{
    g_CutMode = 1;
    g_MachiningSettings.taperAngle = 2.0;
    g_MachiningSettings.noOffset = 1;
    MakeRectanglePath();
    ASSERT_EQ(Paths().size(), 1u);
    ExpectEveryPassTapered(*Paths()[0]);
}

TEST(PassFailureText, CodesAndTheirLines)
{
    const struct { int code; const char16_t* line; } kCases[] = {
        {-11, u"#轨迹生成失败，模台宽度过大! code：-11"},
        {-12, u"#轨迹生成失败，请检查参数! code：-12"},
        {-13, u"#轨迹生成失败，请检查参数! code：-13"},
        {-14, u"#轨迹生成失败，请检查参数 code：-14"},
        {-15, u"#轨迹生成失败，请检查参数 code：-15"},
        {-17, u"#轨迹生成失败，请检查参数 code：-17"},
        {-18, u"#轨迹生成失败，模台前换刀参数错误! code：-18"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(PassFailureText(c.code), CString(c.line));
}
