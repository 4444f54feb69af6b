#include "view_fixture.h"

TEST_F(ViewTest, OutputListKeepsTheNewestFiveHundredLines)
{
    for (int i = 0; i < 600; ++i)
        drv->view->PrintLine(CString::FromUtf8("line " + std::to_string(i)), 0);
    const auto lines = drv->Output();
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(lines.front(), CString(u"line 100"));
    EXPECT_EQ(lines.back(), CString(u"line 599"));
}

TEST_F(ViewTest, NeverTwoSeparatorsInARow)
{
    const CString separator(u'-', 68);
    drv->view->PrintLine(CString(), 1);
    drv->view->PrintSeparator();
    drv->view->PrintSeparator();
    EXPECT_EQ(drv->Output(), std::vector<CString>{separator});
    drv->view->PrintLine(CString(u">信息"), 0);
    drv->view->PrintSeparator();
    EXPECT_EQ(drv->Output(), (std::vector<CString>{separator, CString(u">信息"), separator}));
    // An empty line without the clear flag does not allow a second one.
    drv->view->PrintLine(CString(), 0);
    drv->view->PrintSeparator();
    EXPECT_EQ(drv->Output().size(), 4u);
}

TEST_F(ViewTest, SeparatorTrimsOneOldLineAboveAHundred)
{
    drv->view->PrintLine(CString(), 1);
    for (int i = 0; i < 150; ++i)
        drv->view->PrintLine(CString::FromUtf8("l" + std::to_string(i)), 0);
    drv->view->PrintSeparator();
    const auto lines = drv->Output();
    ASSERT_EQ(lines.size(), 150u);
    EXPECT_EQ(lines.front(), CString(u"l1"));
    EXPECT_EQ(lines.back(), CString(u'-', 68));
}
