#include <gtest/gtest.h>

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "view/ViewState.h"
#include "view/prompts.h"

namespace {

class PromptTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        ResetAppState();
        ResetViewState();
    }
    static PromptInputs At(int command, int subStep, int cmdStep = kStepPointInput)
    {
        PromptInputs in;
        in.command = command;
        in.subStep = subStep;
        in.cmdStep = cmdStep;
        return in;
    }
};

CString Spaces(int n)
{
    return CString(u' ', n);
}

} // namespace

// "直线(L)->第一个点 (x,y)【取消(Esc)】" is 26 units: padded to 30, two
// blanks, then " ：" padded to 15.
TEST_F(PromptTest, LinePromptPaddedByItsFormat)
{
    const PromptLine p = BuildPrompt(At(1, 0), CString());
    EXPECT_EQ(p.text, CString(u"直线(L)->第一个点 (x,y)【取消(Esc)】") + Spaces(4) + Spaces(2) + CString(u" ：") + Spaces(13));
    const PromptLine typed = BuildPrompt(At(1, 0), CString(u"0,0"));
    EXPECT_EQ(typed.text.Right(15), CString(u" ：0,0") + Spaces(10));
}

TEST_F(PromptTest, RowsByStepModeAndSettings)
{
    g_CommandModes.mode[4] = 2;     // circle: two points and a radius
    g_CommandModes.mode[5] = 1;     // arc: two points and a radius
    const struct {
        const char16_t* name;
        PromptInputs in;
        const char16_t* head;
    } kCases[] = {
        {u"rectangle size", At(3, 1), u"四边形(RL)->长度和宽度 (w,h)【放弃(U)】"},
        {u"circle third point", At(7, 2), u"圆(C)->指定第三个点或半径(+/-r)【放弃(U)】"},
        {u"arc radius", At(8, 2), u"圆弧(A)->半径 (+/-r)【放弃(U)】"},
        {u"polygon count", At(10, 0), u"多边形(POL)->边的数目<6>  ："},
        {u"wave peak", At(23, 0), u"波浪线(AS)->波峰值<10.0000>  ： 【回车/右键/确定】"},
        {u"fillet radius", At(61, 0, kStepSelect), u"圆角 (TF)->选择第一个实线 或 半径(R) 3.0000 【放弃(U)】"},
        {u"grip move", At(0, 0, kStepGripMove), u"移动->基点 (x1,y1)或 偏移量 (L) 【位移(D)/放弃(U)】"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.name).ToUtf8());
        const CString text = BuildPrompt(c.in, CString()).text;
        EXPECT_EQ(text.Left(CString(c.head).GetLength()), CString(c.head));
    }
}

TEST_F(PromptTest, StepsOutsideTheTableGiveNothing)
{
    EXPECT_TRUE(BuildPrompt(At(12, 2), CString()).text.IsEmpty());
    EXPECT_TRUE(BuildPrompt(At(1, 0, kStepIdlePick), CString()).text.IsEmpty());
    EXPECT_TRUE(BuildPrompt(At(99, 0), CString()).text.IsEmpty());
}

TEST_F(PromptTest, QueriesIgnoreTheTypedText)
{
    EXPECT_EQ(BuildPrompt(At(72, 0, kStepSelect), CString(u"abc")).text, CString(u"坐标点查询->选择坐标点"));
}

TEST_F(PromptTest, PrefilledDefaults)
{
    const PromptLine polygon = BuildPrompt(At(10, 0), CString());
    EXPECT_EQ(polygon.prefill, CString(u"6"));
    EXPECT_FALSE(polygon.prefillAlways);
    const PromptLine mirror = BuildPrompt(At(54, 3, kStepSelect), CString());
    EXPECT_EQ(mirror.prefill, CString(u"Y"));
    EXPECT_TRUE(mirror.prefillAlways);
    const PromptLine offset = BuildPrompt(At(80, 0, kStepSelect), CString());
    EXPECT_EQ(offset.prefill, CString(u"5.0"));
}

TEST_F(PromptTest, PathDirectionsListed)
{
    PromptInputs in = At(66, 2, kStepSelect);
    in.directionCount = 3;
    EXPECT_EQ(BuildPrompt(in, CString()).text.Left(34), CString(u"轨迹生成->请选择切割方向(0,1,2)【放弃(U) / 批量生成(M)】").Left(34));
}

TEST_F(PromptTest, CommandNamesByType)
{
    EXPECT_EQ(CommandTitle(1, 0), CString(u"直线(L)->"));
    EXPECT_EQ(CommandTitle(17, 1), CString(u"半径标注(DR)->"));
    EXPECT_EQ(CommandTitle(18, 1), CString(u"弧长标注(DC)->"));
    // The arc-length dimension is type 18 and the angle dimension 19,
    // whatever the sub-type.
    EXPECT_EQ(CommandTitle(18, 0), CString(u"弧长标注(DC)->"));
    EXPECT_EQ(CommandTitle(19, 0), CString(u"角度标注(DA)->"));
    EXPECT_EQ(CommandShortName(19, 0), CString(u"角度标注"));
    EXPECT_TRUE(CommandTitle(17, 2).IsEmpty());
    EXPECT_TRUE(CommandTitle(66, 0).IsEmpty());
    EXPECT_EQ(CommandShortName(66, 0), CString(u"加工轨迹"));
    EXPECT_TRUE(CommandShortName(24, 0).IsEmpty());
}
