#include <gtest/gtest.h>

#include <QImage>

#include "geometry/CUnitView.h"
#include "geometry/CutPoint.h"
#include "geometry/GeometryState.h"
#include "platform/gdi/CDC.h"
#include "tests/support/archive_bytes.h"

namespace {

class CutPointTest : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

int CountPixels(const QImage& img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST_F(CutPointTest, ExactHitWithinATenthOfAMicron)
{
    CutPoint cp;
    cp.StartPoint() = {1, 1};
    cp.EndPoint() = {5, 5};
    EXPECT_TRUE(cp.HitTest(x_Vector(1.00005, 1), 1));
    EXPECT_FALSE(cp.HitTest(x_Vector(1.0002, 1), 1));
    EXPECT_TRUE(cp.HitTest(x_Vector(5, 5.00005), 1));
    EXPECT_EQ(cp.role, 6);
    EXPECT_EQ(cp.GetType(), 24);
    // The whole archive is the common record, the two points among it.
    const auto bytes = StoreBytes([&](CArchive& ar) { cp.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 162u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 16, bytes.begin() + 32),
              Hex("0000000000001440 0000000000001440"));   // inputPoints[1] = (5, 5)
}

TEST_F(CutPointTest, NeverTransformedAndCopiesKeepTheIdOnlyInMode1)
{
    g_UnitIdCounter = 7;
    CutPoint cp;
    cp.StartPoint() = {1, 2};
    cp.Move(x_Vector(5, 5));
    EXPECT_FALSE(cp.Rotate(x_Vector(0, 0), 1.0));
    EXPECT_EQ(cp.StartPoint(), x_Vector(1, 2));
    CUnit* copy = nullptr;
    ASSERT_TRUE(cp.Copy(1, copy));
    EXPECT_EQ(copy->unitId, 7u);
    EXPECT_EQ(g_UnitIdCounter, 7u);
    EXPECT_EQ(copy->inputPoints[0], x_Vector(1, 2));
    delete copy;
    ASSERT_TRUE(cp.Copy(0, copy));
    EXPECT_EQ(copy->unitId, 8u);
    EXPECT_EQ(copy->complete, 1);
    delete copy;
}

TEST_F(CutPointTest, PickAndSnapByEndPoints)
{
    CutPoint cp;
    cp.StartPoint() = {10, -10};
    cp.EndPoint() = {50, -10};
    CUnitView view;
    cp.OnPick(nullptr, &view, x_Vector(38, -10));
    EXPECT_FALSE(cp.selected);
    cp.OnPick(nullptr, &view, x_Vector(56, -4));
    EXPECT_TRUE(cp.selected);
    EXPECT_EQ(view.m_pickUnit, &cp);
    EXPECT_EQ(g_pickMark, 1);
    x_Vector r, c(50, -17.5);
    EXPECT_TRUE(cp.SnapPoints(r, c, 0, 0));
    EXPECT_EQ(cp.edit->gripHit, x_Vector(50, -10));
    EXPECT_EQ(cp.snapKind, 3);
}

TEST_F(CutPointTest, MarkersAreFilledSquaresOneWhenTheEndsCoincide)
{
    QImage img(60, 40, QImage::Format_RGB32);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&img));
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 128, 255), green = qRgb(0, 255, 0);
    CutPoint cp;
    cp.StartPoint() = {10, -10};
    cp.EndPoint() = {10.0005, -10.0005};
    img.fill(Qt::black);
    cp.Draw(&dc, 1, nullptr);
    EXPECT_EQ(CountPixels(img, red), 100);               // 10 × 10, right and bottom out
    EXPECT_EQ(CountPixels(img, blue), 0);
    cp.EndPoint() = {40, -20};
    cp.CommitTransform();
    img.fill(Qt::black);
    cp.Draw(&dc, 0, nullptr);
    EXPECT_EQ(CountPixels(img, red), 100);
    EXPECT_EQ(CountPixels(img, blue), 100);
    EXPECT_EQ(img.pixel(40, 20), blue);
    cp.selected = 1;
    img.fill(Qt::black);
    cp.Draw(&dc, 1, nullptr);
    EXPECT_EQ(CountPixels(img, green), 200);
    EXPECT_EQ(cp.extentMax, x_Vector(40, -10));
}

} // namespace
