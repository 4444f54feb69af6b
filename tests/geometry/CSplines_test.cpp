#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <string>

#include "geometry/CSplines.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "platform/gdi/CDC.h"
#include "tests/support/archive_bytes.h"
#include "tests/geometry/entity_doc.h"
#include "tests/geometry/golden_image.h"

namespace {

constexpr double kTight = 1e-9;             // exact constructions up to rounding

class Spline : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
    }
};

CSplines* MakeSpline(std::initializer_list<x_Vector> points)
{
    ++g_UnitIdCounter;
    auto* s = new CSplines();
    for (const x_Vector& p : points)
        s->nodes.Add(p);
    s->complete = 1;
    return s;
}

TEST_F(Spline, ArchiveTailIs71BytesThenCountAndNodes)
{
    const auto tail = Hex(
        "02 01"                                         // kind 2, closed
        "000000000000f03f 0000000000000040"             // base centre (1, 2)
        "000000000000e03f"                              // base radius 0.5
        "0000000000000000 0000000000000000"             // offsets
        "0000000000000000 0000000000000000"             // end, start
        "0000000000000000"                              // phase
        "01 03000000"                                   // mirrored, degree 3
        "0300"                                          // three nodes
        "000000000000f03f 0000000000000000 01 00000000000000"
        "0000000000000040 0000000000000000 01 00000000000000"
        "0000000000000840 000000000000f03f 01 00000000000000");
    ASSERT_EQ(tail.size(), 71u + 2u + 3u * 24u);
    CSplines s;
    s.geometry.spline.kind = 2;
    s.geometry.spline.closed = 1;
    s.geometry.spline.baseCentre = {1, 2};
    s.geometry.spline.baseRadius = 0.5;
    s.geometry.spline.mirrored = 1;
    s.geometry.spline.degree = 3;
    s.nodes.Add({1, 0});
    s.nodes.Add({2, 0});
    s.nodes.Add({3, 1});
    const auto written = StoreBytes([&](CArchive& ar) { s.Serialize(ar); });
    ASSERT_EQ(written.size(), 162u + tail.size());
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin() + 162, written.end()), tail);

    CSplines back;
    LoadBytes(written, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.geometry.spline.kind, 2);
    EXPECT_EQ(back.geometry.spline.degree, 3);
    EXPECT_EQ(back.geometry.spline.baseCentre, x_Vector(1, 2));
    ASSERT_EQ(back.nodes.GetSize(), 3);
    EXPECT_EQ(back.nodes[2], x_Vector(3, 1));
    EXPECT_EQ(back.flatValid, 0);
}

TEST_F(Spline, ArchiveNodeCountBeyondTheBytesLeftThrows)
{
    std::vector<std::uint8_t> record(162 + 71, 0);
    const auto count = Hex("ffff ffffff00");    // 16 million nodes promised
    record.insert(record.end(), count.begin(), count.end());
    record.resize(record.size() + 48, 0);
    CSplines s;
    EXPECT_THROW(LoadBytes(record, [&](CArchive& ar) { s.Serialize(ar); }), CArchiveException);
    std::vector<std::uint8_t> two(162 + 71, 0);
    two.push_back(2);
    two.push_back(0);
    two.resize(two.size() + 47, 0);             // one byte short of two nodes
    EXPECT_THROW(LoadBytes(two, [&](CArchive& ar) { s.Serialize(ar); }), CArchiveException);
}

// Three nodes were drawn as a polyline while path preparation cut the cubic.
TEST_F(Spline, ThreeNodesAreDrawnAsTheCubic)
{
    CSplines* s = MakeSpline({{0, 0}, {10, 10}, {20, 0}});
    s->Draw(nullptr, 1, nullptr);
    EXPECT_GT(s->flatPoints.GetSize(), 3);
    EXPECT_EQ(s->GetStartPoint(), x_Vector(0, 0));
    EXPECT_EQ(s->GetEndPoint(), x_Vector(20, 0));
    bool throughMiddle = false;
    for (int i = 0; i < s->flatPoints.GetSize(); ++i)
        throughMiddle |= s->flatPoints[i].IsEqual({10, 10});
    EXPECT_TRUE(throughMiddle);
    EXPECT_EQ(s->extentMax, x_Vector(20, 10));
    EXPECT_EQ(s->gripPoints.GetSize(), 3);
    delete s;
}

TEST_F(Spline, HitTestsAndSnaps)
{
    CSplines* s = MakeSpline({{0, 0}, {30, 0}});
    s->Draw(nullptr, 1, nullptr);
    EXPECT_TRUE(s->HitTest({0, 0}, 1));
    EXPECT_EQ(s->hitSegment, 0);
    EXPECT_TRUE(s->HitTest({12.3, 0}, 1));
    EXPECT_FALSE(s->HitTest({12.3, 0.5}, 1));
    EXPECT_FALSE(s->HitTest({200, 0}, 1));       // beyond the 80-pixel margin
    g_ViewScale = 1;
    EXPECT_TRUE(s->HitTest({12.3, 1.0}, 0));     // one pixel off
    EXPECT_FALSE(s->HitTest({12.3, 8.0}, 0));
    x_Vector ref, cursor(27.2, 0.3);             // drawn points: start, one, end
    EXPECT_TRUE(s->SnapPoints(ref, cursor, 0, 0));
    EXPECT_EQ(s->edit->gripHit, x_Vector(30, 0));
    s->geometry.spline.kind = 2;                 // a B-spline snaps to its start only
    s->workGeometry.spline.kind = 2;
    EXPECT_FALSE(s->SnapPoints(ref, cursor, 0, 0));
    delete s;
}

TEST_F(Spline, OffsetMovesCornerNodesToTheCrossing)
{
    CSplines* straight = MakeSpline({{0, 0}, {10, 0}});
    CUnit* out = nullptr;
    ASSERT_TRUE(straight->Offset(out, 5, 2));
    ASSERT_EQ(out->nodes.GetSize(), 2);
    EXPECT_NEAR(out->nodes[0].y, 5, kTight);
    EXPECT_NEAR(out->nodes[1].x, 10, kTight);
    delete out;
    // 45° bend: the offset chords y = 1 and y = x - 10 + √2 meet at x = 11 - √2
    // (moving the node 1 mm towards it gave x = 9).
    CSplines* bent = MakeSpline({{0, 0}, {10, 0}, {20, 10}});
    ASSERT_TRUE(bent->Offset(out, 1, 2));
    ASSERT_EQ(out->nodes.GetSize(), 3);
    EXPECT_NEAR(out->nodes[1].x, 11 - std::sqrt(2.0), kTight);
    EXPECT_NEAR(out->nodes[1].y, 1, kTight);
    delete out;
    CSplines* repeated = MakeSpline({{0, 0}, {0, 0.0004}, {5, 0}});
    ASSERT_TRUE(repeated->Offset(out, 0, 1));
    EXPECT_EQ(out->nodes.GetSize(), 2);
    delete out;
    CSplines* single = MakeSpline({{0, 0}});
    EXPECT_FALSE(single->Offset(out, 1, 1));
    EXPECT_EQ(out, nullptr);
    delete straight;
    delete bent;
    delete repeated;
    delete single;
}

TEST_F(Spline, MoveThenCopyOfTheWorkingCopy)
{
    CSplines* s = MakeSpline({{0, 0}, {10, 0}});
    s->Draw(nullptr, 1, nullptr);
    s->Move({10, 0});
    EXPECT_EQ(s->nodes[0], x_Vector(0, 0));
    CUnit* copy = nullptr;
    const std::uint64_t before = g_UnitIdCounter;
    ASSERT_TRUE(s->Copy(2, copy));
    EXPECT_EQ(copy->unitId, before + 1);
    EXPECT_EQ(copy->nodes[0], x_Vector(10, 0));
    delete copy;
    ASSERT_TRUE(s->Copy(1, copy));
    EXPECT_EQ(copy->unitId, s->unitId);
    EXPECT_EQ(copy->nodes[0], x_Vector(0, 0));
    delete copy;
    s->CommitTransform();
    EXPECT_EQ(s->nodes[1], x_Vector(20, 0));
    EXPECT_EQ(s->flatValid, 0);
    delete s;
}

TEST_F(Spline, InvoluteTransforms)
{
    CSplines* s = MakeSpline({});
    s->geometry.spline.kind = 1;
    s->geometry.spline.baseRadius = 10;
    s->geometry.spline.endParam = 0.5;
    EXPECT_FALSE(s->Scale({0, 0}, {2, 2}));
    ASSERT_TRUE(s->Rotate({0, 0}, 0.25));
    EXPECT_DOUBLE_EQ(s->workGeometry.spline.phase, 0.25);
    ASSERT_TRUE(s->Mirror({0, 0}, {1, 1}));
    EXPECT_NEAR(s->workGeometry.spline.phase, kPi / 2, kTight);
    s->Move({5, 0});
    EXPECT_EQ(s->workGeometry.spline.baseCentre, x_Vector(5, 0));
    s->CommitTransform();
    ASSERT_EQ(s->nodes.GetSize(), 2);
    EXPECT_NEAR(s->nodes[0].x, 15, kTight);
    EXPECT_NEAR(s->GetStartPoint().x, 15, kTight);
    delete s;
}

// Node editing during creation removed a node it had not appended, and its
// readout measured from the point just set (always 0).
TEST_F(Spline, CreationKeepsNodesAndMeasuresFromTheLastNode)
{
    CUnitView view;
    CSplines* s = MakeSpline({});
    s->keyPoints.Add({0, 0});
    view.m_firstPoint = {0, 0};
    g_cmdStep = 2;
    g_cmdPointCount = 1;
    s->InteractiveStep(nullptr, &view, {3, 4});
    EXPECT_EQ(view.m_promptText, CString(u"曲线节点距离：5.0000 mm"));
    s->keyPoints.Add({10, 0});
    g_cmdPointCount = 2;
    s->InteractiveStep(nullptr, &view, {10.5, 0});
    EXPECT_EQ(s->keyPoints.GetSize(), 2);
    EXPECT_EQ(s->keyPoints[1], x_Vector(10, 0));
    EXPECT_EQ(view.m_promptText, CString(u"曲线节点距离：0.5000 mm"));
    s->InteractiveStep(nullptr, &view, {20, 5});
    EXPECT_EQ(s->keyPoints.GetSize(), 2);
    EXPECT_GT(s->workCurve.GetSize(), 2);       // the preview ran through the cursor
    EXPECT_TRUE(s->workCurve[s->workCurve.GetSize() - 1].IsEqual({20, 5}));
    EXPECT_EQ(s->FindNodeAt({10.005, 0}), 0);
    EXPECT_EQ(s->FindNodeAt({0, 0}), -1);
    delete s;
}

TEST_F(Spline, WaveLineKeyPoints)
{
    CUnitView view;
    CSplines* s = MakeSpline({});
    view.m_firstPoint = {0, 0};
    g_cmdStep = 2;
    g_curCommand = 23;
    g_WavePeak = 2;
    s->InteractiveStep(nullptr, &view, {40, 0});
    ASSERT_EQ(s->keyPoints.GetSize(), 5);
    EXPECT_NEAR(s->keyPoints[1].x, 10, kTight);
    EXPECT_NEAR(s->keyPoints[1].y, 2, kTight);
    EXPECT_NEAR(s->keyPoints[3].y, -2, kTight);
    EXPECT_EQ(s->keyPoints[4], x_Vector(40, 0));
    delete s;
}

TEST_F(Spline, SplitInsideMakesTwoPiecesMeetingAtThePoint)
{
    TestDoc doc;
    CSplines* s = doc.Add(MakeSpline({{0, 0}, {30, 0}}));
    s->Draw(nullptr, 1, nullptr);
    x_Vector out;
    EXPECT_EQ(s->SplitAtCrossings(0, {10, 0}, 2, 0, out), 1);   // no hook: out = end
    ASSERT_EQ(doc.Count(), 3);
    auto* first = static_cast<CSplines*>(doc.At(1));
    auto* second = static_cast<CSplines*>(doc.At(2));
    EXPECT_EQ(first->flatPoints[first->flatPoints.GetSize() - 1], x_Vector(10, 0));
    EXPECT_EQ(second->flatPoints[0], x_Vector(10, 0));
    EXPECT_EQ(second->selected, 1);
    EXPECT_EQ(first->selected, 0);
    EXPECT_EQ(s->splitMarked, 1);
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 1);
    EXPECT_EQ(g_CreateTrailPoints[0].index, 2);
}

TEST_F(Spline, DirectionRecordsOfAnInnerPoint)
{
    CSplines* s = MakeSpline({{0, 0}, {30, 0}});
    s->Draw(nullptr, 1, nullptr);
    ASSERT_EQ(s->flatPoints.GetSize(), 3);       // the straight run thinned
    const x_Vector inner = s->flatPoints[1];
    ASSERT_TRUE(s->HitTest(inner, 1));
    ASSERT_TRUE(s->AppendDirectionRecord(inner));
    ASSERT_EQ(g_TrailDirections.GetSize(), 2);
    EXPECT_EQ(g_TrailDirections[0].direction, 2);
    EXPECT_NEAR(g_TrailDirections[0].angle, 0, kTight);
    EXPECT_NEAR(g_TrailDirections[1].angle, kPi, kTight);
    EXPECT_FALSE(s->AppendDirectionRecord({15, 1}));
    delete s;
}

TEST_F(Spline, GoldenImage)
{
    constexpr int kWidth = 64, kHeight = 48;
    QImage image(kWidth, kHeight, QImage::Format_RGB16);
    image.fill(Qt::black);
    AimRasterAt(image);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    CSplines* wave = MakeSpline({{0, 4}, {4, 9}, {8, 4}, {12, 0}});
    wave->colour = RGB(0, 255, 255);
    wave->Draw(&dc, 1, image.bits());
    CSplines* closed = MakeSpline({{8, 2}, {13, 4}, {8, 8}});
    closed->geometry.spline.closed = 1;
    closed->colour = RGB(255, 255, 0);
    closed->Draw(&dc, 1, image.bits());
    ExpectGoldenImage(image, "spline");
    delete wave;
    delete closed;
}

} // namespace
