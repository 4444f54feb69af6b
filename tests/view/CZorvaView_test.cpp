#include "view_fixture.h"

#include <fstream>
#include <string>

#include "platform/core/files.h"
#include "platform/core/named_objects.h"

TEST_F(ViewTest, PurgeRemovesDegenerateEntitiesAndUndoBringsThemBack)
{
    CLine* dot = AddLine(4, 4, 4, 4);
    ++g_UnitIdCounter;
    CCir* point = NewCircle({1, 1}, 0.0);
    drv->doc->AppendUnit(point);
    CLine* keep = AddLine(0, 0, 1, 0);
    drv->view->PurgeDegenerateEntities(0);
    EXPECT_TRUE(dot->deleted);
    EXPECT_TRUE(point->deleted);
    EXPECT_FALSE(keep->deleted);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_FALSE(dot->deleted);
    EXPECT_FALSE(point->deleted);
}

TEST_F(ViewTest, KeyListSplitsALongLineAfter511Characters)
{
    const CString folder = MapWindowsPath(CString(g_dataDir));
    CreateFolder(folder);
    {
        std::ofstream f(NativePath(folder) + "/zorvahelp_keylist.txt", std::ios::binary);
        f << std::string(511, 'a') << 'X' << std::string(88, 'b') << "\r\n" << "l  line\n";
    }
    drv->view->LoadHelpKeyList();
    EXPECT_EQ(g_KeyListLoaded, 1);
    CString first, second, third;
    ASSERT_TRUE(g_KeyList.Lookup(1, first));
    ASSERT_TRUE(g_KeyList.Lookup(2, second));
    ASSERT_TRUE(g_KeyList.Lookup(3, third));
    EXPECT_EQ(first, CString(std::u16string(511, u'a').c_str()));
    // The character after the 511th ends the entry and is not kept.
    EXPECT_EQ(second, CString(std::u16string(88, u'b').c_str()));
    EXPECT_EQ(third, CString(u"l  line"));
}

TEST_F(ViewTest, FirstInitialUpdateHoldsTheReadyEvent)
{
    ASSERT_NE(g_viewReadyEvent, nullptr);
    EXPECT_TRUE(g_viewReadyEvent->IsOpen());
    EXPECT_EQ(g_viewInitialised, 1);
    EXPECT_EQ(g_viewReady, 1);
    // The back buffer is a top-down RGB565 section of the client size.
    const BITMAPINFO* info = drv->view->m_pBackBufferInfo;
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->bmiHeader.biWidth, 800);
    EXPECT_EQ(info->bmiHeader.biHeight, -600);
    EXPECT_EQ(info->bmiHeader.biBitCount, 16);
    EXPECT_EQ(info->bmiColors[0], 0xF800u);
    EXPECT_EQ(info->bmiColors[1], 0x07E0u);
    EXPECT_EQ(info->bmiColors[2], 0x001Fu);
    EXPECT_EQ(g_RasterStride, 1600);
}
