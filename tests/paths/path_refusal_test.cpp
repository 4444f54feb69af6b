// Paths the check refuses, through the dialogue: the failure line and what
// failed, and nothing added to the drawing.

#include "tests/paths/path_view_fixture.h"

#include "geometry/CArc.h"

namespace {

class PathRefusal : public PathViewTest {
protected:
    // A 1 mm slot from x 0 to 5 with half-circle ends of radius 0.5.
    void DrawSlot()
    {
        AddUnit(new CLine(0, -0.5, 5, -0.5));
        AddUnit(NewArc(x_Vector(5, 0), 0.5, 1.5 * kPi, 0.5 * kPi, 0));
        AddUnit(new CLine(5, 0.5, 0, 0.5));
        AddUnit(NewArc(x_Vector(0, 0), 0.5, 0.5 * kPi, 1.5 * kPi, 0));
    }
    bool PrintedStarting(const CString& head) const
    {
        for (const CString& l : drv->Output())
            if (l.Left(head.GetLength()) == head)
                return true;
        return false;
    }
};

} // namespace

// A 2-degree taper over 20 mm puts the slot's upper contour 0.798 mm in
// from walls 0.5 mm away: it cannot exist. It was built inside out and
// reported done.
TEST_F(PathRefusal, ImpossibleTaperEndsTheCommandWithItsReason)
{
    g_CutMode = 1;
    g_MachiningSettings.taperAngle = 2.0;
    DrawSlot();
    drv->Start(kCmdPath);
    Click({2.5, 0});
    Click({2.5, -0.5});
    ClickPixel(MarkerHead(MarkerAt(0.0)));
    ClickPixel(MarkerHead(MarkerAt(0.5 * kPi)));   // the hole's side, left of +x
    EXPECT_TRUE(Paths().empty());
    EXPECT_TRUE(Printed(u"#生成失败！请检查参数或实线；  code：-2"));
    EXPECT_TRUE(PrintedStarting(u"*轨迹检查：上表面"));
    EXPECT_FALSE(Printed(u"轨迹生成->操作完成"));
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->view->m_path.trail, nullptr);

    // Without the taper the same hole is cut.
    g_CutMode = 0;
    drv->Start(kCmdPath);
    Click({2.5, 0});
    Click({2.5, -0.5});
    ClickPixel(MarkerHead(MarkerAt(0.0)));
    ClickPixel(MarkerHead(MarkerAt(0.5 * kPi)));
    ASSERT_EQ(Paths().size(), 1u);
    EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
}
