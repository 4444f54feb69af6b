#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/CEllipse.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "platform/gdi/CDC.h"
#include "tests/support/archive_bytes.h"
#include "tests/geometry/entity_doc.h"
#include "tests/geometry/golden_image.h"

namespace {

constexpr double kTight = 1e-9;         // hand-worked values; only rounding differs

class Ellipse : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
    }
};

EllipseRecord Shape(double cx, double cy, double ax, double ay, double ratio, std::uint8_t dir = 0)
{
    EllipseRecord e;
    e.centre = {cx, cy};
    e.majorAxis = {ax, ay};
    e.axisRatio = ratio;
    e.direction = dir;
    e.startParam = 0.0;
    e.endParam = kTwoPi;
    return e;
}

// The ellipse with centre (0, 0), major axis (10, 0) and ratio 0.5, drawn once.
CEllipse* MakeEllipse(const EllipseRecord& e = Shape(0, 0, 10, 0, 0.5))
{
    ++g_UnitIdCounter;
    auto* u = new CEllipse();
    u->workGeometry.ellipse = e;
    u->CommitTransform();
    u->Draw(nullptr, 1, nullptr);
    return u;
}

void ExpectPoint(const x_Vector& got, double x, double y, double tol = kTight)
{
    EXPECT_NEAR(got.x, x, tol);
    EXPECT_NEAR(got.y, y, tol);
}

// The mirror image about the x axis: the same curve, run clockwise.
CEllipse* MakeClockwiseEllipse()
{
    CEllipse* u = MakeEllipse();
    u->Mirror(x_Vector(0, 0), x_Vector(1, 0));
    u->CommitTransform();
    u->Draw(nullptr, 1, nullptr);
    return u;
}

x_Vector At(double t)
{
    return {10 * std::cos(t), 5 * std::sin(t)};
}

TEST_F(Ellipse, ParametersExtentsAndNearestPoint)
{
    CEllipse* e = MakeEllipse();
    EXPECT_DOUBLE_EQ(e->GetSemiMajor(), 10);
    EXPECT_DOUBLE_EQ(e->GetSemiMinor(), 5);
    EXPECT_DOUBLE_EQ(e->GetAxisAngle(), 0);
    ExpectPoint(e->GetStartPoint(), 10, 0);
    x_Vector top(0, 5), left(-10, 0);
    EXPECT_NEAR(e->ParameterAtPoint(top), kPi / 2, kTight);
    EXPECT_NEAR(e->ParameterAtPoint(left), kPi, kTight);
    ExpectPoint(e->extentMin, -10, -5);
    ExpectPoint(e->extentMax, 10, 5);
    EXPECT_NEAR(e->GetSweepAngle(), kTwoPi, kTight);

    x_Vector out, far(20, 0), centre(0, 0);
    double d = 0;
    e->NearestPoint(out, far, 1, &d);
    ExpectPoint(out, 10, 0);
    EXPECT_NEAR(d, 10, kTight);
    e->NearestPoint(out, centre, 1, &d);
    ExpectPoint(out, 10, 0);                                    // parameter 0
    // Same eccentric angle, not the foot of the perpendicular: (0, 10) maps to (0, 5).
    x_Vector above(0, 10);
    e->NearestPoint(out, above, 1, &d);
    ExpectPoint(out, 0, 5);
    x_Vector unset(1, 1, 0);
    e->NearestPoint(out, unset, 1, &d);
    EXPECT_EQ(out.valid, 0);
    EXPECT_EQ(d, 1e10);

    // Turned by 45°: the box of the four axis ends, not the true box (±7.906).
    const double h = 10 * std::sqrt(0.5);
    CEllipse* turned = MakeEllipse(Shape(1, 2, h, h, 0.5));
    ExpectPoint(turned->extentMin, 1 - h, 2 - h);
    ExpectPoint(turned->extentMax, 1 + h, 2 + h);
    delete e;
    delete turned;
}

TEST_F(Ellipse, HitTestLengthAndViewScaleClamp)
{
    CEllipse* e = MakeEllipse();
    EXPECT_TRUE(e->HitTest(At(1.0), 1));
    EXPECT_TRUE(e->HitTest(x_Vector(0, 5.00009), 1));
    EXPECT_FALSE(e->HitTest(x_Vector(0, 5.0002), 1));
    g_ViewScale = 0.005;
    EXPECT_TRUE(e->HitTest(x_Vector(0, 100), 0));               // 95 mm × 0.01 < 8 pixels
    EXPECT_EQ(g_ViewScale, 0.01);
    // Ramanujan's perimeter of a 10 × 5 ellipse; chords lose a little.
    EXPECT_NEAR(e->GetLength(), 48.4422, 0.05);
    CEllipse fresh;
    EXPECT_EQ(fresh.GetLength(), 0.0);                          // nothing drawn yet
    delete e;
}

TEST_F(Ellipse, OffsetBySideAndTheRefusedInwardOffset)
{
    const struct { const char* name; bool clockwise; double d; int side; bool made; double a, b; } kCases[] = {
        {"inward by 1", false, 1, 2, true, 9, 4},
        {"outward by 1", false, 1, 1, true, 11, 6},
        {"inward to the limit", false, 4.9999, 2, true, 5.0001, 0.0001},
        {"inward by the minor semi-axis", false, 5, 2, false, 0, 0},
        {"inward between the semi-axes", false, 7, 2, false, 0, 0},
        {"inward by the major semi-axis (divided by zero)", false, 10, 2, false, 0, 0},
        {"inward beyond both (axis flipped)", false, 12, 2, false, 0, 0},
        {"clockwise: side 2 is outward", true, 1, 2, true, 11, 6},
        {"clockwise: other side inward", true, 1, 1, true, 9, 4},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CEllipse* e = c.clockwise ? MakeClockwiseEllipse() : MakeEllipse();
        CUnit* out = e;
        EXPECT_EQ(e->Offset(out, c.d, c.side), c.made);
        if (c.made) {
            ASSERT_NE(out, nullptr);
            EXPECT_EQ(out->GetType(), 6);
            EXPECT_NEAR(out->GetSemiMajor(), c.a, kTight);
            EXPECT_NEAR(out->GetSemiMinor(), c.b, kTight);
            EXPECT_GT(out->GetMajorAxis().x, 0.0);
            EXPECT_EQ(out->GetDirection(), c.clockwise);
            EXPECT_EQ(out->geometry.ellipse.splitPiece, 1);
            EXPECT_NEAR(out->GetSweepAngle(), kTwoPi, kTight);
            delete out;
        } else {
            EXPECT_EQ(out, nullptr);
        }
        delete e;
    }
}

TEST_F(Ellipse, TransformsWriteTheWorkingCopy)
{
    CEllipse* e = MakeEllipse();
    e->Mirror(x_Vector(0, -1), x_Vector(0, 1));                  // about the y axis
    EXPECT_EQ(e->geometry.ellipse.direction, 0);                 // current untouched
    e->CommitTransform();
    const EllipseRecord& g = e->geometry.ellipse;
    ExpectPoint(g.centre, 0, 0);
    ExpectPoint(g.majorAxis, -10, 0);
    EXPECT_EQ(g.direction, 1);
    EXPECT_NEAR(g.startParam, 0.0, 1e-9);
    EXPECT_NEAR(g.endParam, 0.0, 1e-9);
    EXPECT_NEAR(e->GetSweepAngle(), kTwoPi, kTight);             // still whole

    CEllipse* s = MakeEllipse(Shape(3, 4, 10, 0, 0.5));
    s->Scale(x_Vector(3, 4), x_Vector(2, 3));
    s->CommitTransform();
    ExpectPoint(s->GetCentre(), 3, 4);
    EXPECT_NEAR(s->GetSemiMajor(), 20, kTight);
    EXPECT_NEAR(s->GetSemiMinor(), 10, kTight);

    s->Rotate(x_Vector(0, 0), kPi / 2);
    s->Move(x_Vector(1, 1));                                     // centre from the current record
    s->CommitTransform();
    ExpectPoint(s->GetCentre(), 4, 5);
    ExpectPoint(s->GetMajorAxis(), 0, 20);
    delete e;
    delete s;
}

TEST_F(Ellipse, CopyModesAndIds)
{
    CEllipse* e = MakeEllipse();
    e->colour = RGB(1, 2, 3);
    const std::uint64_t id = e->unitId, counter = g_UnitIdCounter;
    CUnit* keep = nullptr;
    ASSERT_TRUE(e->Copy(1, keep));
    EXPECT_EQ(keep->unitId, id);
    EXPECT_EQ(g_UnitIdCounter, counter);
    CUnit* fresh = nullptr;
    ASSERT_TRUE(e->Copy(0, fresh));
    EXPECT_EQ(fresh->unitId, counter + 1);
    EXPECT_EQ(fresh->GetType(), 5);
    EXPECT_EQ(fresh->colour, RGB(1, 2, 3));
    EXPECT_NEAR(fresh->GetSemiMinor(), 5, kTight);
    e->Move(x_Vector(5, 0));
    CUnit* working = nullptr;
    ASSERT_TRUE(e->Copy(2, working));
    EXPECT_EQ(working->unitId, counter + 2);
    ExpectPoint(working->GetCentre(), 5, 0);
    delete keep;
    delete fresh;
    delete working;
    delete e;
}

// Rays from the centre through the points at the given parameters.
void AddCrossings(TestDoc& doc, const std::vector<double>& params)
{
    for (double t : params) {
        const x_Vector p = At(t);
        ++g_UnitIdCounter;
        doc.Add(new CLine(0.9 * p.x, 0.9 * p.y, 1.1 * p.x, 1.1 * p.y));
    }
}

TEST_F(Ellipse, TrimLeavesTheArcBeyondThePickedGap)
{
    const struct { const char* name; bool clockwise; std::vector<double> cuts; double pick;
                   double s, e; } kCases[] = {
        {"picked between the crossings", false, {1, 2}, 1.5, 2, 1},
        {"picked in the gap round 0", false, {1, 2}, 3, 1, 2},
        // Ascending crossings with the clockwise test made the long way
        // round the picked gap, and the short piece was kept.
        {"clockwise, three crossings", true, {1, 2, 3}, 2.5, 2, 3},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TestDoc doc;
        CEllipse* e = doc.Add(c.clockwise ? MakeClockwiseEllipse() : MakeEllipse());
        AddCrossings(doc, c.cuts);
        const int before = doc.Count();
        EXPECT_EQ(e->Trim(0, At(c.pick), 0), 1);
        ASSERT_EQ(doc.Count(), before + 1);
        CUnit* arc = doc.At(before);
        EXPECT_EQ(arc->GetType(), 6);
        EXPECT_NEAR(arc->GetStartAngle(), c.s, 1e-9);
        EXPECT_NEAR(arc->GetEndAngle(), c.e, 1e-9);
        EXPECT_EQ(arc->GetDirection(), c.clockwise);
        EXPECT_FALSE(arc->HitTest(At(c.pick), 1));
        EXPECT_EQ(doc.deletedIndices, std::vector<int>{0});
    }
}

TEST_F(Ellipse, TrimNeedsTwoDistinctCrossings)
{
    for (const std::vector<double>& cuts : {std::vector<double>{1}, std::vector<double>{1, 1.00001}}) {
        TestDoc doc;
        CEllipse* e = doc.Add(MakeEllipse());
        AddCrossings(doc, cuts);
        const int before = doc.Count();
        EXPECT_EQ(e->Trim(0, At(3), 0), 0);
        EXPECT_EQ(doc.Count(), before);
        EXPECT_EQ(doc.deletions, 0);
    }
}

TEST_F(Ellipse, DirectionRecordsFollowTheRun)
{
    const struct { const char* name; bool clockwise; double forwardX; } kCases[] = {
        {"counter-clockwise: leftward at the top", false, -1},
        // A mirrored ellipse got its reverse as the forward record.
        {"clockwise: rightward at the top", true, 1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_TrailDirections.RemoveAll();
        CEllipse* e = c.clockwise ? MakeClockwiseEllipse() : MakeEllipse();
        e->listIndex = 4;
        ASSERT_TRUE(e->AppendDirectionRecord(x_Vector(0, 5)));
        ASSERT_EQ(g_TrailDirections.GetSize(), 2);
        const x_TrailDirectionData f = g_TrailDirections[0], r = g_TrailDirections[1];
        EXPECT_EQ(f.direction, 2);
        EXPECT_EQ(r.direction, 1);
        EXPECT_NEAR(std::cos(f.angle), c.forwardX, 0.01);       // the chord turns 0.025 rad
        EXPECT_NEAR(std::cos(r.angle), -c.forwardX, 0.01);
        EXPECT_EQ(f.listIndex, 4);
        EXPECT_EQ(f.unitId, e->unitId);
        ExpectPoint(f.point, 0, 5);
        EXPECT_FALSE(e->AppendDirectionRecord(x_Vector(0, 5.001)));
        EXPECT_EQ(g_TrailDirections.GetSize(), 2);
        delete e;
    }
}

TEST_F(Ellipse, SplitMakesAClosedArcInTheEllipsesDirection)
{
    for (bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
        TestDoc doc;
        g_CreateTrailPoints.RemoveAll();
        CEllipse* e = doc.Add(clockwise ? MakeClockwiseEllipse() : MakeEllipse());
        x_Vector out;
        EXPECT_EQ(e->SplitAtCrossings(0, x_Vector(0, 5), 2, 0, out), 1);
        ExpectPoint(out, 0, 5);
        EXPECT_EQ(e->walked, 1);
        EXPECT_EQ(e->visible, 0);
        ASSERT_EQ(doc.Count(), 2);
        CUnit* arc = doc.At(1);
        EXPECT_EQ(arc->GetType(), 6);
        EXPECT_NEAR(arc->GetStartAngle(), kPi / 2, kTight);
        EXPECT_NEAR(arc->GetEndAngle(), clockwise ? kPi / 2 - kTwoPi : kPi / 2 + kTwoPi, kTight);
        EXPECT_EQ(arc->GetDirection(), clockwise);
        EXPECT_EQ(arc->temporary, 1);
        EXPECT_EQ(arc->selected, 1);
        EXPECT_EQ(arc->chainDir, 2);
        EXPECT_NEAR(arc->GetSweepAngle(), kTwoPi, kTight);
        ASSERT_EQ(g_CreateTrailPoints.GetSize(), 1);
        EXPECT_EQ(g_CreateTrailPoints[0].index, 1);
        EXPECT_EQ(g_CreateTrailPoints[0].tag, 0);
    }
}

TEST_F(Ellipse, ArchiveTailIsFiftyEightBytesForBothClasses)
{
    const auto tail = Hex(
        "0000000000000040 00000000000008c0"     // centre (2, −3)
        "0000000000002440 0000000000000000"     // major axis (10, 0)
        "000000000000e03f"                      // ratio 0.5
        "0000000000000000 182d4454fb21f93f"     // parameters 0, π/2
        "05 00");                               // direction stored as 5, splitPiece 0
    ASSERT_EQ(tail.size(), 58u);
    std::vector<std::uint8_t> record(162, 0);
    record.insert(record.end(), tail.begin(), tail.end());
    std::vector<std::uint8_t> want = tail;
    want[56] = 0x01;                                             // written as 0 or 1
    CEllipse e;
    CEllipseArc arc;
    for (CEllipseCommon* u : {static_cast<CEllipseCommon*>(&e), static_cast<CEllipseCommon*>(&arc)}) {
        LoadBytes(record, [&](CArchive& ar) { u->Serialize(ar); });
        EXPECT_EQ(u->geometry.ellipse.direction, 5);
        EXPECT_EQ(u->GetCentre(), x_Vector(2, -3));
        EXPECT_EQ(u->GetMajorAxis(), x_Vector(10, 0));
        EXPECT_EQ(u->GetAxisRatio(), 0.5);
        EXPECT_EQ(u->GetEndAngle(), kPi / 2);
        const auto written = StoreBytes([&](CArchive& ar) { u->Serialize(ar); });
        ASSERT_EQ(written.size(), 162u + 58u);
        EXPECT_EQ(std::vector<std::uint8_t>(written.begin() + 162, written.end()), want);
        EXPECT_THROW(LoadBytes(std::vector<std::uint8_t>(record.begin(), record.end() - 1),
                               [&](CArchive& ar) { u->Serialize(ar); }),
                     CArchiveException);
    }
    // As objects: the class record names the class, the bytes after it agree.
    auto asObject = [](CObject* o) { return StoreBytes([&](CArchive& ar) { ar.WriteObject(o); }); };
    const auto objE = asObject(&e), objA = asObject(&arc);
    const std::string nameE = "CEllipse", nameA = "CEllipseArc";
    ASSERT_EQ(objE.size(), 6 + nameE.size() + 220);
    ASSERT_EQ(objA.size(), 6 + nameA.size() + 220);
    EXPECT_EQ(std::string(objE.begin() + 6, objE.begin() + 6 + 8), nameE);
    EXPECT_EQ(std::string(objA.begin() + 6, objA.begin() + 6 + 11), nameA);
    EXPECT_TRUE(std::equal(objE.begin() + 14, objE.end(), objA.begin() + 17));
    // Round trip through the object reader.
    CObject* back = nullptr;
    LoadBytes(objA, [&](CArchive& ar) { back = ar.ReadObject(RUNTIME_CLASS(CUnit)); });
    ASSERT_NE(back, nullptr);
    auto* unit = static_cast<CUnit*>(back);
    EXPECT_EQ(unit->GetType(), 6);
    EXPECT_EQ(unit->GetEndAngle(), kPi / 2);
    EXPECT_EQ(unit->geometry.ellipse.direction, 1);
    delete back;
}

TEST_F(Ellipse, DegenerateEllipsesHaveNoCrossings)
{
    CLine across(-20, 0.5, 20, 0.5);
    for (const EllipseRecord& shape : {Shape(0, 0, 10, 0, 0.0), Shape(0, 0, 0, 0, 0.5)}) {
        CEllipse* e = MakeEllipse(shape);
        EXPECT_EQ(IntersectLineEllipse(e, &across).count, 0);
        delete e;
    }
}

TEST_F(Ellipse, ClicksAndMovesThatGiveNoAxisAreIgnored)
{
    CUnitView view;
    CEllipse e;
    e.inputPoints[0] = {3, 3};
    e.inputPoints[1] = {3.0005, 3};
    EXPECT_EQ(e.BuildEllipseFromInput(x_Vector(), x_Vector()), -1.0);
    EXPECT_FALSE(e.AcceptsClick(1, x_Vector(3.0005, 3)));
    EXPECT_EQ(e.workGeometry.ellipse.majorAxis.Length(), 0.0);

    e.inputPoints[1] = {13, 3};
    EXPECT_EQ(e.BuildEllipseFromInput(x_Vector(), x_Vector()), 0.0);
    ExpectPoint(e.workGeometry.ellipse.centre, 8, 3);
    ExpectPoint(e.workGeometry.ellipse.majorAxis, 5, 0);
    g_cmdStep = 2;
    g_cmdPointCount = 2;
    e.InteractiveStep(nullptr, &view, x_Vector(8, 5));
    EXPECT_NEAR(e.workGeometry.ellipse.axisRatio, 0.4, kTight);
    e.InteractiveStep(nullptr, &view, x_Vector(8.0002, 3));     // on the centre: ratio 0 before
    EXPECT_NEAR(e.workGeometry.ellipse.axisRatio, 0.4, kTight);
    EXPECT_FALSE(e.AcceptsClick(2, x_Vector(8, 3)));
    EXPECT_TRUE(e.AcceptsClick(2, x_Vector(8, 5)));
    EXPECT_NE(view.m_promptText.Find(u"椭圆 R1:5.000 R2:2.000"), -1);

    // A major-axis grip dragged onto the centre: infinity before.
    e.CommitTransform();
    e.Draw(nullptr, 1, nullptr);
    view.m_gripNumber = 4;
    g_cmdStep = 4;
    e.InteractiveStep(nullptr, &view, x_Vector(8, 3));
    EXPECT_NEAR(e.workGeometry.ellipse.axisRatio, 0.4, kTight);
    e.InteractiveStep(nullptr, &view, x_Vector(8, 13));          // length 10, angle kept
    ExpectPoint(e.workGeometry.ellipse.majorAxis, 10, 0);
    EXPECT_NEAR(e.workGeometry.ellipse.axisRatio, 0.2, kTight);
}

TEST_F(Ellipse, PickSelectsThenStartsAGripDrag)
{
    g_ViewScale = 10;
    CEllipse* e = MakeEllipse();
    CUnitView view;
    e->OnPick(nullptr, &view, x_Vector(0, 5.3));
    EXPECT_EQ(e->selected, 1);
    EXPECT_EQ(view.m_pickUnit, e);
    EXPECT_EQ(view.m_gripDragFlag, 0);
    e->OnPick(nullptr, &view, x_Vector(0.2, 0.1));              // the centre grip
    EXPECT_EQ(view.m_gripNumber, 5);
    EXPECT_EQ(view.m_gripDragFlag, 1);
    EXPECT_EQ(g_cmdStep, 3);
    e->OnPick(nullptr, &view, x_Vector(-10, 0.1));              // grip 2, the far major end
    EXPECT_EQ(view.m_gripNumber, 2);
    EXPECT_EQ(g_cmdStep, 4);
    ExpectPoint(view.m_firstPoint, -10, 0);
    delete e;
}

TEST_F(Ellipse, SnapKinds)
{
    g_ViewScale = 10;                                            // 8 pixels = 0.8 mm
    CEllipse* e = MakeEllipse();
    x_Vector r(0, 0), c(0.3, 5.2);
    ASSERT_TRUE(e->SnapPoints(r, c, 0, 1));                      // grip 1 (c + minor axis)
    EXPECT_EQ(e->snapKind, 1);
    ExpectPoint(e->edit->gripHit, 0, 5);
    c = {0.2, -0.2};
    ASSERT_TRUE(e->SnapPoints(r, c, 0, 1));
    EXPECT_EQ(e->snapKind, 3);
    c = At(1.0) * 1.02;                                          // near the curve, no grip
    ASSERT_TRUE(e->SnapPoints(r, c, 0, 1));
    EXPECT_EQ(e->snapKind, 4);
    ExpectPoint(e->edit->gripHit, At(1.0).x, At(1.0).y);
    ASSERT_TRUE(e->SnapPoints(r, c, 0, 2));
    EXPECT_EQ(e->snapKind, 5);
    c = {0, 30};
    EXPECT_FALSE(e->SnapPoints(r, c, 0, 1));
    delete e;
}

// Drawn into an RGB565 back buffer like the view's render and compared with
// data/<name>.png; ZORVA_UPDATE_GOLDEN=1 writes the image anew.
class EllipseImage : public Ellipse {
protected:
    static constexpr int kWidth = 64, kHeight = 48;
    void SetUp() override
    {
        Ellipse::SetUp();
        image = QImage(kWidth, kHeight, QImage::Format_RGB16);
        image.fill(Qt::black);
        AimRasterAt(image);
        ASSERT_TRUE(dc.AttachImage(&image));
    }
    void Render(CUnit& unit) { unit.Draw(&dc, 1, image.bits()); }
    void ExpectGolden(const std::string& name) { ExpectGoldenImage(image, name); }
    QImage image;
    CDC dc;
};

TEST_F(EllipseImage, TurnedAndDashedEllipses)
{
    CEllipse* flat = MakeEllipse(Shape(7, 5, 6, 0, 0.5));
    flat->colour = RGB(0, 255, 255);
    flat->flatValid = 0;
    Render(*flat);
    CEllipse* turned = MakeEllipse(Shape(7, 5, 3, 3, 0.4));
    turned->colour = RGB(255, 255, 0);
    turned->lineStyle = 1;
    turned->flatValid = 0;
    Render(*turned);
    ExpectGolden("ellipse");
    delete flat;
    delete turned;
}

TEST_F(EllipseImage, ArcsInBothDirections)
{
    EllipseRecord upper = Shape(7, 5, 6, 0, 0.6);
    CEllipseArc* ccw = NewEllipseArc(upper, 0, kPi);             // the upper half
    ccw->colour = RGB(0, 255, 0);
    Render(*ccw);
    EllipseRecord lower = Shape(7, 5, 4, 0, 0.5, 1);
    CEllipseArc* cw = NewEllipseArc(lower, kPi / 2, 0);          // one quarter, clockwise
    cw->colour = RGB(255, 128, 0);
    Render(*cw);
    ExpectGolden("ellipse_arc");
    delete ccw;
    delete cw;
}

} // namespace
