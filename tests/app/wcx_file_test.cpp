#include "app/wcx_file.h"

#include "app/recovery_snapshot.h"
#include "tests/support/archive_bytes.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CConstructionLine.h"
#include "geometry/CDimAngle.h"
#include "geometry/CDimArc.h"
#include "geometry/CDimCir.h"
#include "geometry/CDimDASH.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/CDimPLine.h"
#include "geometry/CEllipse.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CPolyLine.h"
#include "geometry/CPolygon.h"
#include "geometry/CRectangle.h"
#include "geometry/CSplines.h"
#include "geometry/CText.h"
#include "geometry/CutPoint.h"
#include "doc_fixture.h"
#include "platform/testing/dialog_answers.h"
#include "platform/core/CArchive.h"
#include "platform/core/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

// A second entity class for the class-record test; storing throws while
// failStore is set (a writer that fails half way).
class WcxTestUnit : public CUnit {
    DECLARE_SERIAL(WcxTestUnit)
public:
    void Serialize(CArchive& ar) override
    {
        CUnit::Serialize(ar);
        if (ar.IsStoring() && failStore)
            throw CFileException(CFileException::diskFull);
    }
    static inline bool failStore = false;
};
IMPLEMENT_SERIAL(WcxTestUnit, CUnit, 1)

namespace {

std::vector<std::uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class WcxTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        WcxTestUnit::failStore = false;
        g_viewReady = 1;
        folder = NativePath(DataRoot()) + "/drawings";
        std::filesystem::create_directories(folder);
    }
    CString Path(const char* name) const { return CString::FromUtf8(folder + "/" + name); }

    // Units a, b of the kept drawing, with a name, a snapshot and its tag.
    void MakeKeptDrawing()
    {
        kept[0] = Add();
        kept[1] = Add();
        doc->CommitUndoStep(0);
        g_currentFileName = u"kept.wcx";
        g_currentFilePath = Path("kept.wcx");
        ASSERT_TRUE(WriteRecoverySnapshot(*doc));
    }
    void ExpectKeptDrawing()
    {
        ASSERT_EQ(doc->m_unitList.GetSize(), 2);
        EXPECT_EQ(doc->m_unitList[0], kept[0]);
        EXPECT_EQ(doc->m_unitList[1], kept[1]);
        EXPECT_EQ(g_currentFileName, CString(u"kept.wcx"));
        EXPECT_EQ(g_undoCount, 1) << "the history stays";
        EXPECT_TRUE(FileExists(RecoveryTagPath())) << "the recovery tag stays";
    }
    void Open(const char* name)
    {
        ui.WillChoose(CString::FromUtf8(name), Path(name), 0);
        doc->OnFileOpen();
    }

    std::string folder;
    CUnit* kept[2] = {};
};

} // namespace

TEST_F(WcxTest, EmptyDrawingIsTenBytes)
{
    ASSERT_TRUE(WriteWcxFile(Path("empty.wcx"), *doc));
    EXPECT_EQ(ReadAll(folder + "/empty.wcx"), Hex("d4 86 01 00 36 04 00 00 00 00"));
}

TEST_F(WcxTest, ClassRecordsThenClassReferences)
{
    Add<CUnit>();
    Add<CUnit>();
    Add<WcxTestUnit>();
    Add<WcxTestUnit>();
    ASSERT_TRUE(WriteWcxFile(Path("four.wcx"), *doc));
    auto bytes = ReadAll(folder + "/four.wcx");
    const size_t record = 162;
    // count 4; new class "CUnit" (index 1), object 2; class ref 0x8001,
    // object 3; new class "WcxTestUnit" (index 4), object 5; class ref 0x8004.
    auto at = [&](size_t offset, const std::string& hex) {
        auto want = Hex(hex);
        return std::vector<std::uint8_t>(bytes.begin() + offset, bytes.begin() + offset + want.size()) == want;
    };
    size_t p = 8;
    EXPECT_TRUE(at(p, "04 00"));
    p += 2;
    EXPECT_TRUE(at(p, "ff ff 01 00 05 00 43 55 6e 69 74"));
    p += 11 + record;
    EXPECT_TRUE(at(p, "01 80"));
    p += 2 + record;
    EXPECT_TRUE(at(p, "ff ff 01 00 0b 00 57 63 78 54 65 73 74 55 6e 69 74"));
    p += 17 + record;
    EXPECT_TRUE(at(p, "04 80"));
    p += 2 + record;
    EXPECT_EQ(bytes.size(), p);
}

// Before, every unit of the list was written, so erased units and the
// sources that edits replaced came back when the file was opened.
TEST_F(WcxTest, DeletedAndTemporaryUnitsAreNotWritten)
{
    Add<CUnit>()->deleted = 1;
    Add<CUnit>();
    Add<CUnit>()->temporary = 1;
    ASSERT_TRUE(WriteWcxFile(Path("live.wcx"), *doc));
    const auto bytes = ReadAll(folder + "/live.wcx");
    // count 1, the class record "CUnit" and one 162-byte unit record.
    ASSERT_EQ(bytes.size(), 8u + 2 + 11 + 162);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 8, bytes.begin() + 10), Hex("01 00"));
}

TEST_F(WcxTest, TwoLinesThenTwoArcs)
{
    for (int i = 0; i < 2; ++i) {
        ++g_UnitIdCounter;
        doc->AppendUnit(new CLine(0.0, 0.0, 1.0, 1.0));
    }
    for (int i = 0; i < 2; ++i) {
        ++g_UnitIdCounter;
        doc->AppendUnit(new CArc);
    }
    ASSERT_TRUE(WriteWcxFile(Path("la.wcx"), *doc));
    auto bytes = ReadAll(folder + "/la.wcx");
    // Common record 162 bytes; the line adds 51, the arc 42.
    const size_t line = 162 + 51;
    const size_t arc = 162 + 42;
    auto at = [&](size_t offset, const std::string& hex) {
        auto want = Hex(hex);
        return offset + want.size() <= bytes.size() &&
               std::vector<std::uint8_t>(bytes.begin() + offset, bytes.begin() + offset + want.size()) == want;
    };
    size_t p = 10;
    EXPECT_TRUE(at(p, "ff ff 01 00 05 00 43 4c 69 6e 65"));      // new class CLine: index 1
    p += 11 + line;
    EXPECT_TRUE(at(p, "01 80"));                                  // class 1 again
    p += 2 + line;
    EXPECT_TRUE(at(p, "ff ff 01 00 04 00 43 41 72 63"));          // new class CArc: index 4
    p += 10 + arc;
    EXPECT_TRUE(at(p, "04 80"));
    p += 2 + arc;
    EXPECT_EQ(bytes.size(), p);

    CUnitArray back;
    ASSERT_EQ(ReadWcxFile(Path("la.wcx"), back), WcxRead::loaded);
    ASSERT_EQ(back.GetSize(), 4);
    EXPECT_EQ(back[1]->GetType(), 1);
    EXPECT_EQ(back[3]->GetType(), 8);
    EXPECT_EQ(back[1]->GetEndPoint(), x_Vector(1.0, 1.0));
    EXPECT_EQ(back[3]->unitId, 4u);
    FreeUnitArray(back);
}

TEST_F(WcxTest, RoundTripKeepsIdsAndGeometryAndContinuesTheIds)
{
    CUnit* a = Add<CUnit>();
    a->inputPoints[0] = x_Vector(1.25, -3.5);
    a->unitId = 41;
    CUnit* b = Add<WcxTestUnit>();
    b->inputPoints[1] = x_Vector(7.0, 8.0);
    b->unitId = 0x100000002ull;   // above 32 bits
    ASSERT_TRUE(WriteWcxFile(Path("trip.wcx"), *doc));
    doc->FreeAllUnits();
    g_UnitIdCounter = 0;
    g_undoStep = 37;

    Open("trip.wcx");
    ASSERT_EQ(doc->m_unitList.GetSize(), 2) << ui.Lines();
    CUnit* ra = doc->m_unitList[0];
    CUnit* rb = doc->m_unitList[1];
    EXPECT_EQ(ra->unitId, 41u);
    EXPECT_EQ(ra->inputPoints[0], x_Vector(1.25, -3.5));
    EXPECT_NE(dynamic_cast<WcxTestUnit*>(rb), nullptr);
    EXPECT_EQ(rb->unitId, 0x100000002ull);
    EXPECT_EQ(rb->inputPoints[1], x_Vector(7.0, 8.0));
    EXPECT_EQ(g_UnitIdCounter, 0x100000002ull) << "new ids follow the largest loaded one";
    EXPECT_EQ(g_undoStep, 1);
    EXPECT_EQ(g_undoCount, 0);
    EXPECT_EQ(g_drawingModified, 1);
    EXPECT_EQ(ra->editStamp, 0);

    // A commit right after opening claims none of the loaded units.
    doc->CommitUndoStep(0);
    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(ra->deleted, 0);
}

TEST_F(WcxTest, EveryEntityClassComesBackAsItself)
{
    const char* const kNames[] = {"CLine", "CArc", "CCir", "CConstructionLine", "CutPoint", "CEllipse",
                                  "CEllipseArc", "CSplines", "CText", "CPolyLine", "CPolygon", "CRectangle",
                                  "CDimLine", "CDimLinear", "CDimCir", "CDimArc", "CDimAngle", "CDimDASH",
                                  "CDimPLine"};
    Add<CLine>();
    Add<CArc>();
    Add<CCir>();
    Add<CConstructionLine>();
    Add<CutPoint>();
    Add<CEllipse>();
    Add<CEllipseArc>();
    Add<CSplines>();
    Add<CText>();
    Add<CPolyLine>();
    Add<CPolygon>();
    Add<CRectangle>();
    Add<CDimLine>();
    Add<CDimLinear>();
    Add<CDimCir>();
    Add<CDimArc>();
    Add<CDimAngle>();
    Add<CDimDASH>();
    Add<CDimPLine>();
    ASSERT_TRUE(WriteWcxFile(Path("all.wcx"), *doc));
    doc->FreeAllUnits();

    Open("all.wcx");
    ASSERT_EQ(doc->m_unitList.GetSize(), 19) << ui.Lines();
    for (int i = 0; i < 19; ++i)
        EXPECT_STREQ(doc->m_unitList[i]->GetRuntimeClass()->m_lpszClassName, kNames[i]);
}

// An arc-length dimension finds its arc by unit id. Ids made after Open
// follow the largest loaded one, so a new arc never takes the id of the
// measured arc (a counter back at 0 gave the next arc id 1 again).
TEST_F(WcxTest, NewArcAfterOpenIsNotTakenForTheMeasuredOne)
{
    g_UnitIdCounter = 0;
    CArc* arc = Add<CArc>();                        // id 1
    arc->geometry.arc = MakeArcRecord({0, 0}, 10, 0, kPi / 2);
    CDimArc* dim = Add<CDimArc>();                  // id 2
    dim->Working().measuredId = arc->unitId;
    dim->Working().value = arc->GetLength();
    dim->CommitTransform();
    ASSERT_TRUE(WriteWcxFile(Path("arclen.wcx"), *doc));
    doc->FreeAllUnits();
    g_UnitIdCounter = 0;                            // a fresh program

    Open("arclen.wcx");
    ASSERT_EQ(doc->m_unitList.GetSize(), 2) << ui.Lines();
    auto* loaded = dynamic_cast<CDimArc*>(doc->m_unitList[1]);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Current().measuredId, 1u);
    doc->m_unitList[0]->deleted = 1;                // the measured arc goes
    CArc* other = Add<CArc>();
    other->geometry.arc = MakeArcRecord({0, 0}, 20, 0, kPi);
    EXPECT_EQ(other->unitId, 3u);
    loaded->Move({1, 0});
    loaded->CommitTransform();
    EXPECT_NEAR(loaded->Current().value, 5 * kPi, 1e-12);
}

TEST_F(WcxTest, RejectedFilesPrintTheirMessageAndKeepTheDrawing)
{
    MakeKeptDrawing();
    ASSERT_TRUE(WriteWcxFile(Path("good.wcx"), *doc));
    auto good = ReadAll(folder + "/good.wcx");
    auto truncated = good;
    truncated.resize(good.size() - 20);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char16_t* message;
    } kCases[] = {
        {"four bytes", Hex("d4 86 01 00"), u"#打开文件错误"},
        {"wrong magic", Hex("d5 86 01 00 36 04 00 00"), u"#不是有效的.wcx文件"},
        {"wrong version", Hex("d4 86 01 00 37 04 00 00 00 00"), u"#文件版本号不相同，无法读取"},
        {"truncated", truncated, u"#文件错误!"},
        {"foreign class", Hex("d4 86 01 00 36 04 00 00 01 00 ff ff 00 00 08 00 43 4f 62 41 72 72 61 79 00 00 00 00"),
         u"#文件错误!"},
        {"object back-reference", [&] {
             auto b = good;
             b[8] = 3;   // a third element that refers to the first object
             b.push_back(0x02);
             b.push_back(0x00);
             return b;
         }(), u"#文件错误!"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ui.m_lines.clear();
        WriteAll(folder + "/bad.wcx", c.bytes);
        Open("bad.wcx");
        EXPECT_TRUE(ui.Printed(c.message)) << ui.Lines();
        ExpectKeptDrawing();
        EXPECT_EQ(g_currentFilePath, Path("kept.wcx"));
    }
}

TEST_F(WcxTest, SaveThatCannotWriteLeavesTheOldFileAndReports)
{
    Add<WcxTestUnit>();
    ui.WillChoose(u"part.wcx", Path("part.wcx"), 0);
    doc->SaveDocument(0);
    auto before = ReadAll(folder + "/part.wcx");
    ASSERT_EQ(before.size(), 10u + 17 + 162);

    Add<WcxTestUnit>();
    g_drawingModified = 1;
    WcxTestUnit::failStore = true;
    ui.m_lines.clear();
    doc->SaveDocument(0);
    EXPECT_TRUE(ui.Printed(u"#保存文件失败")) << ui.Lines();
    EXPECT_FALSE(ui.Printed(u"存盘成功--part.wcx"));
    EXPECT_EQ(ReadAll(folder + "/part.wcx"), before);
    EXPECT_EQ(g_drawingModified, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file left";
}

TEST_F(WcxTest, SaveNamesAndPaths)
{
    const struct {
        const char* name;
        const char16_t* typed;
        std::string folder;
        const char16_t* message;
        const char* written;
    } kCases[] = {
        {"other extension", u"part.txt", "", u"存盘成功--part.wcx", "part.wcx"},
        {"already .wcx", u"a.b.WCX", "", u"存盘成功--a.b.WCX", "a.b.WCX"},
        {"blank base", u"   .wcx", "", u"存盘失败，未设置文件名", nullptr},
        {"missing folder", u"x.wcx", "/nowhere", u"#保存失败,文件路径失效", nullptr},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ui.m_lines.clear();
        g_currentFileName.Empty();
        std::string dir = folder + c.folder;
        ui.WillChoose(c.typed, CString::FromUtf8(dir) + u"\\" + c.typed, 0);
        doc->SaveDocument(0);
        EXPECT_TRUE(ui.Printed(c.message)) << ui.Lines();
        if (c.written != nullptr) {
            EXPECT_EQ(ReadAll(folder + "/" + c.written).size(), 10u);
        }
    }
}

TEST_F(WcxTest, SaveWritesTheSnapshotAndSaveAsThePathAsGiven)
{
    g_drawingModified = 1;
    ui.WillChoose(u"s.wcx", Path("s.wcx"), 0);
    doc->SaveDocument(0);
    EXPECT_TRUE(ui.Printed(u"存盘成功--s.wcx"));
    EXPECT_EQ(g_drawingModified, 0);
    EXPECT_TRUE(FileExists(RecoveryTagPath()));

    ui.WillChoose(u"t.dat", Path("t.dat"), 0);
    doc->OnFileSaveAs();
    EXPECT_TRUE(ui.Printed(u"存盘成功文件--t.dat"));
    EXPECT_EQ(ReadAll(folder + "/t.dat").size(), 10u);
}

TEST_F(WcxTest, SaveAndOpenAreRefusedWhileTheWorkerRuns)
{
    CUnit* a = Add();
    doc->RecordDelete(a);
    doc->CommitUndoStep(0);
    g_currentFileName = u"w.wcx";
    g_currentFilePath = Path("w.wcx");
    ui.workerBusy = true;
    doc->SaveDocument(0);
    doc->OnFileOpen();
    EXPECT_EQ(ui.m_lines.size(), 2u);
    EXPECT_TRUE(ui.Printed(u"#请等待线程处理完成..."));
    EXPECT_EQ(doc->m_unitList.GetSize(), 1) << "no purge under the worker";
    EXPECT_FALSE(FileExists(Path("w.wcx")));
    EXPECT_EQ(ui.dialogs, 0);
}

TEST_F(WcxTest, FitViewToDrawing)
{
    g_ViewClientRect = RECT{0, 0, 1000, 800};
    g_defaultOriginX = 500;
    g_defaultOriginY = 400;
    g_ViewOriginX = 7;
    g_ViewOriginY = 9;
    doc->FitViewToDrawing();
    EXPECT_EQ(g_ViewScale, 10.0) << "empty";
    EXPECT_EQ(g_ViewOriginX, 500);
    EXPECT_EQ(g_ViewOriginY, 400);

    const struct {
        const char* name;
        double x0, y0, x1, y1;
        int width, height;
        double scale;
        int originX, originY;
    } kCases[] = {
        // w = 600, h = 480: min(480 / 50, 600 / 100) = 6.
        {"ordinary", 10, 20, 110, 70, 1000, 800, 6.0, 500 - 360, 6 * 45 + 400},
        // Counted as 0.8 x 0.8: min(240 / 0.8, 300 / 0.8) = 300.
        {"tiny", 0, 0, 0.1, 0.1, 500, 400, 300.0, 500 - 15, 415},
        // 480 / 1e7 < 0.01: scale 0.11.
        {"huge", 0, 0, 1e7, 1e7, 1000, 800, 0.11, 500 - 550000, 550000 + 400},
        // 600 / 0.8 >= 600: capped, origin kept.
        {"capped", 0, 0, 0.1, 0.1, 1000, 800, 600.0, 11, 12},
        // At 0.11 the centre 5e10 needs an origin of -5.5e9, past the int
        // range (the conversion was undefined): the smallest scale, 0.01.
        {"a coordinate of 1e11", 0, 0, 1e11, 1, 1000, 800, 0.01, 500 - 500000000, 400},
        // Out of reach even at 0.01: the origin stops at its limit.
        {"a coordinate of 1e12", 1e12, -1e12, 1e12 + 1, -1e12 + 1, 1000, 800, 0.01, -1000000000, -1000000000},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        doc->FreeAllUnits();
        CUnit* u = Add();
        u->extentMin = x_Vector(c.x0, c.y0);
        u->extentMax = x_Vector(c.x1, c.y1);
        CUnit* gone = Add();
        gone->extentMax = x_Vector(1e9, 1e9);
        gone->deleted = 1;
        g_ViewClientRect = RECT{0, 0, c.width, c.height};
        g_ViewOriginX = 11;
        g_ViewOriginY = 12;
        doc->FitViewToDrawing();
        EXPECT_DOUBLE_EQ(g_ViewScale, c.scale);
        EXPECT_EQ(g_ViewOriginX, c.originX);
        EXPECT_EQ(g_ViewOriginY, c.originY);
        EXPECT_EQ(g_DrawingExtents[1].x, c.x1);
    }
}

// The open fits the view to the units' own geometry, gathered while they
// are read: the extents stored in the file are stale here on purpose.
TEST_F(WcxTest, OpenFitsTheViewToTheGeometryRead)
{
    CLine* line = Add<CLine>();
    line->geometry.line = MakeLineRecord(10, 20, 60, 70);
    CCir* circle = Add<CCir>();
    circle->geometry.circle.centre = x_Vector(100, 45);
    circle->geometry.circle.radius = 10;
    for (CUnit* u : doc->m_unitList) {
        u->extentMin = x_Vector(-1e6, -1e6);
        u->extentMax = x_Vector(1e6, 1e6);
    }
    ASSERT_TRUE(WriteWcxFile(Path("fit.wcx"), *doc));
    doc->FreeAllUnits();
    g_ViewClientRect = RECT{0, 0, 1000, 800};
    g_defaultOriginX = 500;
    g_defaultOriginY = 400;

    Open("fit.wcx");
    ASSERT_EQ(doc->m_unitList.GetSize(), 2) << ui.Lines();
    // Box (10, 20) to (110, 70); w = 600, h = 480: min(480 / 50, 600 / 100) = 6.
    EXPECT_EQ(g_DrawingExtents[0], x_Vector(10, 20));
    EXPECT_EQ(g_DrawingExtents[1], x_Vector(110, 70));
    EXPECT_DOUBLE_EQ(g_ViewScale, 6.0);
    EXPECT_EQ(g_ViewOriginX, 500 - 360);
    EXPECT_EQ(g_ViewOriginY, 6 * 45 + 400);
    EXPECT_EQ(doc->m_unitList[1]->extentMax, x_Vector(110, 55));
}

TEST_F(WcxTest, LineRecordWrittenByHandLoadsAsALine)
{
    // This file names no entity class of the geometry library: the reader
    // itself must keep the line's class record.
    std::vector<std::uint8_t> bytes = Hex("d4 86 01 00 36 04 00 00 01 00 ff ff 01 00 05 00 43 4c 69 6e 65");
    std::vector<std::uint8_t> common(162, 0);
    common[102] = 9;   // unit id 9
    bytes.insert(bytes.end(), common.begin(), common.end());
    auto tail = Hex("00 00 00 00 00 00 f0 3f 00 00 00 00 00 00 00 40 "
                    "00 00 00 00 00 00 08 40 00 00 00 00 00 00 10 40 01 00 "
                    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    WriteAll(folder + "/line.wcx", bytes);
    Open("line.wcx");
    ASSERT_EQ(doc->m_unitList.GetSize(), 1) << ui.Lines();
    CUnit* line = doc->m_unitList[0];
    EXPECT_STREQ(line->GetRuntimeClass()->m_lpszClassName, "CLine");
    EXPECT_EQ(line->GetType(), 1);
    EXPECT_EQ(line->GetStartPoint(), x_Vector(1.0, 2.0));
    EXPECT_EQ(line->GetEndPoint(), x_Vector(3.0, 4.0));
    EXPECT_EQ(g_UnitIdCounter, 9u);
}

TEST_F(WcxTest, FrameworkSaveAndOpenUseTheSameFile)
{
    ++g_UnitIdCounter;
    doc->AppendUnit(new CLine(1.0, 2.0, 3.0, 4.0));
    doc->CommitUndoStep(0);
    ASSERT_TRUE(doc->OnSaveDocument(Path("fw.wcx")));
    ASSERT_TRUE(WriteWcxFile(Path("own.wcx"), *doc));
    EXPECT_EQ(ReadAll(folder + "/fw.wcx"), ReadAll(folder + "/own.wcx"));

    g_UnitIdCounter = 0;
    ASSERT_TRUE(doc->OnOpenDocument(Path("fw.wcx")));
    ASSERT_EQ(doc->m_unitList.GetSize(), 1);
    EXPECT_EQ(doc->m_unitList[0]->GetEndPoint(), x_Vector(3.0, 4.0));
    EXPECT_EQ(g_UnitIdCounter, 1u);
    EXPECT_EQ(g_undoCount, 0);
    EXPECT_EQ(doc->m_restList.GetSize(), 0);
}

TEST_F(WcxTest, ImportsFillANewListThatReplacesTheDrawingOnlyOnSuccess)
{
    MakeKeptDrawing();
    // The kept drawing was never saved: each Open asks first.
    MessageBoxScript boxes;
    boxes.Expect(u"是否保存对", IDNO).Expect(u"是否保存对", IDNO);
    WriteAll(folder + "/in.dxf", Hex("30 0a"));
    ui.WillChoose(u"in.dxf", Path("in.dxf"), 1);
    doc->OnFileOpen();
    ExpectKeptDrawing();
    EXPECT_TRUE(ui.Printed(u"#文件错误!")) << ui.Lines();
    EXPECT_EQ(g_UnitIdCounter, 2u) << "the kept drawing's counter";

    const std::string dxf = "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n0\n"
                            "0\nENDSEC\n0\nEOF\n";
    WriteAll(folder + "/in.dxf", std::vector<std::uint8_t>(dxf.begin(), dxf.end()));
    ui.WillChoose(u"in.dxf", Path("in.dxf"), 1);
    doc->OnFileOpen();
    ASSERT_EQ(doc->m_unitList.GetSize(), 1);
    EXPECT_EQ(doc->m_unitList[0]->GetEndPoint(), x_Vector(5.0, 0.0));
    EXPECT_EQ(doc->m_unitList[0]->unitId, 1u);
    EXPECT_EQ(g_UnitIdCounter, 1u);
    EXPECT_EQ(g_currentFileName, CString(u"in.dxf"));
}
