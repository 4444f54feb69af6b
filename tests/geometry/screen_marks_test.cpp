#include <gtest/gtest.h>

#include <functional>

#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "platform/core/exceptions.h"
#include "tests/geometry/dc_test_support.h"

namespace {

class ScreenMarks : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
        RecreateDrawingBrushes();
        CreateFixedBrushes();
        g_ViewScale = 1;
        g_ViewOriginX = 20;
        g_ViewOriginY = 20;                      // world (0, 0) is pixel (20, 20)
        g_ViewClientRect = RECT{0, 0, 40, 40};
    }
    void TearDown() override { ResetGeometryState(); }

    // Something under the marks: colour bands and a grey block.
    static void Background(MemoryDC& dc)
    {
        for (int i = 0; i < 8; ++i) {
            const RECT band{0, i * 5, 40, i * 5 + 5};
            dc->FillSolidRect(&band, RGB(i * 30, 255 - i * 30, (i * 70) % 256));
        }
        const RECT block{10, 10, 30, 30};
        dc->FillSolidRect(&block, RGB(128, 128, 128));
    }
};

TEST_F(ScreenMarks, NotXorMarksDrawnTwiceLeaveTheImage)
{
    const struct { const char* name; std::function<void(CDC*)> draw; } kCases[] = {
        {"xor segment", [](CDC* dc) { DrawXorSegment({-15, -3}, {12, 9}, dc); }},
        {"grip box", [](CDC* dc) { DrawGripBox(dc, 20, 20); }},
        {"cross lines", [](CDC* dc) {
             Update3DViewAngles();                // all angles 0: the plain square
             DrawCrossLines({1, 2}, 0.0, dc);
         }},
        {"cyan grip", [](CDC* dc) { DrawCyanGrip({3, -4}, dc); }},
        {"reference cross toggles", [](CDC* dc) { DrawRubberPolyline({2, 2}, dc); }},
        {"dashed, mode 1", [](CDC* dc) { DrawDashedLine(RGB(200, 10, 10), dc, 1, {-19, -7}, {19, 11}); }},
        {"snap mark kinds", [](CDC* dc) {
             for (int kind = 1; kind <= 8; ++kind) {
                 g_SnapMarkShown = 0;             // keep each shape on the screen
                 DrawMarkerXor2(kind, {kind * 2.0 - 8, kind - 4.0}, dc);
             }
             g_SnapMarkShown = 0;
         }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        MemoryDC dc(40, 40);
        Background(dc);
        const auto before = dc.Pixels();
        c.draw(dc.get());
        EXPECT_NE(dc.Pixels(), before);
        c.draw(dc.get());
        EXPECT_EQ(dc.Pixels(), before);
        EXPECT_EQ(dc->GetROP2(), R2_COPYPEN);    // the context is put back
    }
}

TEST_F(ScreenMarks, RememberedMarksRemoveTheirLastImage)
{
    MemoryDC dc(40, 40);
    Background(dc);
    const auto before = dc.Pixels();
    DrawRubberLineAlt({-10, 0}, {10, 5}, dc.get());
    const auto once = dc.Pixels();
    DrawRubberLineAlt({-10, 0}, {10, 5}, dc.get());
    EXPECT_EQ(dc.Pixels(), once);                 // drawn once, not cancelled
    EXPECT_EQ(g_RubberLineMark, 1);
    EraseRubberLine(dc.get());
    EXPECT_EQ(dc.Pixels(), before);
    EXPECT_EQ(g_RubberLineShown, 0);

    // A dotted guide line is removed with its own dotted pen; a solid pen
    // once left its gaps inverted on the screen.
    DrawRubberLine({-10, -10}, {10, 10}, 1, dc.get());
    DrawRubberLine({-5, 8}, {10, -3}, 0, dc.get());
    DrawGuideLine(dc.get());
    EXPECT_EQ(dc.Pixels(), before);
    DrawRubberLine({-10, -10}, {10, 10}, 1, dc.get());
    DrawGuideLine(dc.get());
    EXPECT_EQ(dc.Pixels(), before);

    DrawFilledGrip({1, 1}, dc.get());
    DrawFilledGrip({5, 5}, dc.get());
    EXPECT_EQ(g_CursorSquarePoint, x_Vector(5, 5));
    DrawFilledGrip({5, 5}, dc.get());
    DrawMarkerXor2(3, {0, 0}, dc.get());
    DrawMarkerXor(dc.get());
    DrawMarkerXor(dc.get());                       // nothing shown: nothing drawn
}

TEST_F(ScreenMarks, ReferencePointsAreComparedWithTheirValidFlag)
{
    MemoryDC dc(40, 40);
    const auto before = dc.Pixels();
    DrawPolylineXor({1, 1}, dc.get());             // not in the list: nothing
    EXPECT_EQ(dc.Pixels(), before);
    EXPECT_EQ(g_RefPointList.GetSize(), 0);
    DrawRubberPolyline({1, 1}, dc.get());
    DrawPolylineXor({1, 1, 0}, dc.get());          // same x, y, other flag
    EXPECT_EQ(g_RefPointList.GetSize(), 1);
    DrawPolylineXor({1, 1}, dc.get());
    EXPECT_EQ(g_RefPointList.GetSize(), 0);
    EXPECT_EQ(dc.Pixels(), before);
}

TEST_F(ScreenMarks, SnapShapesOfUnknownKindsDrawNothing)
{
    MemoryDC dc(40, 40);
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    dc->SelectObject(&pen);
    const auto before = dc.Pixels();
    for (int kind : {0, 7, 9}) {
        DrawSnapShape(kind, dc.get(), 20, 20);
        EXPECT_EQ(dc.Pixels(), before);
    }
    DrawSnapShape(5, dc.get(), 20, 20);
    EXPECT_EQ(dc->GetPixel(12, 20), RGB(255, 255, 255));   // the corner's left side
}

TEST_F(ScreenMarks, DashedLinePattern)
{
    g_ViewOriginX = 0;
    g_ViewOriginY = 0;
    MemoryDC dc(20, 20);
    // Shorter than the first dash: one dash of the line's length.
    DrawDashedLine(RGB(255, 255, 255), dc.get(), 0, {2, -2}, {6, -2});
    EXPECT_EQ(dc.Row(2), "..####..............");
    // Dashed, mode 1: dash 6, gap 3, in the complement through NOT-XOR.
    DrawDashedLine(RGB(255, 255, 255), dc.get(), 1, {0, -5}, {19, -5});
    EXPECT_EQ(dc.Row(5), "######...######...#.");
    // A line a billion pixels long is skipped to the view, same phase:
    // its start lies a whole number of 18-pixel periods before x = 0.
    DrawDashedLine(RGB(255, 255, 255), dc.get(), 1, {-1000000008.0, -9}, {1e9, -9});
    EXPECT_EQ(dc.Row(9), "######...######...##");
    // Thresholds without length once looped for ever.
    for (auto& t : g_DashLengths)
        t = 0;
    DrawDashedLine(RGB(255, 255, 255), dc.get(), 1, {0, -12}, {19, -12});
    EXPECT_EQ(dc.Row(12), "....................");
}

TEST_F(ScreenMarks, MarkerSymbolPointsAlongTheWorldAngle)
{
    x_DirSignData arrow;
    BuildMarkerSymbol(arrow, {0, 0}, 0.0);
    EXPECT_EQ(arrow.headScreen[2].x, 80);          // 60 to the right of (20, 20)
    EXPECT_EQ(arrow.headScreen[2].y, 20);
    EXPECT_EQ(arrow.direction, 2);
    EXPECT_EQ(arrow.candidateKind, 1);
    EXPECT_EQ(arrow.listIndex, -1);
    EXPECT_EQ(arrow.active, 1);
    BuildMarkerSymbol(arrow, {0, 0}, kPi / 2);
    EXPECT_EQ(arrow.headScreen[2].x, 20);
    EXPECT_EQ(arrow.headScreen[2].y, -40);         // 60 above
    EXPECT_EQ(arrow.pickScreen[2].y, 20 - 400);

    MemoryDC dc(40, 40);
    BuildMarkerSymbol(arrow, {-15, 0}, 0.0);
    DrawMarkerSymbol(-1, 1, dc.get(), arrow);
    EXPECT_EQ(dc->GetPixel(10, 20), RGB(255, 255, 255) - g_EndPointColor);  // shaft
    DrawMarkerSymbol(5, 2, dc.get(), arrow);        // no such element: only this one
    EXPECT_EQ(dc->GetPixel(26, 20), RGB(100, 255, 100));
    EXPECT_THROW(g_DirSignList.ElementAt(-1), CInvalidArgException);
}

TEST_F(ScreenMarks, GripSquareIsClosedLeftAndTopOnly)
{
    const x_Vector cursor(0, 0);
    const struct { const char* name; x_Vector grip; bool hit; } kCases[] = {
        {"8 left", {-8, 0}, true},
        {"8 above", {0, 8}, true},
        {"8 right", {8, 0}, false},
        {"8 below", {0, -8}, false},
        {"7 right, 7 below", {7, -7}, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GripSquareHit(cursor, c.grip), c.hit);
    }
    CArray<x_Vector> grips;
    grips.Add({30, 30});
    grips.Add({3, 3});
    x_Vector hit(0, 0, 0);
    EXPECT_EQ(FindGripNear(grips, {0, 0}, hit), 2);
    EXPECT_EQ(hit, x_Vector(3, 3));
}

TEST_F(ScreenMarks, CrossLinesRaiseATinyScale)
{
    MemoryDC dc(40, 40);
    g_ViewScale = 0.005;
    DrawCrossLines({0, 0}, 0.0, dc.get());
    EXPECT_EQ(g_ViewScale, 0.01);
}

TEST_F(ScreenMarks, PickBoxAndCircleMarker)
{
    MemoryDC dc(40, 40);
    DrawPickBox({0, 0}, dc.get());
    EXPECT_EQ(dc->GetPixel(12, 12), RGB(255, 0, 0));
    EXPECT_EQ(dc->GetPixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(dc->GetPixel(28, 20), 0u);            // right edge left out
    DrawCircleMarker(dc.get(), 5, 5);
    EXPECT_EQ(dc->GetPixel(5, 5), RGB(255, 0, 0));
    g_curCommand = 22;
    Reset3DView();
    Update3DViewAngles();
    DrawPolygonMarker({0, 0}, 0.0, 0.0, dc.get());
    EXPECT_EQ(dc->GetPixel(20, 20), g_DirectionSignColor);
}

} // namespace

namespace {

TEST_F(ScreenMarks, GripSquaresOnOnePixelStayVisible)
{
    MemoryDC dc(40, 40);
    const auto before = dc.Pixels();
    CUnit a, b;
    a.gripPoints.Add({0, 0});
    a.gripPoints.Add({10, 0});
    b.gripPoints.Add({10, 0});                       // the shared end of two lines
    DrawGripSquares(a, dc.get());
    const auto once = dc.Pixels();
    DrawGripSquares(b, dc.get());
    EXPECT_EQ(dc.Pixels(), once);                    // not cancelled by the second
    ClearRenderMarks();
    EXPECT_EQ(g_GripPairList.GetSize(), 0);
    DrawGripSquares(a, dc.get());
    EXPECT_EQ(dc.Pixels(), before);                  // drawn twice: gone
    CUnit gear;
    gear.gearKind = 1;
    gear.gripPoints.Add({0, 0});
    DrawGripSquares(gear, dc.get());
    EXPECT_EQ(dc.Pixels(), before);
}

} // namespace
