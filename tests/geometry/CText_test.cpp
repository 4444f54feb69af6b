#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <string>

#include "geometry/CText.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "platform/gdi/CDC.h"
#include "tests/support/archive_bytes.h"
#include "tests/geometry/entity_doc.h"
#include "tests/geometry/golden_image.h"

namespace {

class Text : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
    }
};

CText* MakeText(const char16_t* content, x_Vector at)
{
    ++g_UnitIdCounter;
    auto* t = new CText();
    t->geometry.text.text = content;
    t->geometry.text.position = at;
    t->workGeometry.text = t->geometry.text;
    return t;
}

TEST_F(Text, ArchiveTailHoldsTheWideStringAndFontSizeTwice)
{
    const auto tail = Hex(
        "000000000000f03f 0000000000000040"     // position (1, 2)
        "ff feff 03 6100 6200 6300"             // "abc"
        "00000000 00000000"                     // extraInt, extraReal
        "0a000000 0a000000"                     // fontSize 10, twice
        "0f000000");                            // boxSize 15
    ASSERT_EQ(tail.size(), 46u);
    CText* t = MakeText(u"abc", {1, 2});
    t->geometry.text.boxSize = 15;
    const auto written = StoreBytes([&](CArchive& ar) { t->Serialize(ar); });
    ASSERT_EQ(written.size(), 162u + 46u);
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin() + 162, written.end()), tail);

    std::vector<std::uint8_t> record(written.begin(), written.end());
    record[record.size() - 8] = 0x0c;          // the second fontSize wins
    CText back;
    LoadBytes(record, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.geometry.text.text, CString(u"abc"));
    EXPECT_EQ(back.geometry.text.fontSize, 12);
    EXPECT_EQ(back.geometry.text.boxSize, 15);
    EXPECT_EQ(back.geometry.text.position, x_Vector(1, 2));
    // A length beyond the bytes left is refused before anything is allocated.
    std::vector<std::uint8_t> bad(record.begin(), record.begin() + 162 + 16);
    const auto huge = Hex("ff feff ff ffff ffffff7f 6100");
    bad.insert(bad.end(), huge.begin(), huge.end());
    EXPECT_THROW(LoadBytes(bad, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException);
    delete t;
}

TEST_F(Text, HeightFollowsZoomAndFontSize)
{
    const struct { const char* name; double zoom; int size; int px; } kCases[] = {
        {"size 10 at zoom 1", 1.0, 10, 8},
        {"size 10 at zoom 1.5", 1.5, 10, 12},
        {"size 10 at zoom 0.1", 0.1, 10, 1},
        {"size 20 at zoom 1: 13 clamped", 1.0, 20, 12},
        {"size 12 at zoom 1: base at least 8", 1.0, 12, 8},
        {"zoom above 4 counts as 4", 50.0, 9, 12},
        {"smallest size", 1.0, -2147483647 - 1, 8},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextPixelHeight(c.zoom, c.size), c.px);
    }
}

TEST_F(Text, LineBreaksAtBackslashP)
{
    const struct { const char* name; const char16_t* text; std::vector<CString> lines; } kCases[] = {
        {"three lines", u"AB\\PCD\\PE", {u"AB", u"CD", u"E"}},
        {"no empty last line", u"AB\\PCD\\P", {u"AB", u"CD"}},
        {"plain backslash", u"A\\B", {u"A", u"B"}},
        {"one line", u"AB", {u"AB"}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitTextLines(c.text), c.lines);
    }
}

TEST_F(Text, ExtentsAndPickFollowTheScale)
{
    CText* t = MakeText(u"x", {10, 10});
    g_ViewScale = 2;
    t->ComputeExtents();
    EXPECT_EQ(t->extentMin, x_Vector(0, 7.5));
    EXPECT_EQ(t->extentMax, x_Vector(20, 12.5));
    g_ViewScale = 0.001;                         // raised to 0.01
    t->ComputeExtents();
    EXPECT_EQ(t->extentMax, x_Vector(2010, 510));
    g_ViewScale = 1;
    EXPECT_TRUE(t->HitTest({60, 10}, 0));        // 50 px right
    EXPECT_FALSE(t->HitTest({-40, 10}, 0));      // 50 px left
    EXPECT_TRUE(t->HitTest({10, -10}, 0));       // 20 px below
    EXPECT_FALSE(t->HitTest({10, 30}, 0));       // 20 px above
    EXPECT_FALSE(t->HitTest({10, 10}, 1));       // never an exact hit
    delete t;
}

// Move did nothing and Copy mode 2 took the current record: a moved
// selection left its texts behind.
TEST_F(Text, MoveAndCopyFollowTheWorkingCopy)
{
    CText* t = MakeText(u"abc", {1, 1});
    t->Move({10, 0});
    EXPECT_EQ(t->geometry.text.position, x_Vector(1, 1));
    CUnit* copy = nullptr;
    ASSERT_TRUE(t->Copy(2, copy));
    EXPECT_EQ(copy->geometry.text.position, x_Vector(11, 1));
    EXPECT_EQ(copy->geometry.text.text, CString(u"abc"));
    EXPECT_EQ(copy->unitId, g_UnitIdCounter);
    delete copy;
    t->CommitTransform();
    EXPECT_EQ(t->geometry.text.position, x_Vector(11, 1));
    ASSERT_TRUE(t->Rotate({0, 0}, kPi));
    EXPECT_NEAR(t->workGeometry.text.position.x, -11, 1e-12);
    ASSERT_TRUE(t->Scale({0, 0}, {2, 2}));
    EXPECT_EQ(t->workGeometry.text.position, x_Vector(22, 2));
    EXPECT_EQ(t->workGeometry.text.fontSize, 10);
    delete t;
}

TEST_F(Text, GripDragMovesThePosition)
{
    TestDoc doc;
    CUnitView view;
    CText* t = doc.Add(MakeText(u"abc", {5, 5}));
    t->Draw(nullptr, 1, nullptr);
    t->OnPick(nullptr, &view, {5, 5});
    EXPECT_EQ(t->selected, 1);
    t->OnPick(nullptr, &view, {5, 5});
    EXPECT_EQ(view.m_gripDragFlag, 1);
    EXPECT_EQ(g_cmdStep, 3);
    t->InteractiveStep(nullptr, &view, {7, 8});
    t->CommitTransform();
    EXPECT_EQ(t->geometry.text.position, x_Vector(7, 8));
}

// Fonts need a GUI application; it lives for the rest of the run.
void EnsureGuiApp()
{
    static int argc = 1;
    static char name[] = "test_geometry";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QGuiApplication(argc, argv);
}

TEST_F(Text, GoldenImage)
{
    EnsureGuiApp();
    constexpr int kWidth = 64, kHeight = 48;
    QImage image(kWidth, kHeight, QImage::Format_RGB16);
    image.fill(Qt::black);
    g_ViewScale = 1.5;                           // 12 px text
    g_ViewOriginY = 0;                           // screen y = -1.5 · world y
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    dc.SetBkMode(TRANSPARENT);
    CText* plain = MakeText(u"文字", {2, -2});
    plain->colour = RGB(255, 255, 0);
    plain->Draw(&dc, 1, nullptr);
    CText* lines = MakeText(u"AB\\PCD", {22, -2});
    lines->textStyle = 2;
    lines->colour = RGB(0, 255, 255);
    lines->Draw(&dc, 1, nullptr);
    CText* label = MakeText(u"7", {10, -30});
    label->textStyle = 1;
    label->colour = RGB(64, 255, 0);
    label->Draw(&dc, 1, nullptr);
    ExpectGoldenImage(image, "text");
    delete plain;
    delete lines;
    delete label;
}

} // namespace
