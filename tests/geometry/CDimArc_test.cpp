#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CDimArc.h"
#include "tests/geometry/dimension_support.h"
#include "tests/geometry/entity_doc.h"

namespace {

class ArcLengthDimension : public DimensionTest {
protected:
    // Measures the arc as command 18 does.
    CDimArc* Measure(CArc* arc)
    {
        auto* d = new CDimArc();
        DimArcRecord& w = d->Working();
        const ArcRecord& a = arc->geometry.arc;
        w.measuredId = arc->unitId;
        w.centre = a.centre;
        w.startAngle = a.startAngle;
        w.endAngle = a.endAngle;
        w.direction = a.direction;
        w.value = arc->GetLength();
        w.witnessRadius = a.radius;
        return d;
    }
};

TEST_F(ArcLengthDimension, QuarterOfRadius10Reads15_7080)
{
    TestDoc doc;
    g_UnitIdCounter = 7;
    CArc* arc = doc.Add(NewArc({0, 0}, 10, 0, kPi / 2, 0));
    CDimArc* d = Measure(arc);
    g_cmdStep = 2;
    g_cmdPointCount = 2;
    d->InteractiveStep(nullptr, nullptr, {9, 12});
    EXPECT_EQ(d->Working().radius, 15);
    d->CommitTransform();
    d->Draw(nullptr, 1, nullptr);
    EXPECT_EQ(d->text, CString(u"15.7080"));
    delete d;
}

TEST_F(ArcLengthDimension, CommitReadsTheMeasuredArcAgain)
{
    TestDoc doc;
    g_UnitIdCounter = 7;
    CArc* arc = doc.Add(NewArc({0, 0}, 10, 0, kPi / 2, 0));
    ++g_UnitIdCounter;
    CDimArc* d = doc.Add(Measure(arc));
    d->CommitTransform();
    arc->geometry.arc.endAngle = kPi;               // lengthened
    EXPECT_NEAR(d->Current().value, 5 * kPi, 1e-12);    // not by itself
    d->Move({1, 1});
    d->CommitTransform();
    EXPECT_NEAR(d->Current().value, 10 * kPi, 1e-12);
    CUnit* copy = nullptr;
    ASSERT_TRUE(d->Copy(0, copy));
    EXPECT_EQ(static_cast<CDimArc*>(copy)->Current().measuredId, arc->unitId);
    delete copy;
    arc->deleted = 1;                               // gone: the value stays
    d->CommitTransform();
    EXPECT_NEAR(d->Current().value, 10 * kPi, 1e-12);
}

TEST_F(ArcLengthDimension, TailIs69BytesWithTheIdLowWordFirst)
{
    CDimArc d;
    DimArcRecord& r = d.Current();
    r.centre = {1, 2};
    r.startAngle = 0.5;
    r.endAngle = 3;
    r.witnessRadius = 4;
    r.radius = 5;
    r.value = 6;
    r.measuredId = 0x0000000500000007ull;
    const Bytes want = Hex(
        "000000000000f03f 0000000000000040 000000000000e03f 0000000000000840"
        "fffeff00 0000000000001040 0000000000001440 00 0000000000001840"
        "07000000 05000000");
    ASSERT_EQ(want.size(), 69u);
    EXPECT_EQ(TailOf(d), want);
    CDimArc read;
    LoadBytes(RecordOf(d), [&](CArchive& ar) { read.Serialize(ar); });
    EXPECT_EQ(read.Current().measuredId, r.measuredId);
    EXPECT_EQ(RecordOf(read), RecordOf(d));
}

} // namespace
