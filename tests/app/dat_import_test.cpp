#include "app/dat_import.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "app/wcx_file.h"
#include "doc_fixture.h"
#include "platform/testing/dialog_answers.h"
#include "platform/core/files.h"

namespace {

// Values parsed from decimal text and one atan2: a few units in the last place.
constexpr double kParsed = 1e-12;

class DatImportTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        folder = NativePath(DataRoot()) + "/dat";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        FreeUnitArray(units);
        DocTest::TearDown();
    }
    CString Write(const std::string& text)
    {
        std::ofstream(folder + "/in.dat", std::ios::binary) << text;
        return CString::FromUtf8(folder + "/in.dat");
    }
    std::string folder;
    CUnitArray units;
};

TEST_F(DatImportTest, LineTable)
{
    const struct {
        const char* name;
        const char* line;
        int type;           // 0: no entity
        double v[4];        // line: ends; circle: centre, radius; arc: centre, radius, end angle
    } kCases[] = {
        {"line", "L=0,0,10,0", 1, {0, 0, 10, 0}},
        {"blanks between the numbers", "L = 0 , 0 ,\t10 , 0", 1, {0, 0, 10, 0}},
        {"lower case, signs", "l=-1.5,+2,3,-4", 1, {-1.5, 2, 3, -4}},
        {"ten digits, once wrapped", "L=5000.123456,0,1,1", 1, {5000.123456, 0, 1, 1}},
        {"text after ; is ignored", "C=5,5,2;note", 7, {5, 5, 2}},
        {"arc, counter-clockwise from its start", "A=0,0,10,0,0,10", 8, {0, 0, 10, kPi / 2}},
        {"arc with the S flag", "a=0,0,10,0,0,10,S", 8, {0, 0, 10, kPi / 2}},
        {"last kind letter before = wins", "ARC=0,0,1,0,0,1", 7, {0, 0, 1}},
        {"no = sign", "L0,0,1,1", 0, {}},
        {"= before a kind letter", "=0,0,1", 0, {}},
        {"empty line", "", 0, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        FreeUnitArray(units);
        ASSERT_EQ(ReadDatFile(Write(std::string(c.line) + "\r\n"), units), ImportResult::complete);
        ASSERT_EQ(units.GetSize(), c.type == 0 ? 0 : 1);
        if (c.type == 0)
            continue;
        CUnit* u = units[0];
        EXPECT_EQ(u->GetType(), c.type);
        EXPECT_EQ(u->unitId, 1u);
        EXPECT_EQ(u->complete, 1);
        if (c.type == 1) {
            EXPECT_NEAR(u->geometry.line.p1.x, c.v[0], kParsed);
            EXPECT_NEAR(u->geometry.line.p1.y, c.v[1], kParsed);
            EXPECT_NEAR(u->geometry.line.p2.x, c.v[2], kParsed);
            EXPECT_NEAR(u->geometry.line.p2.y, c.v[3], kParsed);
        } else if (c.type == 7) {
            EXPECT_EQ(u->geometry.circle.centre, x_Vector(c.v[0], c.v[1]));
            EXPECT_EQ(u->geometry.circle.radius, c.v[2]);
        } else {
            EXPECT_EQ(u->geometry.arc.centre, x_Vector(c.v[0], c.v[1]));
            EXPECT_EQ(u->geometry.arc.radius, c.v[2]);
            EXPECT_EQ(u->geometry.arc.startAngle, 0.0);
            EXPECT_NEAR(u->geometry.arc.endAngle, c.v[3], kParsed);
            EXPECT_EQ(u->geometry.arc.direction, 0);
        }
    }
}

TEST_F(DatImportTest, BadLineEndsTheImportAndKeepsWhatCameBefore)
{
    FreeUnitArray(units);
    int bad = 0;
    EXPECT_EQ(ReadDatFile(Write("L=0,0,1,1\nC=0,0,5\nL=1,2,3\nL=0,0,2,2\n"), units, &bad), ImportResult::partial);
    EXPECT_EQ(bad, 3);
    EXPECT_EQ(units.GetSize(), 2);

    // Through Open: the two entities replace the drawing, the view stays.
    Add();
    doc->CommitUndoStep(0);
    g_ViewScale = 3.0;
    ui.WillChoose(u"in.dat", CString::FromUtf8(folder + "/in.dat"), 2);
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对 无标题 的更改", IDNO);
        doc->OnFileOpen();
    }
    EXPECT_TRUE(ui.Printed(u"#未能解析的DAT文件在 3 行")) << ui.Lines();
    ASSERT_EQ(doc->m_unitList.GetSize(), 2);
    EXPECT_EQ(doc->m_unitList[1]->GetType(), 7);
    EXPECT_EQ(g_ViewScale, 3.0);
}

TEST_F(DatImportTest, OpenFitsTheViewAndReportsTheSize)
{
    g_ViewClientRect = RECT{0, 0, 1000, 600};
    Write("L=0,0,100.5,0\nC=50,10,10\n");
    ui.WillChoose(u"in.dat", CString::FromUtf8(folder + "/in.dat"), 2);
    doc->OnFileOpen();
    ASSERT_EQ(doc->m_unitList.GetSize(), 2);
    // 100.5 x 20 mm: 101 (half up) x 20.
    EXPECT_TRUE(ui.Printed(u"打开文件--in.dat    尺寸：101 x 20 (mm)")) << ui.Lines();
    EXPECT_EQ(ui.m_prompt, CString(u"尺寸：101 x 20 (mm)"));

    // A file that is gone keeps the drawing and prints nothing more.
    const auto lines = ui.m_lines.size();
    ui.WillChoose(u"gone.dat", CString::FromUtf8(folder + "/gone.dat"), 2);
    doc->OnFileOpen();
    EXPECT_EQ(doc->m_unitList.GetSize(), 2);
    EXPECT_EQ(ui.m_lines.size(), lines);
    // One that is there but cannot be read is reported.
    FreeUnitArray(units);
    EXPECT_FALSE(ImportDatFile(CString::FromUtf8(folder), units));
    EXPECT_TRUE(ui.Printed(u"#打开文件错误"));
}

} // namespace
