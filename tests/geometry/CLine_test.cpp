#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/CLine.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "tests/support/archive_bytes.h"
#include "tests/geometry/entity_doc.h"

namespace {

constexpr double kExact = 1e-12;        // hand-worked values; only rounding differs

class Line : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
    }
};

void ExpectLine(CUnit* u, x_Vector a, x_Vector b)
{
    ASSERT_NE(u, nullptr);
    ASSERT_EQ(u->GetType(), 1);
    EXPECT_NEAR(u->GetStartPoint().x, a.x, 1e-9);
    EXPECT_NEAR(u->GetStartPoint().y, a.y, 1e-9);
    EXPECT_NEAR(u->GetEndPoint().x, b.x, 1e-9);
    EXPECT_NEAR(u->GetEndPoint().y, b.y, 1e-9);
}

// The common record of a new line with id 5 and colour white, then its tail.
const std::string kLineRecordHex =
    "00000000000000000000000000000000 00000000000000000000000000000000"   // inputPoints[0], [1]
    "00000000000000000000000000000000 00000000000000000000000000000000"   // inputPoints[2], [3]
    "00"                                                                // complete
    "00000000000000000000000000000000 00000000000000000000000000000000"   // extents
    "ffffffff 00 0500000000000000"                                      // listIndex, temporary, id
    "00000000 00000000 00000000 00000000 00000000 02000000 00000000"    // role .. lineStyle
    "ffffff00 00 00000000 00 00 00000000 0000000000000000 00"           // colour .. blockMember
    "0000000000000000 0000000000000000"                                 // p1 (0, 0)
    "0000000000002440 0000000000000000"                                 // p2 (10, 0)
    "01 00 0000000000000000 0000000000000000 00";                       // used, ref, refPoint, aux

TEST_F(Line, WcxFramedRecordBytes)
{
    g_UnitIdCounter = 5;
    CLine line(0, 0, 10, 0);
    line.colour = 0xFFFFFF;
    const auto bytes = StoreBytes([&](CArchive& ar) {
        ar << std::int32_t(100052) << std::int32_t(1078);
        ar.WriteCount(1);
        ar << static_cast<const CObject*>(&line);
    });
    const auto want = Hex("d4860100 36040000 0100 ffff 0100 0500 434c696e65 " + kLineRecordHex);
    ASSERT_EQ(Hex(kLineRecordHex).size(), 213u);
    EXPECT_EQ(bytes, want);

    LoadBytes(want, [](CArchive& ar) {
        std::int32_t magic = 0, version = 0;
        ar >> magic >> version;
        EXPECT_EQ(ar.ReadCount(), 1u);
        CObject* obj = nullptr;
        ar >> obj;
        auto* read = dynamic_cast<CLine*>(obj);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetEndPoint(), x_Vector(10, 0));
        EXPECT_EQ(read->geometry.line.used, 1);
        EXPECT_EQ(read->unitId, 5u);
        EXPECT_EQ(read->colour, 0xFFFFFFu);
        delete obj;
    });
}

TEST_F(Line, NewLineTailIs51Bytes)
{
    CLine line;
    const auto bytes = StoreBytes([&](CArchive& ar) { line.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 213u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 162, bytes.end()),
              std::vector<std::uint8_t>(51, 0));
}

TEST_F(Line, PickMeasuresAndAngles)
{
    CLine line(0, 0, 10, 0);
    EXPECT_TRUE(line.HitTest(x_Vector(5, 0.3), 0));      // 2·sqrt(25.09) − 10 < 0.65
    EXPECT_FALSE(line.HitTest(x_Vector(5, 2), 0));       // 2·sqrt(29) − 10 > 0.65
    EXPECT_TRUE(line.HitTest(x_Vector(5, 0.05), 1));      // 2·sqrt(25.0025) − 10 < 0.001
    EXPECT_FALSE(line.HitTest(x_Vector(5, 0.1), 1));      // 2·sqrt(25.01) − 10 > 0.001
    EXPECT_NEAR(line.GetStartAngle(), kPi, kExact);
    EXPECT_EQ(line.GetEndAngle(), 0.0);
    x_Vector p(5, 3), q(13, 4), r(10.00005, 0);
    EXPECT_NEAR(line.DistanceTo(p, 0, 0, 0), 3.0, kExact);
    EXPECT_NEAR(line.DistanceTo(q, 0, 0, 0), 5.0, kExact);
    EXPECT_NEAR(line.DistanceTo(r, 0, 0, 0), 0.00005, kExact);
    x_Vector out;
    double d = 0;
    line.NearestPoint(out, q, 1, &d);
    EXPECT_EQ(out, x_Vector(10, 0));
    line.NearestPoint(out, q, 0, &d);
    EXPECT_EQ(out, x_Vector(13, 0));
    EXPECT_NEAR(d, 4.0, kExact);
    EXPECT_NEAR(line.GetLength(), 10.0, kExact);
    CLine dot(1, 1, 1, 1);
    EXPECT_EQ(dot.DistanceTo(p, 0, 0, 0), 1e10);
}

TEST_F(Line, BreakKeepsTheFirstPartAndAppendsTheRest)
{
    TestDoc doc;
    CLine* line = doc.Add(new CLine(0, 0, 10, 0));
    x_Vector at;
    EXPECT_EQ(line->Break(x_Vector(4, 1), at), 1);
    EXPECT_EQ(at, x_Vector(4, 0));
    ExpectLine(line, {0, 0}, {4, 0});
    ASSERT_EQ(doc.Count(), 2);
    ExpectLine(doc.At(1), {4, 0}, {10, 0});
    EXPECT_EQ(line->Break(x_Vector(4.00005, 0), at), 0);
    EXPECT_EQ(line->Break(x_Vector(2, 3), at), 0);
    EXPECT_EQ(doc.Count(), 2);
}

TEST_F(Line, OffsetBySide)
{
    CLine line(0, 0, 10, 0);
    CUnit* out = nullptr;
    ASSERT_TRUE(line.Offset(out, 2, 2));
    ExpectLine(out, {0, 2}, {10, 2});
    delete out;
    ASSERT_TRUE(line.Offset(out, 2, 1));
    ExpectLine(out, {0, -2}, {10, -2});
    EXPECT_EQ(out->complete, 1);
    delete out;
}

TEST_F(Line, TrimBetweenTwoVerticals)
{
    const struct { const char* name; x_Vector pick; std::vector<std::pair<x_Vector, x_Vector>> added; }
    kCases[] = {
        {"middle piece", {5, 0}, {{{0, 0}, {3, 0}}, {{7, 0}, {10, 0}}}},
        {"first piece", {1, 0}, {{{3, 0}, {10, 0}}}},
        {"last piece", {9, 0.2}, {{{0, 0}, {7, 0}}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TestDoc doc;
        CLine* line = doc.Add(new CLine(0, 0, 10, 0));
        doc.Add(new CLine(3, -5, 3, 5));
        doc.Add(new CLine(7, -5, 7, 5));
        CUnit* copy = nullptr;
        line->Copy(0, copy);
        // The view trims a copy; the copy's own flag says nothing about the list.
        copy->deleted = 1;
        EXPECT_EQ(copy->Trim(0, c.pick, 0), 1);
        delete copy;
        EXPECT_EQ(doc.deletions, 1);
        EXPECT_TRUE(line->deleted);
        ASSERT_EQ(doc.Count(), 3 + static_cast<int>(c.added.size()));
        for (size_t i = 0; i < c.added.size(); ++i)
            ExpectLine(doc.At(3 + static_cast<int>(i)), c.added[i].first, c.added[i].second);
    }
}

TEST_F(Line, TrimWithoutCrossingOrOnAnAlreadyDeletedEntry)
{
    TestDoc doc;
    CLine* line = doc.Add(new CLine(0, 0, 10, 0));
    doc.Add(new CLine(20, -5, 20, 5));
    EXPECT_EQ(line->Trim(0, x_Vector(5, 0), 0), 0);
    doc.Add(new CLine(3, -5, 3, 5));
    line->deleted = 1;
    EXPECT_EQ(line->Trim(0, x_Vector(5, 0), 0), 1);
    EXPECT_EQ(doc.deletions, 0);                         // recorded once, not again
    g_curCommand = 60;                                   // only selected cutting edges
    CLine* other = doc.Add(new CLine(0, 1, 10, 1));
    EXPECT_EQ(other->Trim(0, x_Vector(5, 1), 4), 0);
}

TEST_F(Line, DirectionRecordsAtAnEndAndInside)
{
    CLine line(0, 0, 10, 0);
    line.unitId = 9;
    line.listIndex = 4;
    EXPECT_TRUE(line.AppendDirectionRecord(x_Vector(5, 0)));
    ASSERT_EQ(g_TrailDirections.GetSize(), 2);
    EXPECT_EQ(g_TrailDirections[0].angle, 0.0);
    EXPECT_EQ(g_TrailDirections[0].direction, 2);
    EXPECT_NEAR(g_TrailDirections[1].angle, kPi, kExact);
    EXPECT_EQ(g_TrailDirections[1].direction, 1);
    EXPECT_EQ(g_TrailDirections[1].unitId, 9u);
    EXPECT_EQ(g_TrailDirections[1].listIndex, 4);
    EXPECT_EQ(g_TrailDirections[1].active, 1);
    EXPECT_TRUE(line.AppendDirectionRecord(x_Vector(10, 0)));
    ASSERT_EQ(g_TrailDirections.GetSize(), 3);
    EXPECT_NEAR(g_TrailDirections[2].angle, kPi, kExact);
    EXPECT_EQ(g_TrailDirections[2].direction, 1);
    EXPECT_FALSE(line.AppendDirectionRecord(x_Vector(5, 1)));
}

TEST_F(Line, SplitForPathPreparation)
{
    TestDoc doc;
    SetCollectCrossingsHook(&CrossingScript::Hook);
    CLine* line = doc.Add(new CLine(0, 0, 10, 0));
    CrossingScript::answer = 1;
    CrossingScript::out = {10, 5};
    x_Vector e;
    EXPECT_EQ(line->SplitAtCrossings(0, x_Vector(4, 0), 2, 0, e), 1);
    EXPECT_EQ(CrossingScript::lastT, x_Vector(10, 0));
    EXPECT_TRUE(line->walked);
    EXPECT_FALSE(line->visible);
    ASSERT_EQ(doc.Count(), 3);
    ExpectLine(doc.At(1), {0, 0}, {4, 0});
    ExpectLine(doc.At(2), {4, 0}, {10, 0});
    EXPECT_FALSE(doc.At(1)->selected);
    EXPECT_TRUE(doc.At(2)->selected);
    EXPECT_TRUE(doc.At(2)->temporary);
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 1);
    EXPECT_EQ(g_CreateTrailPoints[0].index, 2);
    EXPECT_EQ(g_CreateTrailPoints[0].tag, 0);

    // Picked at the far end with nothing to continue: deselected, result 0.
    CLine* other = doc.Add(new CLine(0, 0, 10, 0));
    other->selected = 1;
    CrossingScript::answer = 0;
    EXPECT_EQ(other->SplitAtCrossings(0, x_Vector(10, 0), 2, 0, e), 0);
    EXPECT_EQ(CrossingScript::lastSkip, other->unitId);
    EXPECT_FALSE(other->selected);
    // Picked at the near end: the whole line is the chain piece.
    EXPECT_EQ(other->SplitAtCrossings(0, x_Vector(10, 0), 1, 0, e), 1);
    EXPECT_EQ(CrossingScript::lastSkip, 0u);
    EXPECT_TRUE(other->selected);
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 2);
    EXPECT_EQ(g_CreateTrailPoints[1].index, other->listIndex);
    EXPECT_EQ(g_CreateTrailPoints[1].tag, other->listIndex);
}

TEST_F(Line, SnapKinds)
{
    g_ViewScale = 2.0;                                   // 8 pixels = 4 mm
    CLine line(0, 0, 10, 0);
    x_Vector r(5, 20), c(9, 1);
    EXPECT_TRUE(line.SnapPoints(r, c, 0, 0));
    EXPECT_EQ(line.edit->gripHit, x_Vector(10, 0));
    EXPECT_EQ(line.snapKind, 1);
    c = {5.5, 1};
    EXPECT_TRUE(line.SnapPoints(r, c, 0, 1));
    EXPECT_EQ(line.snapKind, 2);                         // midpoint
    g_ViewScale = 10.0;                                  // 0.8 mm
    c = {6.1, 0.2};
    r = {6, 20};
    EXPECT_TRUE(line.SnapPoints(r, c, 0, 2));
    EXPECT_EQ(line.snapKind, 5);                         // foot from the previous point
    EXPECT_EQ(line.edit->gripHit, x_Vector(6, 0));
    c = {5.2, 0.2};
    EXPECT_TRUE(line.SnapPoints(r, c, 0, 2));
    EXPECT_EQ(line.snapKind, 2);                         // the midpoint is nearer the cursor
    r = {0, 20};
    c = {2.6, -0.1};
    EXPECT_TRUE(line.SnapPoints(r, c, 0, 2));
    EXPECT_EQ(line.snapKind, 4);                         // crossing of R→C with the line
    EXPECT_NEAR(line.edit->gripHit.x, 2.6 * 20 / 20.1, 1e-9);
    c = {2.6, 0.3};
    EXPECT_TRUE(line.SnapPoints(r, c, 0, 1));
    EXPECT_EQ(line.snapKind, 4);                         // nearest point
    EXPECT_EQ(line.edit->gripHit, x_Vector(2.6, 0));
    g_SnapRestrict = 1;
    EXPECT_FALSE(line.SnapPoints(r, c, 0, 1));
}

TEST_F(Line, GripsAndTheCompoundReferenceGrip)
{
    TestDoc doc;
    const x_Vector sq[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    CLine* edges[4];
    for (int i = 0; i < 4; ++i) {
        edges[i] = doc.Add(new CLine(sq[i].x, sq[i].y, sq[(i + 1) % 4].x, sq[(i + 1) % 4].y));
        edges[i]->group = 3;
        edges[i]->pieceOf = 1;
    }
    g_ViewScale = 4.0;
    edges[0]->UpdateGripPoints();
    EXPECT_EQ(edges[0]->gripPoints.GetSize(), 2);        // no midpoint grip on a piece
    EXPECT_TRUE(edges[0]->refActive);
    EXPECT_EQ(edges[0]->refPoint, x_Vector(5, 5));
    EXPECT_EQ(edges[0]->HitTestGrip(x_Vector(5, 6)), -1);
    EXPECT_EQ(edges[0]->edit->gripHit, x_Vector(5, 5));
    EXPECT_EQ(edges[0]->HitTestGrip(x_Vector(9.5, 0.5)), 2);
    EXPECT_EQ(edges[0]->HitTestGrip(x_Vector(5, 20)), 0);

    // Folded flat: closed but of no area, so no reference point (was NaN).
    TestDoc flat;
    const double xs[3] = {0, 10, 0};
    CLine* pieces[2];
    for (int i = 0; i < 2; ++i) {
        pieces[i] = flat.Add(new CLine(xs[i], 0, xs[i + 1], 0));
        pieces[i]->group = 4;
        pieces[i]->pieceOf = 1;
    }
    pieces[0]->UpdateGripPoints();
    EXPECT_FALSE(pieces[0]->refActive);

    CLine single(0, 0, 10, 0);
    single.UpdateGripPoints();
    ASSERT_EQ(single.gripPoints.GetSize(), 3);
    EXPECT_EQ(single.gripPoints[2], x_Vector(5, 0));
}

TEST_F(Line, EndGripDragKeepsTheDraggedEndSecond)
{
    TestDoc doc;
    CUnitView view;
    CLine* line = doc.Add(new CLine(0, 0, 10, 0));
    line->Draw(nullptr, 1, nullptr);                     // grips
    line->OnPick(nullptr, &view, x_Vector(5, 0.1));
    ASSERT_TRUE(line->selected);
    line->OnPick(nullptr, &view, x_Vector(0.5, 0.5));    // start grip
    EXPECT_EQ(view.m_gripNumber, 1);
    EXPECT_EQ(g_cmdStep, 4);
    EXPECT_EQ(view.m_firstPoint, x_Vector(10, 0));
    EXPECT_EQ(line->workGeometry.line.p2, x_Vector(0, 0));
    line->InteractiveStep(nullptr, &view, x_Vector(-3, 40));
    EXPECT_EQ(line->workGeometry.line.p2, x_Vector(-3, 40));
    EXPECT_EQ(view.m_promptText, CString(u"长度：42.0595mm ，角度：108.0042°"));
    line->InteractiveStep(nullptr, &view, x_Vector(-3, 2));   // near the foot (−3, 0)
    EXPECT_EQ(line->workGeometry.line.p2, x_Vector(-3, 0));
    EXPECT_EQ(view.m_cursorPoint, x_Vector(-3, 0));
    line->CommitTransform();
    ExpectLine(line, {10, 0}, {-3, 0});
}

TEST_F(Line, ParallelCopyFollowsTheCursorSide)
{
    CUnitView view;
    view.m_parallelRef[0] = {0, 0};
    view.m_parallelRef[1] = {10, 0};
    g_curCommand = 1;
    g_LineMode = 2;
    CLine line;
    line.InteractiveStep(nullptr, &view, x_Vector(3, 2));
    EXPECT_NEAR(line.workGeometry.line.p1.y, 2, 1e-12);
    EXPECT_NEAR(line.workGeometry.line.p2.x, 10, 1e-12);
    line.InteractiveStep(nullptr, &view, x_Vector(7, -1.5));
    EXPECT_NEAR(line.workGeometry.line.p1.x, 0, 1e-12);
    EXPECT_NEAR(line.workGeometry.line.p1.y, -1.5, 1e-12);
    EXPECT_NEAR(g_LineEndPoint.y, -1.5, 1e-12);
    EXPECT_EQ(view.m_promptText, CString(u"长度：10.0000mm ，角度：0.0000°"));
    g_LineMode = 3;                                      // the other side shown too
    line.InteractiveStep(nullptr, &view, x_Vector(7, -1.5));
    EXPECT_NEAR(g_LineEndPoint.x, 10, 1e-12);
    EXPECT_NEAR(g_LineEndPoint.y, 1.5, 1e-12);
}

TEST_F(Line, TransformsWriteTheWorkingCopy)
{
    CLine line(1, 0, 3, 0);
    line.Rotate(x_Vector(0, 0), kPi / 2);
    EXPECT_NEAR(line.workGeometry.line.p2.y, 3, 1e-12);
    EXPECT_EQ(line.GetEndPoint(), x_Vector(3, 0));
    line.Mirror(x_Vector(0, 1), x_Vector(1, 1));
    EXPECT_NEAR(line.workGeometry.line.p1.y, 2, 1e-12);
    line.Move(x_Vector(0, 5));
    CUnit* copy = nullptr;
    line.Copy(2, copy);
    ExpectLine(copy, {1, 5}, {3, 5});
    delete copy;
    line.gearKind = 1;
    EXPECT_FALSE(line.Scale(x_Vector(0, 0), x_Vector(2, 2)));
}

} // namespace

