// DXF import against files written by ezdxf (tests/app/data, made by
// make_dxf_fixtures.py) and small hand-written files for the scanner.

#include "app/dxf_import.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/wcx_file.h"
#include "doc_fixture.h"
#include "platform/testing/dialog_answers.h"
#include "geometry/CText.h"
#include "platform/core/files.h"

namespace {

// Geometry read from a text file: the file's digits, no arithmetic of ours.
constexpr double kFileExact = 1e-9;
// Derived points (rotations, three-point arcs).
constexpr double kDerived = 1e-6;

CString Fixture(const char* name)
{
    return CString::FromUtf8(std::string(ZORVA_TEST_DATA) + "/" + name);
}

void ExpectNear(x_Vector got, x_Vector want, double tolerance);

class DxfImportTest : public DocTest {
protected:
    void TearDown() override
    {
        FreeUnitArray(units);
        DocTest::TearDown();
    }
    ImportResult ReadText(const std::string& text)
    {
        FreeUnitArray(units);
        return DXF_ReadBytes(text, units);
    }
    std::map<int, int> CountByType()
    {
        std::map<int, int> count;
        for (CUnit* u : units)
            ++count[u->GetType()];
        return count;
    }
    CUnit* FirstOfType(int type, int skip = 0)
    {
        for (CUnit* u : units) {
            if (u->GetType() == type && skip-- == 0)
                return u;
        }
        return nullptr;
    }
    void ExpectDimensions();
    CUnitArray units;
};

void ExpectNear(x_Vector got, x_Vector want, double tolerance)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
}

TEST_F(DxfImportTest, EveryVersionImportsEveryKind)
{
    // R12 has no LWPOLYLINE, SPLINE, ELLIPSE or MTEXT: its square is a
    // POLYLINE, and the other three are left out of its file.
    const struct {
        const char* file;
        std::map<int, int> types;
    } kCases[] = {
        // 1 line, 7 circle, 8 arc, 12 text; dimensions: 15 aligned, 16 linear,
        // 17 radius and diameter, 19 angle, 25 ordinate; R12 has no arc length.
        {"kinds_r12.dxf", {{1, 9}, {7, 2}, {8, 2}, {12, 1}, {15, 1}, {16, 1}, {17, 2}, {19, 2}, {25, 1}}},
        // and 5 ellipse, 6 elliptic arc, 11 spline, 18 arc length
        {"kinds_r2000.dxf", {{1, 9}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {11, 1}, {12, 2}, {15, 1}, {16, 1}, {17, 2},
                             {18, 1}, {19, 2}, {25, 1}}},
        {"kinds_r2010.dxf", {{1, 9}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {11, 1}, {12, 2}, {15, 1}, {16, 1}, {17, 2},
                             {18, 1}, {19, 2}, {25, 1}}},
        {"kinds_r2018.dxf", {{1, 9}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {11, 1}, {12, 2}, {15, 1}, {16, 1}, {17, 2},
                             {18, 1}, {19, 2}, {25, 1}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.file);
        FreeUnitArray(units);
        ASSERT_EQ(DXF_ReadFile(Fixture(c.file), units), ImportResult::complete);
        EXPECT_EQ(CountByType(), c.types);
        // Numbered afresh from 1; block definitions, which come first, take
        // numbers of their own.
        EXPECT_GT(units[0]->unitId, 0u);
        for (int i = 1; i < units.GetSize(); ++i)
            EXPECT_GT(units[i]->unitId, units[i - 1]->unitId);

        // Layer CUT is red; layer HID is dashed, and the line's own colour 5 wins.
        CUnit* cut = FirstOfType(1);
        ExpectNear(cut->GetEndPoint(), {100, 0}, kFileExact);
        EXPECT_EQ(cut->colour, 0x0000FFu);
        CUnit* hidden = FirstOfType(1, 1);
        EXPECT_EQ(hidden->lineStyle, 1);
        EXPECT_EQ(hidden->colour, 0xFF0000u);
        EXPECT_EQ(FirstOfType(8)->geometry.arc.endAngle, kPi / 2);

        // The closed square: three lines and a half circle below its first side.
        CUnit* bulge = FirstOfType(8, 1);
        EXPECT_NEAR(bulge->geometry.arc.radius, 5.0, kDerived);
        ExpectNear(bulge->geometry.arc.centre, {5, 0}, kDerived);
        ExpectNear(bulge->GetMidPoint(), {5, -5}, kDerived);
        int sameGroup = 0;
        for (CUnit* u : units)
            sameGroup += u->group == bulge->group && u->pieceOf == 2 ? 1 : 0;
        EXPECT_EQ(sameGroup, 4);

        // BOLT at (200, 0), scale 2, rotation -30: its by-block circle takes
        // the insert's red; PIN's base point (10, 10) lands on (300, 0).
        CUnit* bolt = FirstOfType(7, 1);
        ExpectNear(bolt->geometry.circle.centre, {200, 0}, kDerived);
        EXPECT_NEAR(bolt->geometry.circle.radius, 4.0, kDerived);
        EXPECT_EQ(bolt->colour, 0x0000FFu);
        EXPECT_EQ(bolt->role, kRoleBlockMember);
        CUnit* boltLine = FirstOfType(1, 7);
        EXPECT_EQ(boltLine->group, bolt->group);
        ExpectNear(boltLine->GetEndPoint(), {200 + 6 * std::cos(kPi / 6), -6 * std::sin(kPi / 6)}, kDerived);
        CUnit* pin = FirstOfType(1, 8);
        ExpectNear(pin->GetStartPoint(), {300, 0}, kDerived);
        ExpectNear(pin->GetEndPoint(), {304, 0}, kDerived);

        auto* text = static_cast<CText*>(FirstOfType(12));
        EXPECT_EQ(text->geometry.text.text, CString(u"AB CD"));
        EXPECT_EQ(text->textStyle, 0);
        if (c.types.count(5) != 0) {
            auto* mtext = static_cast<CText*>(FirstOfType(12, 1));
            EXPECT_EQ(mtext->geometry.text.text, CString(u"多行\\P文字"));
            EXPECT_EQ(mtext->textStyle, 2);
            EXPECT_EQ(FirstOfType(6)->geometry.ellipse.endParam, kPi);
            EXPECT_EQ(FirstOfType(11)->nodes.GetSize(), 4);
            // Arc length of the quarter circle of radius 20 about (100, 100).
            const DimArcRecord arcLength = FirstOfType(18)->geometry.dimArc.Get();
            ExpectNear(arcLength.centre, {100, 100}, kFileExact);
            EXPECT_NEAR(arcLength.value, 10 * kPi, kDerived);
            EXPECT_NEAR(arcLength.radius, 30, kDerived);
        }
        ExpectDimensions();
    }
}

// The dimensions of make_dxf_fixtures.py, each version alike.
void DxfImportTest::ExpectDimensions()
{
    const DimensionRecord linear = FirstOfType(16)->geometry.dimension.Get();
    EXPECT_EQ(linear.linearMode, 1);
    EXPECT_NEAR(linear.value, 100, kDerived);
    ExpectNear(linear.p1 + x_Vector::FromPolar(linear.distance, linear.angle), {0, -10}, kDerived);
    const DimensionRecord aligned = FirstOfType(15)->geometry.dimension.Get();
    EXPECT_NEAR(aligned.value, 50, kDerived);
    EXPECT_NEAR(aligned.distance, 5, kDerived);
    CUnit* radius = FirstOfType(17);
    CUnit* diameter = FirstOfType(17, 1);
    EXPECT_EQ(radius->radiusMode, 1);
    EXPECT_EQ(diameter->radiusMode, 0);
    for (CUnit* u : {radius, diameter}) {
        ExpectNear(u->geometry.dimension->p1, {50, 50}, kDerived);
        EXPECT_NEAR(u->geometry.dimension->distance, 10, kDerived);
        EXPECT_EQ(u->role, kRoleAnnotation);
        EXPECT_EQ(u->colour, g_DimensionColor);
    }
    // Two lines from (100, 0): along x, and toward (130, 30); three points
    // about (100, 40): the quarter from east to north.
    const DimAngleRecord twoLines = FirstOfType(19)->geometry.dimAngle.Get();
    ExpectNear(twoLines.centre, {100, 0}, kDerived);
    EXPECT_NEAR(twoLines.value, kPi / 4, kDerived);
    const DimAngleRecord threePoints = FirstOfType(19, 1)->geometry.dimAngle.Get();
    ExpectNear(threePoints.centre, {100, 40}, kDerived);
    EXPECT_NEAR(threePoints.startAngle, 0, kDerived);
    EXPECT_NEAR(threePoints.value, kPi / 2, kDerived);
    EXPECT_NEAR(FirstOfType(25)->geometry.dimension->value, 20, kDerived);
}

TEST_F(DxfImportTest, DownwardExtrusionMirrorsInX)
{
    ASSERT_EQ(DXF_ReadFile(Fixture("extrusion_r2000.dxf"), units), ImportResult::complete);
    // ARC (10, 0) from 0 to 90 degrees: at (-10, 0) from pi to pi/2, clockwise.
    const ArcRecord arc = FirstOfType(8)->geometry.arc;
    ExpectNear(arc.centre, {-10, 0}, kFileExact);
    EXPECT_DOUBLE_EQ(arc.startAngle, kPi);
    EXPECT_DOUBLE_EQ(arc.endAngle, kPi / 2);
    EXPECT_EQ(arc.direction, 1);
    ExpectNear(FirstOfType(8)->GetMidPoint(), {-10 + 5 * std::cos(3 * kPi / 4), 5 * std::sin(3 * kPi / 4)},
               kDerived);
    ExpectNear(FirstOfType(7)->geometry.circle.centre, {-20, 5}, kFileExact);
    // The polyline's half circle bulged below (0,0)-(10,0); mirrored it still
    // lies below, now under (0,0)-(-10,0).
    CUnit* bulge = FirstOfType(8, 1);
    ExpectNear(bulge->geometry.arc.centre, {-5, 0}, kDerived);
    ExpectNear(bulge->GetMidPoint(), {-5, -5}, kDerived);
    ExpectNear(FirstOfType(12)->geometry.text.position, {-7, 8}, kFileExact);
    // The block's line (0,0)-(5,0) inserted at (30, 0) in the mirrored plane.
    CUnit* mark = FirstOfType(1);
    ExpectNear(mark->GetStartPoint(), {-30, 0}, kDerived);
    ExpectNear(mark->GetEndPoint(), {-35, 0}, kDerived);
    // The elliptic arc 0..1 runs from 2pi - 1 to 2pi in the world's sense.
    const EllipseRecord e = FirstOfType(6)->geometry.ellipse;
    EXPECT_NEAR(e.startParam, kTwoPi - 1.0, kFileExact);
    EXPECT_NEAR(e.endParam, kTwoPi, kFileExact);
}

TEST_F(DxfImportTest, OlderFileTextInGbk)
{
    ASSERT_EQ(DXF_ReadFile(Fixture("gbk_r2000.dxf"), units), ImportResult::complete);
    ASSERT_EQ(units.GetSize(), 1);
    EXPECT_EQ(units[0]->geometry.text.text, CString(u"中文 AB"));
}

// Hand-written files for what the scanner decides.
std::string Entities(const std::string& body)
{
    return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

// Blocks B1..Bn, each an array insert of the one before, over B0 (one
// line); the entities insert Bn as a row of columns copies.
std::string NestedArrayInserts(int levels, int cells, int columns)
{
    const auto insert = [](int block, int c, int r) {
        return "0\nINSERT\n2\nB" + std::to_string(block) + "\n10\n0\n20\n0\n70\n" + std::to_string(c) +
               "\n71\n" + std::to_string(r) + "\n44\n1\n45\n1\n";
    };
    std::string text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n10\n0\n20\n0\n"
                       "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
    for (int k = 1; k <= levels; ++k)
        text += "0\nBLOCK\n2\nB" + std::to_string(k) + "\n10\n0\n20\n0\n" + insert(k - 1, cells, cells) + "0\nENDBLK\n";
    return text + "0\nENDSEC\n" + Entities(insert(levels, columns, 1));
}

TEST_F(DxfImportTest, ScannerCases)
{
    const std::string line = "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n";
    const std::string tables =
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nNOCOLOUR\n70\n0\n6\nCONTINUOUS\n"
        "0\nLAYER\n2\nGreen\n70\n0\n62\n-3\n0\nENDTAB\n0\nENDSEC\n";
    const struct {
        const char* name;
        std::string text;
        ImportResult result;
        int units;
    } kCases[] = {
        {"one line", Entities(line), ImportResult::complete, 1},
        {"blanks around codes and values, CR LF", "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n 10\r\n0.0 \r\n"
                                                  " 20\r\n0\r\n 11\r\n1\r\n 21\r\n1\r\n  0\r\nENDSEC\r\n",
         ImportResult::complete, 1},
        {"entities after the section's end are never read", Entities(line) + "0\nSECTION\n2\nENTITIES\n" + line,
         ImportResult::complete, 1},
        {"keywords only after code 0: a layer named LINE",
         Entities("0\nPOINT\n8\nLINE\n10\n0\n20\n0\n11\n5\n21\n5\n" + line), ImportResult::complete, 1},
        {"a line without its end", Entities("0\nLINE\n10\n0\n20\n0\n11\n1\n"), ImportResult::complete, 0},
        {"paper space is not the part", Entities("0\nLINE\n67\n1\n10\n0\n20\n0\n11\n1\n21\n1\n" + line),
         ImportResult::complete, 1},
        {"closed flag 129: bit 0",
         Entities("0\nLWPOLYLINE\n90\n3\n70\n129\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n"),
         ImportResult::complete, 3},
        {"vertex count other than code 90",
         Entities("0\nLWPOLYLINE\n90\n3\n70\n0\n10\n0\n20\n0\n10\n1\n20\n0\n"), ImportResult::complete, 0},
        {"a file cut short keeps what came before", "0\nSECTION\n2\nENTITIES\n" + line + "0\nLINE\n10\n",
         ImportResult::complete, 1},
        {"no section: not a DXF file", "hello\n", ImportResult::damaged, 0},
        {"a code line that is no number", Entities(line + "x\nLINE\n"), ImportResult::damaged, 0},
        {"an empty code line amid the pairs", Entities(line + "\n" + line), ImportResult::damaged, 0},
        {"blank lines at the end", "0\nSECTION\n2\nENTITIES\n" + line + "\n  \n", ImportResult::complete, 1},
        {"the binary form", "AutoCAD Binary DXF\r\n\x1a", ImportResult::damaged, 0},
        {"nested array inserts past two million copies", NestedArrayInserts(1, 100, 201), ImportResult::damaged, 0},
        {"nested array inserts asking for 10^12 copies", NestedArrayInserts(2, 100, 100), ImportResult::damaged, 0},
        {"a blocks section without its last ENDBLK: the entities still read",
         "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n0\nENDSEC\n" + Entities(line),
         ImportResult::complete, 1},
        {"layers read, entities on them", tables + Entities("0\nLINE\n8\nnocolour\n10\n0\n20\n0\n11\n1\n21\n1\n"
                                                            "0\nLINE\n8\nGREEN\n10\n0\n20\n0\n11\n1\n21\n1\n"),
         ImportResult::complete, 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_UnitIdCounter = 7;
        EXPECT_EQ(ReadText(c.text), c.result);
        EXPECT_EQ(units.GetSize(), c.units);
        EXPECT_EQ(g_UnitIdCounter, c.result == ImportResult::complete ? static_cast<std::uint64_t>(c.units) : 7u);
    }
    // The last case: a layer without a colour is not stored; a switched-off
    // layer (negative colour) keeps its colour; names match in any case.
    ASSERT_EQ(units.GetSize(), 2);
    EXPECT_EQ(units[0]->colour, g_CurrentColor);
    EXPECT_EQ(units[1]->colour, 0x00FF00u);
}

// Two layers for the colour cases: RED (colour 1, dashed) and PLAIN.
const std::string kColourTables =
    "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nRED\n70\n0\n62\n1\n6\nHIDDEN\n"
    "0\nLAYER\n2\nPLAIN\n70\n0\n62\n7\n0\nENDTAB\n0\nENDSEC\n";
constexpr COLORREF kWhite = 0xFFFFFF, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr COLORREF kTextDefault = 0xFF8000;

std::string Vertex(int x, int y, const std::string& more = "")
{
    return "0\nVERTEX\n8\nRED\n10\n" + std::to_string(x) + "\n20\n" + std::to_string(y) + "\n" + more;
}

TEST_F(DxfImportTest, PolylineHeaderGivesLineStyleOnly)
{
    g_CurrentColor = kWhite;
    // On the red layer with its own 62 of 5: neither colours the pieces; the
    // second vertex's 62 of 3 colours the piece that starts there.
    const std::string polyline = "0\nPOLYLINE\n8\nRED\n62\n5\n66\n1\n70\n0\n" + Vertex(0, 0) +
                                 Vertex(10, 0, "62\n3\n") + Vertex(10, 10) + "0\nSEQEND\n";
    // LWPOLYLINE takes its layer's colour and its own 62.
    const std::string lwpolyline = "0\nLWPOLYLINE\n8\nRED\n90\n2\n70\n0\n10\n0\n20\n0\n10\n5\n20\n0\n"
                                   "0\nLWPOLYLINE\n8\nRED\n62\n5\n90\n2\n70\n0\n10\n0\n20\n0\n10\n5\n20\n0\n";
    ASSERT_EQ(ReadText(kColourTables + Entities(polyline + lwpolyline)), ImportResult::complete);
    ASSERT_EQ(units.GetSize(), 4);
    const COLORREF want[] = {kWhite, kGreen, kRed, kBlue};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(units[i]->colour, want[i]);
        EXPECT_EQ(units[i]->lineStyle, 1) << "the layer's HIDDEN";
    }
}

TEST_F(DxfImportTest, TrueColoursAreIgnored)
{
    const std::string at = "10\n0\n20\n0\n";
    const struct {
        const char* name;
        std::string entity;
        COLORREF colour;
    } kCases[] = {
        {"TEXT with 62 = 3 and 420 = red", "0\nTEXT\n1\nA\n" + at + "62\n3\n420\n16711680\n", kGreen},
        {"TEXT with 420 = red alone", "0\nTEXT\n1\nA\n" + at + "420\n16711680\n", kTextDefault},
        {"TEXT with 420 = 5 after 62 = 3: an index", "0\nTEXT\n1\nA\n" + at + "62\n3\n420\n5\n", kBlue},
        {"TEXT with 62 = 3 after 420 = 5", "0\nTEXT\n1\nA\n" + at + "420\n5\n62\n3\n", kGreen},
        {"MTEXT with 62 = 1 and 420 = 255 (true blue): index 255", "0\nMTEXT\n1\nA\n" + at + "62\n1\n420\n255\n",
         kWhite},
        {"MTEXT with 62 = 1 and 420 = green", "0\nMTEXT\n1\nA\n" + at + "62\n1\n420\n65280\n", kRed},
        {"LINE on the red layer with 420 = green",
         "0\nLINE\n8\nRED\n" + at + "11\n1\n21\n1\n420\n65280\n", kRed},
        {"CIRCLE with 62 = 5 and 420 = red", "0\nCIRCLE\n" + at + "40\n1\n62\n5\n420\n16711680\n", kBlue},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ReadText(kColourTables + Entities(c.entity)), ImportResult::complete);
        ASSERT_EQ(units.GetSize(), 1);
        EXPECT_EQ(units[0]->colour, c.colour);
    }
}

// Groups number the drawing's shapes; the pieces of polylines inside block
// definitions are not in the drawing and take none.
TEST_F(DxfImportTest, InsertGroupsFollowTheDrawing)
{
    const std::string square = "0\nLWPOLYLINE\n90\n4\n70\n1\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n10\n0\n20\n1\n";
    const std::string open = "0\nPOLYLINE\n66\n1\n70\n0\n" + Vertex(0, 0) + Vertex(2, 0) + "0\nSEQEND\n";
    const std::string blocks = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nP\n10\n0\n20\n0\n" + square + open +
                               "0\nENDBLK\n0\nBLOCK\n2\nQ\n10\n0\n20\n0\n" + square + "0\nENDBLK\n"
                               "0\nBLOCK\n2\nEMPTY\n10\n0\n20\n0\n0\nENDBLK\n0\nENDSEC\n";
    const auto insert = [](const char* block, int x) {
        return "0\nINSERT\n2\n" + std::string(block) + "\n10\n" + std::to_string(x) + "\n20\n0\n";
    };
    std::string entities;
    for (int i = 0; i < 7; ++i) {
        entities += insert(i % 2 == 0 ? "P" : "Q", 10 * i);
        // Inserts that add nothing to the drawing take no number.
        entities += insert(i == 3 ? "EMPTY" : "NONE", 0);
    }
    entities += square;
    ASSERT_EQ(ReadText(blocks + Entities(entities)), ImportResult::complete);
    // P makes 5 pieces, Q 4, the last square 4.
    ASSERT_EQ(units.GetSize(), 4 * 5 + 3 * 4 + 4);
    std::vector<int> groups;
    for (CUnit* u : units) {
        if (groups.empty() || groups.back() != u->group)
            groups.push_back(u->group);
    }
    EXPECT_EQ(groups, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(units.GetAt(units.GetSize() - 1)->role, kRoleDrawing);
    EXPECT_EQ(units[0]->role, kRoleBlockMember);
}

// A holds a blue line (0,0)-(1,0) and a by-block circle at (2, 0); B
// inserts A at (10, 0) turned 90 degrees, scaled 2, by block, and at (0, 5)
// in green; the drawing inserts B at (100, 0) in red, two columns 50 apart.
// Worked by hand: the first A turns (x, y) into (10 - 2y, 2x).
TEST_F(DxfImportTest, NestedInsertsPlacedLevelByLevel)
{
    const std::string blocks =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n10\n0\n20\n0\n0\nLINE\n62\n5\n10\n0\n20\n0\n11\n1\n21\n0\n"
        "0\nCIRCLE\n62\n0\n10\n2\n20\n0\n40\n0.5\n0\nENDBLK\n"
        "0\nBLOCK\n2\nB\n10\n0\n20\n0\n0\nINSERT\n2\nA\n62\n0\n10\n10\n20\n0\n41\n2\n42\n2\n50\n90\n"
        "0\nINSERT\n2\nA\n62\n3\n10\n0\n20\n5\n0\nENDBLK\n0\nENDSEC\n";
    const std::string entities = "0\nINSERT\n2\nB\n62\n1\n10\n100\n20\n0\n70\n2\n71\n1\n44\n50\n";
    ASSERT_EQ(ReadText(blocks + Entities(entities)), ImportResult::complete);
    ASSERT_EQ(units.GetSize(), 8);
    for (int column = 0; column < 2; ++column) {
        SCOPED_TRACE(column);
        const double x = 100 + 50 * column;
        CUnit* const* u = &units[4 * column];
        ExpectNear(u[0]->GetStartPoint(), {x + 10, 0}, kDerived);
        ExpectNear(u[0]->GetEndPoint(), {x + 10, 2}, kDerived);
        ExpectNear(u[1]->geometry.circle.centre, {x + 10, 4}, kDerived);
        EXPECT_NEAR(u[1]->geometry.circle.radius, 1.0, kDerived);
        ExpectNear(u[2]->GetStartPoint(), {x, 5}, kFileExact);
        ExpectNear(u[2]->GetEndPoint(), {x + 1, 5}, kFileExact);
        ExpectNear(u[3]->geometry.circle.centre, {x + 2, 5}, kFileExact);
        const COLORREF colours[] = {kBlue, kRed, kBlue, kGreen};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(u[i]->colour, colours[i]) << i;
            EXPECT_EQ(u[i]->group, 1);
            EXPECT_EQ(u[i]->role, kRoleBlockMember);
            EXPECT_EQ(u[i]->ownerNo, 2) << "B, the block the drawing inserts";
        }
    }
}

// A chain of blocks, each inserting the one before once: every copy is
// placed once per level, so nesting deeper than 32 levels is refused.
TEST_F(DxfImportTest, NestingDepthIsBounded)
{
    const auto chain = [](int levels) {
        std::string text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n10\n0\n20\n0\n"
                           "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n0\nENDBLK\n";
        for (int k = 1; k < levels; ++k) {
            text += "0\nBLOCK\n2\nB" + std::to_string(k) + "\n10\n0\n20\n0\n0\nINSERT\n2\nB" + std::to_string(k - 1) +
                    "\n10\n1\n20\n0\n0\nENDBLK\n";
        }
        return text + "0\nENDSEC\n" + Entities("0\nINSERT\n2\nB" + std::to_string(levels - 1) + "\n10\n0\n20\n0\n");
    };
    ASSERT_EQ(ReadText(chain(32)), ImportResult::complete);
    ASSERT_EQ(units.GetSize(), 1);
    ExpectNear(units[0]->GetStartPoint(), {31, 0}, kFileExact);
    EXPECT_EQ(ReadText(chain(33)), ImportResult::damaged);
}

// Anonymous "*U" blocks are inserted, and layer and block names match in
// any case, as DXF readers do.
TEST_F(DxfImportTest, AnonymousBlocksAndNamesInAnyCase)
{
    const std::string line = "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n";
    const std::string blocks = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\n*U7\n70\n1\n10\n0\n20\n0\n" + line +
                               "0\nENDBLK\n0\nBLOCK\n2\nBolt\n10\n0\n20\n0\n" + line +
                               "0\nENDBLK\n0\nBLOCK\n2\n*D3\n10\n0\n20\n0\n" + line + "0\nENDBLK\n0\nENDSEC\n";
    const std::string entities = "0\nINSERT\n2\n*U7\n10\n5\n20\n0\n0\nINSERT\n2\nBOLT\n10\n9\n20\n0\n"
                                 "0\nINSERT\n2\n*D3\n10\n0\n20\n0\n"
                                 "0\nLINE\n8\nred\n10\n0\n20\n0\n11\n1\n21\n0\n";
    ASSERT_EQ(ReadText(kColourTables + blocks + Entities(entities)), ImportResult::complete);
    ASSERT_EQ(units.GetSize(), 3) << "*D blocks draw dimensions, read on their own";
    ExpectNear(units[0]->GetStartPoint(), {5, 0}, kFileExact);
    ExpectNear(units[1]->GetStartPoint(), {9, 0}, kFileExact);
    EXPECT_EQ(units[2]->colour, kRed);
}

// 200 pieces of 250 bytes and a rest: held to 32,000 bytes, like the
// values of single lines, it costs what a long line costs.
TEST_F(DxfImportTest, MtextHeldToItsLongest)
{
    std::string pieces;
    for (int i = 0; i < 200; ++i)
        pieces += "3\n" + std::string(250, 'A') + "\n";
    ASSERT_EQ(ReadText(Entities("0\nMTEXT\n10\n0\n20\n0\n" + pieces + "1\nEND\n")), ImportResult::complete);
    ASSERT_EQ(units.GetSize(), 1);
    EXPECT_EQ(units[0]->geometry.text.text, CString(std::u16string(32000, u'A')));
}

TEST_F(DxfImportTest, OpenReplacesTheDrawingAndReportsItsSize)
{
    Add();
    doc->CommitUndoStep(0);
    g_ViewClientRect = RECT{0, 0, 1000, 600};
    ui.WillChoose(u"size_r2010.dxf", Fixture("size_r2010.dxf"), 1);
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对 无标题 的更改", IDNO);
        doc->OnFileOpen();
    }
    ASSERT_EQ(doc->m_unitList.GetSize(), 2) << ui.Lines();
    EXPECT_EQ(doc->m_unitList[0]->GetType(), 1);
    EXPECT_EQ(doc->m_unitList[1]->GetType(), 7);
    EXPECT_TRUE(ui.Printed(u"打开文件--size_r2010.dxf    尺寸：120 x 40 (mm)")) << ui.Lines();
    EXPECT_EQ(ui.m_prompt, CString(u"尺寸：120 x 40 (mm)"));
    EXPECT_EQ(g_undoCount, 0);
    EXPECT_EQ(g_drawingModified, 1);
    // 0.6 x 1000 px over 120.4 mm (the height would allow more).
    EXPECT_DOUBLE_EQ(g_ViewScale, 600 / 120.4);

    // A path that cannot be read is reported, the drawing stays.
    EXPECT_FALSE(ImportDxfFile(CString::FromUtf8(std::string(ZORVA_TEST_DATA)), units));
    EXPECT_TRUE(ui.Printed(u"#打开文件错误"));
}

} // namespace
