// The machinery of the four length and radius dimensions: archive tails,
// defaults, grip test, nearest point and the pick that starts a drag.
#include <cmath>

#include "geometry/CDimCir.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/CDimPLine.h"
#include "tests/geometry/dimension_support.h"
#include "tests/geometry/entity_doc.h"

namespace {

// p1 (1, 2), p2 (3, 4), p3 (5, 6), p4 (7, 8), distance 2, angle 0.5,
// linear mode 1, value 12.5.
template <class T> T* Filled()
{
    auto* d = new T();
    DimensionRecord& r = d->Current();
    r.p1 = {1, 2};
    r.p2 = {3, 4};
    r.p3 = {5, 6};
    r.p4 = {7, 8};
    r.distance = 2.0;
    r.angle = 0.5;
    r.linearMode = 1;
    r.value = 12.5;
    return d;
}

const char* const kAngleDistance = "000000000000e03f 0000000000000040 ";
const char* const kP1P2 = "000000000000f03f 0000000000000040 0000000000000840 0000000000001040 ";
const char* const kP3P4 = "0000000000001440 0000000000001840 0000000000001c40 0000000000002040 ";
const char* const kValue = "0000000000002940";

class DimensionArchive : public DimensionTest {};

TEST_F(DimensionArchive, TailsOfTheFourKinds)
{
    using std::string;
    const struct {
        const char* name;
        CDimension* unit;
        string hex;
        size_t size;
    } kCases[] = {
        {"aligned", Filled<CDimLine>(), string(kAngleDistance) + kP1P2 + kP3P4 + kValue, 88},
        {"linear", Filled<CDimLinear>(), string(kAngleDistance) + kP1P2 + kP3P4 + "01000000 " + kValue, 92},
        {"ordinate", Filled<CDimPLine>(), string(kAngleDistance) + kP1P2 + kValue, 56},
        {"radius", Filled<CDimCir>(), string(kAngleDistance) + kP1P2 + kValue, 56},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TailOf(*c.unit), Hex(c.hex));
        EXPECT_EQ(Hex(c.hex).size(), c.size);
        const Bytes record = RecordOf(*c.unit);
        CUnit* read = static_cast<CUnit*>(c.unit->GetRuntimeClass()->CreateObject());
        LoadBytes(record, [&](CArchive& ar) { read->Serialize(ar); });
        EXPECT_EQ(RecordOf(*read), record);
        // A short archive raises the archive exception.
        const Bytes cut(record.begin(), record.end() - 1);
        EXPECT_EQ(LoadFailure(cut, [&](CArchive& ar) { read->Serialize(ar); }),
                  CArchiveException::endOfFile);
        delete read;
        delete c.unit;
    }
}

// The fields no start value reached went out as whatever the memory held.
TEST_F(DimensionArchive, UnsetFieldsAreWrittenAsZero)
{
    CDimLinear d;
    EXPECT_EQ(TailOf(d), Bytes(92, 0));
    CDimCir c;
    EXPECT_EQ(TailOf(c), Bytes(56, 0));
    EXPECT_EQ(d.role, kRoleAnnotation);
    EXPECT_EQ(d.colour, g_AnnotationColor);
}

TEST_F(DimensionArchive, ClassRecordNamesTheKind)
{
    g_UnitIdCounter = 3;
    CDimPLine d;
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(&d); });
    // new-class tag, schema 1, name length 9, "CDimPLine"
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 15), Hex("ffff 0100 0900 'CDimPLine'"));
    LoadBytes(bytes, [](CArchive& ar) {
        CObject* obj = nullptr;
        ar >> obj;
        auto* read = dynamic_cast<CDimPLine*>(obj);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->unitId, 3u);
        delete obj;
    });
}

class SharedDimension : public DimensionTest {
protected:
    // An aligned dimension from (0, 0) to (10, 0), its line 5 above.
    void SetUp() override
    {
        DimensionTest::SetUp();
        g_ViewScale = 4.0;
        g_ViewOriginY = 200;
        DimensionRecord& w = dim.Working();
        w.p1 = {0, 0};
        w.p2 = {10, 0};
        w.distance = 5;
        w.angle = kPi / 2;
        dim.CommitTransform();
        dim.Draw(nullptr, 1, nullptr);
    }
    CDimLine dim;
};

// The square reaches 8 pixels left and up of the cursor, 7 right and down.
TEST_F(SharedDimension, GripSquareExcludesItsRightAndBottomEdges)
{
    const x_Vector grip = dim.lineStart;             // pixel (0, 180)
    EXPECT_EQ(dim.HitTestGrip(grip + x_Vector(-2, 0)), 0);     // grip 8 px right of the cursor
    EXPECT_EQ(dim.HitTestGrip(grip + x_Vector(2, 0)), 1);      // 8 px left
    EXPECT_EQ(dim.HitTestGrip(grip + x_Vector(0, 2)), 0);      // 8 px below
    EXPECT_EQ(dim.HitTestGrip(grip + x_Vector(0, -2)), 1);     // 8 px above
    EXPECT_EQ(dim.HitTestGrip(dim.lineEnd), 2);
    ExpectNear(dim.edit->gripHit, 10, 5);
}

TEST_F(SharedDimension, NearestPointOnTheLastSegmentHit)
{
    ASSERT_TRUE(dim.HitTest({4, 5.05}, 0));
    EXPECT_EQ(dim.lastSegment, 0);
    x_Vector p(4, 7), out;
    double d = 0;
    dim.NearestPoint(out, p, 1, &d);
    ExpectNear(out, 4, 5);
    EXPECT_NEAR(d, 2.0, 1e-12);
    x_Vector beyond(-3, 5);
    dim.NearestPoint(out, beyond, 1, &d);
    ExpectNear(out, 0, 5);                          // past the start: the nearer end
    x_Vector middle(5, 0);
    dim.NearestEnd(out, middle, &d);                // a tie answers the start
    ExpectNear(out, 0, 5);
    dim.lastSegment = 0;
    dim.segments[0].p2 = dim.segments[0].p1;        // degenerate
    dim.NearestPoint(out, p, 1, &d);
    EXPECT_EQ(out.valid, 0);
    EXPECT_EQ(d, 1e10);
}

class RecordingView : public CUnitView {};

TEST_F(SharedDimension, GripPickExchangesTheAlignedPointsButCopiesTheOrdinate)
{
    TestDoc doc;
    RecordingView view;
    dim.selected = 1;
    dim.OnPick(nullptr, &view, dim.lineEnd);
    EXPECT_EQ(view.m_gripNumber, 2);
    EXPECT_EQ(view.m_gripDragFlag, 1);
    EXPECT_EQ(g_cmdStep, 4);
    EXPECT_EQ(view.m_pickUnit, &dim);
    ExpectNear(dim.Working().p1, 10, 0);
    ExpectNear(dim.Working().p2, 0, 0);

    // A grip click swapped the feature point and the text point.
    CDimPLine ordinate;
    ordinate.Working().p1 = {20, 20};
    ordinate.Working().p2 = {20, 30};
    ordinate.CommitTransform();
    ordinate.Draw(nullptr, 1, nullptr);
    ordinate.selected = 1;
    RecordingView second;
    ordinate.OnPick(nullptr, &second, {20, 30});
    EXPECT_EQ(second.m_gripNumber, 2);
    ExpectNear(ordinate.Working().p1, 20, 20);
    ExpectNear(ordinate.Working().p2, 20, 30);
}

TEST_F(SharedDimension, DragStartDeselectsOtherGroupsOnly)
{
    TestDoc doc;
    auto* sameGroup = doc.Add(new CDimLine());
    auto* otherGroup = doc.Add(new CDimLine());
    dim.unitId = 1;
    sameGroup->unitId = 2;
    otherGroup->unitId = 3;
    dim.group = 4;
    sameGroup->group = 4;
    otherGroup->group = 2;
    sameGroup->selected = otherGroup->selected = 1;
    dim.selected = 1;
    RecordingView view;
    dim.OnPick(nullptr, &view, dim.lineStart);
    ASSERT_EQ(view.m_gripDragFlag, 1);
    EXPECT_EQ(sameGroup->selected, 1);
    EXPECT_EQ(otherGroup->selected, 0);
    EXPECT_EQ(view.m_dragUnit, &dim);
}

} // namespace
