#include "cmdline_typing.h"

#include "geometry/CutPoint.h"

constexpr int kCtrlC = 4020;
constexpr int kCtrlV = 4022;
constexpr int kCtrlX = 4024;
constexpr int kCtrlZ = 4003;

TEST_F(CmdlineTest, ParseTypedValuesCountsLeadingNumbers)
{
    const struct {
        const char16_t* name;
        const char16_t* text;
        int n;
        double v0, v1;
    } kCases[] = {
        {u"single number", u"12.5", 1, 12.5, 0},
        {u"pair", u"3,-4", 2, 3, -4},
        {u"empty piece skipped", u"3,,4", 2, 3, 4},
        {u"number letter number", u"3,a,4", 1, 3, 0},
        {u"letter first", u"a,4", 0, 0, 0},
        {u"lone comma with blanks", u" , ", 0, 0, 0},
        {u"blanks around pieces", u" 1 , 2 ", 2, 1, 2},
        {u"plus sign is no number", u"+1,2", 0, 0, 0},
        {u"exponent is no number", u"1e3", 0, 0, 0},
        {u"two points read to the second", u"1.2.3", 1, 1.2, 0},
        {u"empty text", u"", -1, 0, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.name).ToUtf8());
        double v[4] = {};
        EXPECT_EQ(drv->view->ParseTypedValues(CString(c.text), v), c.n);
        EXPECT_DOUBLE_EQ(v[0], c.v0);
        EXPECT_DOUBLE_EQ(v[1], c.v1);
    }
    double v[4] = {};
    EXPECT_EQ(drv->view->ParseTypedValues(CString(u"1,2,3,4,5"), v), 4);
    EXPECT_DOUBLE_EQ(v[3], 4);
}

// Copies of a group land in 2M - g (M = largest group + 1): a group 4 and
// a group 7 copied while the largest is 9 become 16 and 13.
TEST_F(CmdlineTest, PastedCopiesKeepGroupsApart)
{
    for (double y : {0.0, 1.0, 2.0})
        AddLine(0, y, 5, y)->group = 4;
    AddLine(0, 5, 5, 5)->group = 7;
    AddLine(0, 6, 5, 6);                        // no group
    AddLine(20, 0, 25, 0)->group = 9;           // not selected
    for (CUnit* u : drv->LiveEntities())
        u->selected = u->group != 9;
    Key(kCtrlC);
    EXPECT_EQ(LastLine(), CString(u"复制->找到实线 5 个"));
    Key(kCtrlV);
    EXPECT_EQ(drv->Command(), kCmdPaste);
    std::vector<int> groups;
    for (CUnit* u : drv->LiveEntities())
        if (!u->complete) {
            EXPECT_TRUE(u->selected);
            groups.push_back(u->group);
        }
    EXPECT_EQ(groups, (std::vector<int>{16, 16, 16, 13, 0}));
    Key(kCtrlV);                                // one paste per copy
    int copies = 0;
    for (CUnit* u : drv->LiveEntities())
        copies += u->complete ? 0 : 1;
    EXPECT_EQ(copies, 5);
    Key(27);                                    // the unplaced copies go
    EXPECT_EQ(drv->LiveEntities().size(), 6u);
    EXPECT_EQ(drv->Command(), 0);
}

TEST_F(CmdlineTest, EscDisarmsTheClipboard)
{
    AddLine(0, 0, 5, 0)->selected = 1;
    Key(kCtrlC);
    Key(27);
    Key(kCtrlV);
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->LiveEntities().size(), 1u);
}

TEST_F(CmdlineTest, CutSelectsTheCutEntitiesAtPaste)
{
    CLine* a = AddLine(0, 0, 5, 0);
    CLine* b = AddLine(0, 1, 5, 1);
    a->selected = 1;
    Key(kCtrlX);
    EXPECT_EQ(LastLine(), CString(u"剪切->找到实线 1 个"));
    a->selected = 0;
    b->selected = 1;
    Key(kCtrlV);
    EXPECT_TRUE(a->selected);
    EXPECT_FALSE(b->selected);
    EXPECT_EQ(drv->LiveEntities().size(), 2u);
}

// A temporary used to go into the undo step and then be freed, leaving the
// step with a pointer to freed memory.
TEST_F(CmdlineTest, DeleteKeySkipsTemporariesAndUndoesInOneStep)
{
    AddLine(0, 0, 5, 0)->selected = 1;
    AddLine(0, 1, 5, 1)->selected = 1;
    ++g_UnitIdCounter;
    auto* scratch = new CLine(0, 2, 5, 2);
    scratch->temporary = 1;
    scratch->complete = 1;
    scratch->selected = 1;
    drv->doc->AppendUnit(scratch);
    Key(46);
    EXPECT_TRUE(Printed(u"擦除 (TD)->删除对象 2 个"));
    EXPECT_TRUE(drv->LiveEntities().empty());
    EXPECT_EQ(drv->doc->m_unitList.GetSize(), 2);
    Key(kCtrlZ);
    EXPECT_EQ(drv->LiveEntities().size(), 2u);
}

TEST_F(CmdlineTest, ReplacingTheToolPointCanBeUndone)
{
    ++g_UnitIdCounter;
    auto* old = new CutPoint();
    old->role = kRoleCutPoint;
    old->complete = 1;
    old->inputPoints[0] = {1, 1};
    old->inputPoints[1] = {2, 2};
    drv->doc->AppendUnit(old);
    drv->doc->CommitUndoStep(0);
    drv->Start(kCmdToolPoint);
    EXPECT_EQ(drv->PointCount(), -1);
    Type(u"y");
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_TRUE(drv->LiveEntities().empty());
    Key(kCtrlZ);
    ASSERT_EQ(drv->LiveEntities().size(), 1u);
    EXPECT_EQ(drv->LiveEntities()[0], old);
}
