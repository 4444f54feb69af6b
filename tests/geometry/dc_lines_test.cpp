#include <gtest/gtest.h>

#include <vector>

#include "geometry/GeometryState.h"
#include "geometry/dc_lines.h"
#include "platform/gdi/gdi_objects.h"
#include "tests/geometry/dc_test_support.h"

namespace {

class DcLines : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        g_ViewScale = 1;
        g_ViewOriginX = 0;
        g_ViewOriginY = 10;                      // world y 5 is pixel row 5
        g_ViewClientRect = RECT{0, 0, 20, 10};
        g_RasterWidth = 20;
        g_RasterHeight = 10;
        g_RasterStride = 40;
        m_bits.assign(400, 0);
        g_RasterDrawColor = RGB(255, 255, 255);
    }
    std::string RasterRow(int y) const
    {
        std::string s;
        for (int x = 0; x < 20; ++x)
            s += (m_bits[y * 40 + 2 * x] | m_bits[y * 40 + 2 * x + 1]) ? '#' : '.';
        return s;
    }
    static CArray<x_Vector> List(std::initializer_list<x_Vector> points)
    {
        CArray<x_Vector> list;
        for (const x_Vector& p : points)
            list.Add(p);
        return list;
    }
    std::vector<std::uint8_t> m_bits;
};

TEST_F(DcLines, PointListIntoTheRaster)
{
    EXPECT_EQ(DrawPointList(nullptr, List({{3, 5}}), 1, m_bits.data()), 1);
    EXPECT_EQ(RasterRow(5), "....................");
    // Both ends off the view on opposite sides: still drawn.
    DrawPointList(nullptr, List({{-5, 5}, {25, 5}}), 1, m_bits.data());
    EXPECT_EQ(RasterRow(5), "####################");
    // Wholly above the view: dropped, the dash phase untouched.
    g_RasterDrawStyle = 1;
    g_DashPhase = 3;
    DrawPointList(nullptr, List({{0, 12}, {19, 13}}), 1, m_bits.data());
    EXPECT_EQ(g_DashPhase, 3u);
    // Repeated pixels are skipped and the pattern runs on across segments.
    g_DashPhase = 0;
    DrawPointList(nullptr, List({{0, 2}, {4, 2}, {4.2, 2}, {12, 2}}), 1, m_bits.data());
    EXPECT_EQ(RasterRow(8), "######....##........");
}

TEST_F(DcLines, PointListAboveTheCommandBar)
{
    g_CommandBarRect = RECT{0, 0, 20, 24};       // H = 10 − 24 + 20 = 6
    DrawPointList(nullptr, List({{0, 2}, {19, 2}}), 1, m_bits.data(), PointListCull::aboveCommandBar);
    EXPECT_EQ(RasterRow(8), "....................");
    DrawPointList(nullptr, List({{0, 2}, {19, 2}}), 1, m_bits.data());
    EXPECT_EQ(RasterRow(8), "###################.");
}

TEST_F(DcLines, PointListOnTheDeviceContextUsesTheCachedPen)
{
    MemoryDC dc(20, 10);
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    dc->SelectObject(&pen);
    g_PenPosValid = 1;
    g_PenPosX = 99;
    DrawPointList(dc.get(), List({{2, 3}, {8, 3}, {8, 3}}), 0, nullptr);
    EXPECT_EQ(dc.Row(7), "..######............");
    EXPECT_EQ(g_PenPosX, 8);
    EXPECT_EQ(g_PenPosY, 7);

    LineToCached(dc.get(), 8, 7, 8, 7);          // no zero-length line
    EXPECT_EQ(dc->GetPixel(8, 7), 0u);
    DrawLineTo(dc.get(), {8, 1});
    EXPECT_EQ(g_PenPosValid, 0);
}

TEST_F(DcLines, BrushesAreRebuiltNotAccumulated)
{
    SetDefaultDrawingSettings();
    const int before = GetGdiObjectCount();
    RecreateDrawingBrushes();
    RecreateDrawingBrushes();
    EXPECT_EQ(GetGdiObjectCount(), before + 5);
    CreateFixedBrushes();
    EXPECT_EQ(GetGdiObjectCount(), before + 6);
    LOGBRUSH lb;
    ASSERT_TRUE(g_DrawingBrushes[4].GetLogBrush(&lb));
    EXPECT_EQ(lb.lbColor, RGB(255, 0, 0));       // complement of the marker colour
    ASSERT_TRUE(g_DrawingBrushes[0].GetLogBrush(&lb));
    EXPECT_EQ(lb.lbStyle, BS_NULL);
    ASSERT_TRUE(g_DrawingBrushes[5].GetLogBrush(&lb));
    EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
    ResetGeometryState();
    EXPECT_EQ(GetGdiObjectCount(), before);
}

} // namespace
