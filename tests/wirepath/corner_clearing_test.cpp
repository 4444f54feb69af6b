#include "tests/wirepath/trail_fixture.h"
#include "wirepath/PathSettings.h"
#include "wirepath/corner_clearing.h"

namespace {

class Corners : public WirepathTest {
protected:
    void SetUp() override
    {
        WirepathTest::SetUp();
        s.clearCornerAngle = 150;
        s.clearCornerLeadLength = 1;
        lists[0] = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    }
    bool Clear(int m, int compSide, std::uint8_t closed = 1)
    {
        return ClearCorners(s, lists, m, out, closed, 1, compSide);
    }

    PathSettings s;
    x_TrailDataArray lists[2];
    x_TrailDataArray out[2];
};

} // namespace

TEST_F(Corners, SquareCornersByLeadDirection)
{
    const struct {
        const char* name;
        int mode, compSide, count;
    } kCases[] = {
        {"extension lines", 0, 1, 16},
        {"automatic", 2, 1, 16},
        {"bisector only: no outer corner", 1, 1, 4},
        {"bisector with the side inverted", 1, 2, 12},
        {"extension lines with the side inverted", 0, 2, 4},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        s.clearCornerLeadDir = static_cast<std::uint8_t>(c.mode);
        ASSERT_TRUE(Clear(1, c.compSide));
        EXPECT_EQ(out[0].GetSize(), c.count);
        EXPECT_TRUE(out[1].IsEmpty());
    }
    s.clearCornerLeadDir = 0;
    ASSERT_TRUE(Clear(1, 1));
    ExpectPoint(out[0][1].start, 10, 0);
    ExpectPoint(out[0][1].end, 11, 0);
    ExpectPoint(out[0][2].end, 10, -1);
    ExpectPoint(out[0][3].end, 10, 0);
    EXPECT_EQ(out[0][1].role, 7);
    // The closing corner's triangle follows the fourth line, at (0, 0).
    ExpectPoint(out[0][13].start, 0, 0);
    ExpectPoint(out[0][15].end, 0, 0);
    s.clearCornerLeadDir = 1;
    ASSERT_TRUE(Clear(1, 2));
    ExpectPoint(out[0][1].end, 10 + std::sqrt(0.5), -std::sqrt(0.5));
}

TEST_F(Corners, OpenListsLeadLinesAndFittedPieces)
{
    s.clearCornerLeadDir = 2;
    x_TrailDataArray open;
    open.Add(Line(0, 0, 10, 0, 0));
    open.Add(Line(10, 0, 10, 10, 1));
    open.Add(Line(10, 10, 0, 10, 2));
    lists[0] = open;
    ASSERT_TRUE(Clear(1, 1, 0));
    EXPECT_EQ(out[0].GetSize(), 3 + 2 * 3);
    EXPECT_EQ(out[0][out[0].GetSize() - 1].end, x_Vector(0, 10));
    lists[0][1].tag = 1;                    // a fitted piece forms no corner
    ASSERT_TRUE(Clear(1, 1, 0));
    EXPECT_EQ(out[0].GetSize(), 3);
    lists[0][1].tag = 0;
    lists[0][0].role = 1;                   // nor does a lead line
    ASSERT_TRUE(Clear(1, 1, 0));
    EXPECT_EQ(out[0].GetSize(), 3 + 3);
}

TEST_F(Corners, ShallowCornersAreKept)
{
    s.clearCornerLeadDir = 2;
    // An inner angle of 160°.
    const double a = 20.0 * kPi / 180.0;
    lists[0].RemoveAll();
    lists[0].Add(Line(0, 0, 10, 0, 0));
    lists[0].Add(Line(10, 0, 10 + 10 * std::cos(a), 10 * std::sin(a), 1));
    ASSERT_TRUE(Clear(1, 1, 0));
    EXPECT_EQ(out[0].GetSize(), 2);
    s.clearCornerAngle = 179;
    ASSERT_TRUE(Clear(1, 1, 0));
    EXPECT_EQ(out[0].GetSize(), 5);
}

TEST_F(Corners, TwoListsStayInStep)
{
    s.clearCornerLeadDir = 0;
    // The upper list turns by 20° only: its outputs are padded with zero lines.
    lists[1].Add(Line(0, 0, 10, 0, 0));
    lists[1].Add(Line(10, 0, 20, 3.64, 1));
    lists[1].Add(Line(20, 3.64, 0, 10, 2));
    lists[1].Add(Line(0, 10, 0, 0, 3));
    ASSERT_TRUE(Clear(2, 1));
    EXPECT_EQ(out[0].GetSize(), out[1].GetSize());
    EXPECT_EQ(out[1][1].start, out[1][1].end);
    lists[1].RemoveAt(3);
    EXPECT_FALSE(Clear(2, 1));
    EXPECT_TRUE(out[0].IsEmpty());
    EXPECT_TRUE(out[1].IsEmpty());
}

// A path's lists carry lead lines; the trial offset takes the contour
// between them (with them, it gained connecting lines and always failed).
TEST_F(Corners, LeadLinesAroundTheContourDoNotDefeatTheTrial)
{
    s.clearCornerLeadDir = 0;
    x_TrailDataArray path;
    x_TrailData leadIn = Line(5, -5, 5, 0, 0), leadOut = Line(5, 0, 5, -5, 6);
    leadIn.role = leadOut.role = 1;
    path.Add(leadIn);
    path.Add(Line(5, 0, 10, 0, 1));
    path.Add(Line(10, 0, 10, 10, 2));
    path.Add(Line(10, 10, 0, 10, 3));
    path.Add(Line(0, 10, 0, 0, 4));
    path.Add(Line(0, 0, 5, 0, 5));
    path.Add(leadOut);
    lists[0] = path;
    ASSERT_TRUE(Clear(1, 1));
    EXPECT_EQ(out[0].GetSize(), 7 + 4 * 3);
    ExpectPoint(out[0][2].start, 10, 0);
    ExpectPoint(out[0][2].end, 11, 0);
}
