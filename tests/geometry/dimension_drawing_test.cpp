// Each dimension kind drawn like the view's render (mode 1, lines into the
// RGB565 raster, arrowheads and labels on a device context over the same
// image), compared with golden PNGs in data/; and the previews, which are
// drawn inverting, erase themselves.
#include <QImage>

#include <initializer_list>
#include <string>

#include "geometry/CArc.h"
#include "geometry/CDimAngle.h"
#include "geometry/CDimArc.h"
#include "geometry/CDimCir.h"
#include "geometry/CDimDASH.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/CDimPLine.h"
#include "platform/gdi/CDC.h"
#include "tests/geometry/dimension_support.h"
#include "tests/geometry/golden_image.h"

namespace {

constexpr int kWidth = 128, kHeight = 96;

class DimensionDrawing : public DimensionTest {
protected:
    void SetUp() override
    {
        DimensionTest::SetUp();
        EnsureGuiApp();
        image = QImage(kWidth, kHeight, QImage::Format_RGB16);
        image.fill(Qt::black);
        AimRasterAt(image);                     // 4 px/mm: labels 15 px high
        ASSERT_TRUE(dc.AttachImage(&image));
        dc.SetBkMode(TRANSPARENT);
        g_cmdStep = 2;
    }
    void Render(CUnit& unit) { unit.Draw(&dc, 1, image.bits()); }

    QImage image;
    CDC dc;
};

TEST_F(DimensionDrawing, Aligned)
{
    CDimLine d;
    d.Working().p1 = {2, 2};
    d.Working().p2 = {26, 9};                   // 25 mm: ticks 0.25 mm each side
    d.Working().distance = 6;
    d.Working().angle = x_Vector::AngleTo({2, 2}, {26, 9}) + kPi / 2;
    d.CommitTransform();
    Render(d);
    ExpectGoldenImage(image, "dim_aligned");
}

TEST_F(DimensionDrawing, Linear)
{
    CDimLinear d;
    d.Working().p1 = {4, 3};
    d.Working().p2 = {24, 10};
    g_cmdPointCount = 2;
    d.InteractiveStep(nullptr, nullptr, {14, 16});     // above both: horizontal
    d.CommitTransform();
    d.colour = RGB(255, 255, 0);
    Render(d);
    ExpectGoldenImage(image, "dim_linear");
}

TEST_F(DimensionDrawing, Ordinate)
{
    CDimPLine d;
    d.Working().p1 = {1, 4};
    d.Working().p2 = {28, 12};                  // shallow: knee (28, 4), one run
    d.Working().value = 4;
    d.CommitTransform();
    Render(d);
    CDimPLine steep;
    steep.Working().p1 = {6, 1};
    steep.Working().p2 = {8, 20};
    steep.Working().value = 6;
    steep.CommitTransform();
    steep.colour = RGB(0, 255, 255);
    Render(steep);
    ExpectGoldenImage(image, "dim_ordinate");
}

TEST_F(DimensionDrawing, RadiusAndDiameter)
{
    CDimCir diameter;                           // text inside: arrowheads on the circle
    diameter.Working().p1 = {8, 12};
    diameter.Working().distance = 6;
    diameter.Working().p2 = {11, 15};
    diameter.Working().angle = kPi / 4;
    diameter.CommitTransform();
    Render(diameter);
    CDimCir radius;                             // text outside on the right: shoulder
    radius.radiusMode = 1;
    radius.Working().p1 = {8, 12};
    radius.Working().distance = 6;
    radius.Working().p2 = {16, 4};
    radius.Working().angle = x_Vector::AngleTo({8, 12}, {16, 4});
    radius.CommitTransform();
    radius.colour = RGB(255, 128, 0);
    Render(radius);
    ExpectGoldenImage(image, "dim_radius");
}

TEST_F(DimensionDrawing, AngleFromTwoLines)
{
    CDimAngle d;
    DimAngleRecord& w = d.Working();
    w.fromLines = 1;
    w.centre = {4, 4};
    w.line1Start = {4, 4};
    w.line1End = {28, 4};
    w.line2Start = {4, 4};
    w.line2End = {14, 14};                      // 45°, its end inside the arc
    g_cmdPointCount = 2;
    d.InteractiveStep(nullptr, nullptr, {22, 10});
    d.CommitTransform();
    Render(d);
    ExpectGoldenImage(image, "dim_angle");
}

TEST_F(DimensionDrawing, ArcLength)
{
    CArc* arc = NewArc({14, 2}, 8, kPi / 6, 5 * kPi / 6, 0);
    CDimArc d;
    DimArcRecord& w = d.Working();
    w.centre = {14, 2};
    w.startAngle = kPi / 6;
    w.endAngle = 5 * kPi / 6;
    w.witnessRadius = 8;
    w.radius = 14;
    w.value = arc->GetLength();
    d.CommitTransform();
    Render(d);
    ExpectGoldenImage(image, "dim_arc");
    delete arc;
}

TEST_F(DimensionDrawing, AuxiliaryLines)
{
    const struct {
        std::uint8_t kind;
        double y;
        COLORREF colour;
    } kLines[] = {{1, 2, RGB(255, 255, 255)}, {2, 6, RGB(0, 255, 0)}, {3, 10, RGB(255, 0, 255)},
                  {4, 14, RGB(0, 255, 255)}};
    for (const auto& l : kLines) {
        CDimDASH* d = CDimDASH::Make({1, l.y}, {29, l.y + 4}, l.kind);
        d->colour = l.colour;
        Render(*d);
        delete d;
    }
    ExpectGoldenImage(image, "dim_dash");
}

TEST_F(DimensionDrawing, PreviewsEraseThemselves)
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, qRgb((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 11) & 0xFF));
    const QImage before = image.copy();
    CDimLine aligned;
    aligned.Working().p1 = {2, 2};
    aligned.Working().p2 = {20, 8};
    aligned.Working().distance = 4;
    CDimLinear linear;
    linear.Working().p1 = {2, 2};
    linear.Working().p2 = {20, 8};
    linear.Working().distance = 12;
    linear.Working().angle = kPi / 2;
    linear.Working().linearMode = 1;
    CDimCir circle;
    circle.Working().p1 = {12, 10};
    circle.Working().distance = 5;
    circle.Working().p2 = {14, 11};
    CDimAngle angle;
    angle.Working().centre = {4, 4};
    angle.Working().endAngle = 1.2;
    angle.Working().radius = 10;
    angle.Working().witnessRadius = 5;
    CDimDASH* dash = CDimDASH::Make({1, 1}, {20, 15}, 1);
    for (CUnit* u : std::initializer_list<CUnit*>{&aligned, &linear, &circle, &angle, dash}) {
        SCOPED_TRACE(u->GetType());
        u->rubberShown = 1;                     // the label of the first preview stays
        u->DrawRubber(&dc, x_Vector());
        EXPECT_NE(image, before);
        u->DrawRubber(&dc, x_Vector());
        EXPECT_EQ(image, before);
    }
    delete dash;
}

} // namespace
