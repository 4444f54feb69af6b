#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CConstructionLine.h"
#include "geometry/CDimAngle.h"
#include "geometry/CDimArc.h"
#include "geometry/CDimCir.h"
#include "geometry/CDimDASH.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/CDimPLine.h"
#include "geometry/CEllipse.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CPolyLine.h"
#include "geometry/CPolygon.h"
#include "geometry/CRectangle.h"
#include "geometry/CSplines.h"
#include "geometry/CText.h"
#include "geometry/CutPoint.h"
#include "geometry/GeometryState.h"

namespace {

class Geometry : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

const x_Vector kOrigin(0, 0, 1);

bool IsZeroDimension(const UnitGeometry& g)
{
    const auto& r = g.dimension;
    return r->p1 == kOrigin && r->p4 == kOrigin && r->distance == 0 && r->angle == 0 && r->linearMode == 0
        && r->value == 0;
}

TEST_F(Geometry, EachClassStartsBothCopiesWithItsOwnDefaultRecord)
{
    const struct {
        const char* name;
        std::function<CUnit*()> make;
        UnitFamily family;
        std::function<bool(const UnitGeometry&)> isDefault;
    } kCases[] = {
        {"line", [] { return new CLine(); }, UnitFamily::line,
         [](const UnitGeometry& g) { return g.line.p1 == kOrigin && g.line.p2 == kOrigin && g.line.used == 0; }},
        {"arc", [] { return new CArc(); }, UnitFamily::arc,
         [](const UnitGeometry& g) { return g.arc.centre == kOrigin && g.arc.radius == 0 && g.arc.direction == 0; }},
        {"circle", [] { return new CCir(); }, UnitFamily::circle,
         [](const UnitGeometry& g) { return g.circle.centre == kOrigin && g.circle.direction == 0; }},
        {"ellipse", [] { return new CEllipse(); }, UnitFamily::ellipse,
         [](const UnitGeometry& g) { return g.ellipse.centre == kOrigin && g.ellipse.majorAxis == kOrigin; }},
        {"elliptic arc", [] { return new CEllipseArc(); }, UnitFamily::ellipse,
         [](const UnitGeometry& g) { return g.ellipse.centre == kOrigin; }},
        {"polygon", [] { return new CPolygon(); }, UnitFamily::polygon,
         [](const UnitGeometry& g) { return g.polygon.sides == 6; }},
        {"rectangle", [] { return new CRectangle(); }, UnitFamily::rectangle,
         [](const UnitGeometry& g) { return g.rectangle.corner1 == kOrigin && g.rectangle.corner2 == kOrigin; }},
        {"construction line", [] { return new CConstructionLine(); }, UnitFamily::constructionLine,
         [](const UnitGeometry& g) { return g.constructionLine.p1 == kOrigin; }},
        {"spline", [] { return new CSplines(); }, UnitFamily::spline,
         [](const UnitGeometry& g) {
             return g.spline.kind == 0 && g.spline.mirrored == 0 && g.spline.baseCentre == kOrigin
                 && g.spline.phase == 0 && g.spline.baseRadius == 0;
         }},
        {"text", [] { return new CText(); }, UnitFamily::text,
         [](const UnitGeometry& g) { return g.text.text.IsEmpty() && g.text.fontSize == 10 && g.text.position == kOrigin; }},
        {"polyline", [] { return new CPolyLine(); }, UnitFamily::none, [](const UnitGeometry&) { return true; }},
        {"cut point", [] { return new CutPoint(); }, UnitFamily::none, [](const UnitGeometry&) { return true; }},
        {"aligned dimension", [] { return new CDimLine(); }, UnitFamily::dimension, IsZeroDimension},
        {"linear dimension", [] { return new CDimLinear(); }, UnitFamily::dimension, IsZeroDimension},
        {"ordinate dimension", [] { return new CDimPLine(); }, UnitFamily::dimension, IsZeroDimension},
        {"radial dimension", [] { return new CDimCir(); }, UnitFamily::dimension, IsZeroDimension},
        {"arc-length dimension", [] { return new CDimArc(); }, UnitFamily::dimArc,
         [](const UnitGeometry& g) { return g.dimArc->centre == kOrigin && g.dimArc->measuredId == 0; }},
        {"angle dimension", [] { return new CDimAngle(); }, UnitFamily::dimAngle,
         [](const UnitGeometry& g) {
             return g.dimAngle->storedText.IsEmpty() && g.dimAngle->witness2 == kOrigin && g.dimAngle->fromLines == 0;
         }},
        {"auxiliary line", [] { return new CDimDASH(); }, UnitFamily::line,
         [](const UnitGeometry& g) { return g.line.p1 == kOrigin && g.line.used == 0; }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<CUnit> u(c.make());
        EXPECT_EQ(u->geometry.Family(), c.family);
        EXPECT_EQ(u->workGeometry.Family(), c.family);
        EXPECT_TRUE(c.isDefault(u->geometry));
        EXPECT_TRUE(c.isDefault(u->workGeometry));
    }
}

// A unit's records start from a copy of a default made once; they hold the
// bytes of a record zeroed and constructed in place.
TEST_F(Geometry, FamilyConstructorGivesTheBytesOfAConstructedRecord)
{
    for (int f = 0; f <= static_cast<int>(UnitFamily::dimAngle); ++f) {
        SCOPED_TRACE(f);
        const auto family = static_cast<UnitFamily>(f);
        const UnitGeometry made(family);
        UnitGeometry reset;
        reset.Reset(family);
        EXPECT_EQ(made.Family(), family);
        if (family == UnitFamily::text)
            continue;                   // each owns its own string
        EXPECT_EQ(std::memcmp(made.m_bytes, reset.m_bytes, sizeof made.m_bytes), 0);
    }
}

TEST_F(Geometry, TextCopiesAreIndependent)
{
    CText t;
    t.geometry.text.text = u"第一行";
    t.geometry.text.fontSize = 14;
    t.workGeometry = t.geometry;
    t.workGeometry.text.text += u"X";
    EXPECT_EQ(t.geometry.text.text, CString(u"第一行"));
    EXPECT_EQ(t.workGeometry.text.text, CString(u"第一行X"));
    EXPECT_EQ(t.workGeometry.text.fontSize, 14);

    const UnitGeometry copy(t.workGeometry);
    t.workGeometry.text.text.Empty();
    EXPECT_EQ(copy.text.text, CString(u"第一行X"));
}

// The dimension records live behind a pointer; the working copy still has
// its own.
TEST_F(Geometry, DimensionCopiesAreIndependent)
{
    CDimAngle d;
    d.Current().storedText = u"a";
    d.Current().line1End = {3, 4};
    d.TakeCurrentRecord();
    d.Working().line1End = {5, 6};
    d.Working().storedText += u"b";
    EXPECT_EQ(d.Current().line1End, x_Vector(3, 4));
    EXPECT_EQ(d.Current().storedText, CString(u"a"));
    const UnitGeometry copy(d.workGeometry);
    d.Working().radius = 9;
    EXPECT_EQ(copy.dimAngle->radius, 0);
    EXPECT_EQ(copy.dimAngle->storedText, CString(u"ab"));
}

// The family travels with the record, so an assignment between families
// leaves no string behind and starts one where there was none (the
// sanitizer build sees a leak or a use of an unconstructed string).
TEST_F(Geometry, AssignmentAcrossFamiliesTakesTheSourceFamily)
{
    CText text;
    text.geometry.text.text = u"a string long enough to live on the heap";
    CLine line(1, 2, 3, 4);

    UnitGeometry g = text.geometry;
    g = line.geometry;
    EXPECT_EQ(g.Family(), UnitFamily::line);
    EXPECT_EQ(g.line.p2, x_Vector(3, 4));

    g = text.geometry;
    EXPECT_EQ(g.Family(), UnitFamily::text);
    EXPECT_EQ(g.text.text, text.geometry.text.text);

    g.Reset(UnitFamily::arc);
    EXPECT_EQ(g.arc.centre, kOrigin);
}

// What a 150,000-entity drawing pays per line.
TEST_F(Geometry, LineFitsItsMemoryBudget)
{
    EXPECT_LE(sizeof(CLine), 500u);
}

} // namespace
