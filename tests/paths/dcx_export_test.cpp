#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CutPoint.h"
#include "paths/dcx_export.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "tests/paths/path_view_fixture.h"
#include "tests/support/archive_bytes.h"
#include "tests/wirepath/trail_fixture.h"

namespace {

Bytes ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

template <class T>
T At(const Bytes& b, size_t offset)
{
    T v{};
    std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}

// Bytes of one path record: 599 parameter bytes, the lists' counts and
// their 144-byte elements.
size_t RecordSize(const CTrail& t)
{
    return 599 + 2 + 144 * static_cast<size_t>(t.trails[0].GetSize()) + 2
           + 144 * static_cast<size_t>(t.trails[1].GetSize());
}

} // namespace

class DcxExport : public PathViewTest {
protected:
    // A path of a lead line and one line, box (x, y) to (x + 10, y + 5).
    CTrail* AddPath(double x, double y)
    {
        ++g_UnitIdCounter;
        auto* t = new CTrail();
        x_TrailData lead = Line(x, y - 5, x, y);
        lead.role = 1;
        t->trails[0].Add(lead);
        t->trails[0].Add(Line(x, y, x + 10, y + 5));
        t->params.threadPoint[0] = x_Vector(x, y - 5);
        t->params.reserved2 = 3.5;          // cleared in the path before writing
        t->params.sequence = 9;
        t->extentMin = x_Vector(x, y);
        t->extentMax = x_Vector(x + 10, y + 5);
        t->complete = 1;
        drv->doc->AppendUnit(t);
        return t;
    }
    // Answers the built-in save dialog with the folder and name of path.
    static ModalDialogScript::Handler SaveAs(const std::string& path)
    {
        return [path](CDialog& d) {
            const std::filesystem::path p(path);
            g_browseFolder = CString::FromUtf8(p.parent_path().string());
            d.SetDlgItemText(1009, CString::FromUtf8(p.filename().string()));
            d.PressButton(IDOK);
            return IDCANCEL;
        };
    }
    std::string Export(const std::string& name)
    {
        const std::string path = ArtifactPath(name);
        std::filesystem::remove(path);
        ok = WriteDcxFile(CString(path.c_str()));
        return path;
    }
    bool ok = false;
};

TEST_F(DcxExport, OnePathHeaderAndRecordAtTheirOffsets)
{
    CTrail* t = AddPath(2, 3);
    auto* tool = new CutPoint();
    tool->inputPoints[0] = x_Vector(1, 2);
    tool->inputPoints[1] = x_Vector(3, 4);
    tool->complete = 1;
    drv->doc->AppendUnit(tool);
    g_SelectedTrailIds.Add(t->unitId);
    g_currentFileName = u"零件A.part.wcx";
    const Bytes b = ReadFile(Export("one_path.dcx"));
    ASSERT_TRUE(ok);
    ASSERT_EQ(b.size(), 191 + RecordSize(*t));
    // 209852, 0, 0, the count 1; the two reserved flags.
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 18), HexBytes("BC 33 03 00 00 00 00 00 00 00 00 00 01 00 00 00 00 00"));
    EXPECT_EQ(At<double>(b, 18), 2.0);
    EXPECT_EQ(At<double>(b, 26), 3.0);
    EXPECT_EQ(At<double>(b, 34), 12.0);
    EXPECT_EQ(At<double>(b, 42), 8.0);
    EXPECT_EQ(Bytes(b.begin() + 50, b.begin() + 108), Bytes(58, 0));
    EXPECT_EQ(b[108], 1);
    EXPECT_EQ(At<double>(b, 109), 1.0);
    EXPECT_EQ(At<double>(b, 117), 2.0);
    EXPECT_EQ(At<double>(b, 125), 3.0);
    EXPECT_EQ(At<double>(b, 133), 4.0);
    // The base name in GBK ("零件A": C1 E3 BC FE 41), zero-padded.
    EXPECT_EQ(Bytes(b.begin() + 141, b.begin() + 147), HexBytes("C1 E3 BC FE 41 00"));
    EXPECT_EQ(Bytes(b.begin() + 147, b.begin() + 191), Bytes(44, 0));
    // The record: multiPass byte, sequence 0, then reserved2 at 11 as 0.
    EXPECT_EQ(At<std::int32_t>(b, 191 + 1), 0);
    EXPECT_EQ(At<double>(b, 191 + 11), 0.0);
    EXPECT_EQ(t->params.reserved2, 0.0);
    EXPECT_EQ(At<std::uint16_t>(b, 191 + 599), 2);
    EXPECT_EQ(At<double>(b, 191 + 601 + 144 + 32), 2.0) << "second element's start x";
    EXPECT_EQ(At<std::uint16_t>(b, b.size() - 2), 0) << "no upper list";
}

TEST_F(DcxExport, ThreePathsInExportOrderWithSequenceNumbers)
{
    CTrail* a = AddPath(0, 0);
    CTrail* b = AddPath(20, 0);
    CTrail* c = AddPath(40, 0);
    for (CTrail* t : {c, a, b})
        g_SelectedTrailIds.Add(t->unitId);
    g_currentFileName = u"three.wcx";
    const Bytes bytes = ReadFile(Export("three_paths.dcx"));
    ASSERT_TRUE(ok);
    EXPECT_EQ(At<std::int32_t>(bytes, 12), 3);
    EXPECT_EQ(At<double>(bytes, 18), 0.0);
    EXPECT_EQ(At<double>(bytes, 34), 50.0);
    EXPECT_EQ(bytes[108], 0);
    EXPECT_EQ(Bytes(bytes.begin() + 109, bytes.begin() + 141), Bytes(32, 0));
    size_t at = 191;
    int k = 0;
    for (CTrail* t : {c, a, b}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(At<std::int32_t>(bytes, at + 1), k);
        EXPECT_EQ(At<double>(bytes, at + 599 + 2 + 32), t->trails[0][0].start.x);
        at += RecordSize(*t);
        ++k;
    }
    EXPECT_EQ(at, bytes.size());
}

// Before, a missing path was found half-way and left a file whose header
// promised more paths than it held.
TEST_F(DcxExport, RefusalsWriteNoFile)
{
    // Through Save in export mode, as the export command runs it.
    CTrail* a = AddPath(0, 0);
    std::string path = ArtifactPath("none.dcx");
    std::filesystem::remove(path);
    {
        ModalDialogScript save;
        save.Then(SaveAs(path));
        g_saveTypeIndex = 1;
        g_exportMode = 1;
        drv->doc->SaveDocument(1);
        g_exportMode = 0;
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(Printed(u"#没有选择轨迹"));
    EXPECT_TRUE(Printed(u"#保存失败"));
    g_SelectedTrailIds.Add(a->unitId);
    g_SelectedTrailIds.Add(a->unitId + 100);
    path = Export("missing.dcx");
    EXPECT_FALSE(ok);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(Printed(u"#轨迹读取失败，请重试"));
}

// Before, the 50-byte field was cut anywhere: a long name lost its zero
// and could end in half a character.
TEST_F(DcxExport, LongNameIsCutOnACharacterAndTerminated)
{
    DcxHeader h;
    FillDcxName(h, CString(u"a") + CString(u'件', 30) + u".wcx");
    // "a" and 24 two-byte characters fill 49 bytes; the 50th is the zero.
    EXPECT_EQ(static_cast<unsigned char>(h.name[47]), 0xBC);
    EXPECT_EQ(static_cast<unsigned char>(h.name[48]), 0xFE);
    EXPECT_EQ(h.name[49], 0);
    FillDcxName(h, CString(u"ab") + CString(u'件', 30));
    EXPECT_EQ(h.name[48], 0) << "no half character";
    const Bytes header = Stored([&](CArchive& ar) { WriteDcxHeader(ar, h); });
    EXPECT_EQ(header.size(), 179u);
}

// F5 with no path chosen: the prompt lines and no dialog; with the
// export order set, the confirmation shows the count, then the file.
TEST_F(DcxExport, ExportCommandConfirmsAndAsksForTheFile)
{
    drv->doc->OnExportWork();
    EXPECT_TRUE(Printed(u"导出加工> 请选择加工轨迹，按【回车/右键】确定"));
    CTrail* a = AddPath(0, 0);
    a->selected = 1;
    const std::string target = ArtifactPath("exported.dcx");
    std::filesystem::remove(target);
    CString shown;
    ModalDialogScript dialogs;
    dialogs.Then([&](CDialog& d) {
        d.GetDlgItemText(1031, shown);
        return IDOK;
    });
    dialogs.Then([&](CDialog& d) {
        // Export mode: the ".dcx" type, which the user cannot change.
        EXPECT_FALSE(d.GetDlgItem(1012)->IsWindowEnabled());
        return SaveAs(target)(d);
    });
    g_currentFileName = u"drawing.wcx";
    drv->doc->OnExportWork();
    EXPECT_EQ(shown, CString(u"轨迹图形数量：1  个"));
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_TRUE(Printed(u"存盘成功--exported.dcx"));
    EXPECT_EQ(g_currentFileName, CString(u"drawing.wcx"));
    EXPECT_EQ(ReadFile(target)[141], 'e');
}

// F5 with nothing chosen waits; idle clicks number two paths; Enter (or
// the right button) runs the export with them in click order.
TEST_F(DcxExport, PathsPickedAfterThePromptAreExportedOnConfirm)
{
    for (const bool byRightButton : {false, true}) {
        SCOPED_TRACE(byRightButton ? "right button" : "Enter");
        drv->Start(0);
        for (CUnit* u : drv->LiveEntities())
            u->deleted = 1;
        CTrail* a = AddPath(0, 0);
        CTrail* b = AddPath(30, 0);
        drv->doc->OnExportWork();
        EXPECT_TRUE(Printed(u"导出加工> 请选择加工轨迹，按【回车/右键】确定"));
        drv->ClickAt({35, 2.5});
        drv->ClickAt({5, 2.5});
        ASSERT_EQ(g_SelectedTrailIds.GetSize(), 2);
        const std::string target = ArtifactPath(byRightButton ? "picked_right.dcx" : "picked_enter.dcx");
        std::filesystem::remove(target);
        int asked = 0;
        ModalDialogScript dialogs;
        dialogs.Then([&](CDialog&) {
            ++asked;
            return IDOK;
        });
        dialogs.Then(SaveAs(target));
        if (byRightButton)
            drv->RightClick();
        else
            Key(13);
        drv->Settle();
        EXPECT_EQ(asked, 1);
        const Bytes file = ReadFile(target);
        ASSERT_EQ(file.size(), 191 + RecordSize(*a) + RecordSize(*b));
        EXPECT_EQ(At<std::int32_t>(file, 12), 2);
        // The first record is the path clicked first (its lead starts at x 30).
        EXPECT_EQ(At<double>(file, 191 + 599 + 2 + 32), 30.0);
    }
}
