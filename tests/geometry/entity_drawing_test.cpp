// Each entity kind drawn into an RGB565 back buffer, compared with a small
// golden PNG kept in data/. ZORVA_UPDATE_GOLDEN=1 writes the images anew
// (look at every one before committing it).
#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <string>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/CutPoint.h"
#include "geometry/GeometryState.h"
#include "platform/gdi/CDC.h"
#include "tests/geometry/golden_image.h"

namespace {

constexpr int kWidth = 64, kHeight = 48;

class EntityDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
        image = QImage(kWidth, kHeight, QImage::Format_RGB16);
        image.fill(Qt::black);
        AimRasterAt(image);
        ASSERT_TRUE(dc.AttachImage(&image));
    }

    // Draws like the view's render: mode 1 into the raster over the image.
    void Render(CUnit& unit) { unit.Draw(&dc, 1, image.bits()); }

    void ExpectGolden(const std::string& name) { ExpectGoldenImage(image, name); }

    QImage image;
    CDC dc;
};

TEST_F(EntityDrawing, Lines)
{
    CLine solid(1, 1, 14, 9);
    solid.colour = RGB(255, 255, 0);
    Render(solid);
    CLine dashed(1, 9, 14, 1);
    dashed.colour = RGB(0, 255, 255);
    dashed.lineStyle = 1;
    Render(dashed);
    CLine picked(0, 0.5, 14, 0.5);
    picked.selected = 1;                        // selected colour, mark style (dotted)
    Render(picked);
    ExpectGolden("line");
}

TEST_F(EntityDrawing, Arcs)
{
    CArc* ccw = NewArc(x_Vector(7, 5), 4, 0, kPi, 0);
    ccw->colour = RGB(0, 255, 0);
    Render(*ccw);
    CArc* cw = NewArc(x_Vector(7, 5), 2.5, 0, kPi, 1);    // the lower half
    cw->colour = RGB(255, 128, 0);
    Render(*cw);
    // Stored out of range: still the quarter from 0 to π/2.
    CArc* wrapped = NewArc(x_Vector(1, 1), 2, -kTwoPi, kPi / 2 + 2 * kTwoPi, 0);
    wrapped->colour = RGB(255, 255, 255);
    Render(*wrapped);
    ExpectGolden("arc");
    delete ccw;
    delete cw;
    delete wrapped;
}

TEST_F(EntityDrawing, Circles)
{
    CCir* solid = NewCircle(x_Vector(5, 5), 4);
    solid->colour = RGB(255, 0, 255);
    Render(*solid);
    CCir* dotted = NewCircle(x_Vector(11, 6), 3);
    dotted->colour = RGB(255, 255, 255);
    dotted->lineStyle = 2;                      // dotted: chords into the raster
    Render(*dotted);
    ExpectGolden("circle");
    delete solid;
    delete dotted;
}

TEST_F(EntityDrawing, CutPoint)
{
    CutPoint cp;
    cp.StartPoint() = {3, 3};
    cp.EndPoint() = {11, 7};
    Render(cp);
    ExpectGolden("cut_point");
}

TEST_F(EntityDrawing, RubberBandsAndHoverOutlinesEraseThemselves)
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, qRgb((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 11) & 0xFF));
    const QImage before = image.copy();
    CLine line(1, 1, 14, 9);
    CArc* arc = NewArc(x_Vector(7, 5), 4, 0.3, 2.5, 0);
    CCir* circle = NewCircle(x_Vector(6, 5), 3);
    for (CUnit* u : std::initializer_list<CUnit*>{&line, arc, circle}) {
        u->Draw(nullptr, 1, nullptr);                   // working copy and flattened points
        circle->Move(x_Vector(0, 0));                   // the circle's box corners
        u->DrawRubber(&dc, x_Vector());
        EXPECT_NE(image, before) << u->GetType();
        u->DrawRubber(&dc, x_Vector());
        EXPECT_EQ(image, before) << u->GetType();
        u->DrawHighlight(&dc, 1);
        u->hoverShown = 1;                              // the caller records it
        EXPECT_NE(image, before) << u->GetType();
        u->DrawHighlight(&dc, 0);
        EXPECT_EQ(image, before) << u->GetType();
        EXPECT_EQ(u->hoverShown, 0);
    }
    delete arc;
    delete circle;
}

} // namespace

