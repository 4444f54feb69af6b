#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "platform/core/exceptions.h"
#include "tests/support/archive_bytes.h"

namespace {

class Unit : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
    }
};

// The common record written out by hand, offsets as in the record table.
const std::vector<std::uint8_t> kRecord = Hex(
    "00 00 00 00 00 00 f8 3f 00 00 00 00 00 00 00 c0"  //   0 inputPoints[0] (1.5, -2)
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  //  16 inputPoints[1] (0, 0)
    "00 00 00 00 00 00 00 c0 00 00 00 00 00 00 f8 3f"  //  32 inputPoints[2] (-2, 1.5)
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  //  48 inputPoints[3]
    "01"                                               //  64 complete
    "00 00 00 00 00 00 00 c0 00 00 00 00 00 00 00 00"  //  65 extentMin (-2, 0)
    "00 00 00 00 00 00 f8 3f 00 00 00 00 00 00 f8 3f"  //  81 extentMax (1.5, 1.5)
    "07 00 00 00"                                      //  97 listIndex 7
    "01"                                               // 101 temporary
    "02 00 00 00 01 00 00 00"                          // 102 unitId 2^32 + 2
    "05 00 00 00 03 00 00 00 02 00 00 00 01 00 00 00"  // 110 role, ownerNo, textStyle, pieceOf
    "ff ff ff ff 01 00 00 00 02 00 00 00"              // 126 group -1, chainDir, lineStyle
    "01 02 03 00"                                      // 138 colour RGB(1, 2, 3)
    "01"                                               // 142 dashDot
    "01 00 00 00"                                      // 143 radiusMode
    "03 01"                                            // 147 gearKind, gearHandle
    "12 00 00 00"                                      // 149 toothCount 18
    "00 00 00 00 00 00 f8 3f"                          // 153 taperAngle 1.5
    "01");                                             // 161 blockMember

void FillKnownValues(CUnit& u)
{
    u.inputPoints[0] = {1.5, -2};
    u.inputPoints[1] = {0, 0};
    u.inputPoints[2] = {-2, 1.5, 0};
    u.inputPoints[3] = {0, 0, 0};
    u.complete = 1;
    u.extentMin = {-2, 0};
    u.extentMax = {1.5, 1.5};
    u.listIndex = 7;
    u.temporary = 1;
    u.unitId = 0x100000002ULL;
    u.role = 5;
    u.ownerNo = 3;
    u.textStyle = 2;
    u.pieceOf = 1;
    u.group = -1;
    u.chainDir = 1;
    u.lineStyle = 2;
    u.colour = RGB(1, 2, 3);
    u.dashDot = 1;
    u.radiusMode = 1;
    u.gearKind = 3;
    u.gearHandle = 1;
    u.toothCount = 18;
    u.taperAngle = 1.5;
    u.blockMember = 1;
}

TEST_F(Unit, CommonRecordBytesAndReadBackThroughDynamicCreation)
{
    ASSERT_EQ(kRecord.size(), static_cast<size_t>(kUnitRecordSize));
    CUnit unit;
    FillKnownValues(unit);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { unit.Serialize(ar); }), kRecord);

    const auto framed = StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(&unit); });
    ASSERT_GT(framed.size(), kRecord.size());
    EXPECT_TRUE(std::equal(kRecord.begin(), kRecord.end(), framed.end() - kUnitRecordSize));

    std::unique_ptr<CObject> object;
    LoadBytes(framed, [&](CArchive& ar) { object.reset(ar.ReadObject(RUNTIME_CLASS(CUnit))); });
    CUnit* back = dynamic_cast<CUnit*>(object.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->inputPoints[0], x_Vector(1.5, -2));
    EXPECT_EQ(back->inputPoints[2], x_Vector(-2, 1.5, 1));   // validity is not stored
    EXPECT_EQ(back->complete, 1);
    EXPECT_EQ(back->extentMin, x_Vector(-2, 0));
    EXPECT_EQ(back->extentMax, x_Vector(1.5, 1.5));
    EXPECT_EQ(back->listIndex, 7);
    EXPECT_EQ(back->temporary, 1);
    EXPECT_EQ(back->unitId, 0x100000002ULL);
    EXPECT_EQ(back->role, 5);
    EXPECT_EQ(back->ownerNo, 3);
    EXPECT_EQ(back->textStyle, 2);
    EXPECT_EQ(back->pieceOf, 1);
    EXPECT_EQ(back->group, -1);
    EXPECT_EQ(back->chainDir, 1);
    EXPECT_EQ(back->lineStyle, 2);
    EXPECT_EQ(back->colour, RGB(1, 2, 3));
    EXPECT_EQ(back->dashDot, 1);
    EXPECT_EQ(back->radiusMode, 1);
    EXPECT_EQ(back->gearKind, 3);
    EXPECT_EQ(back->gearHandle, 1);
    EXPECT_EQ(back->toothCount, 18);
    EXPECT_EQ(back->taperAngle, 1.5);
    EXPECT_EQ(back->blockMember, 1);
}

TEST_F(Unit, BoolsReadAsNonZeroAndShortRecordThrows)
{
    auto bytes = kRecord;
    bytes[64] = 0x7f;      // complete
    bytes[101] = 0x02;     // temporary
    CUnit unit;
    LoadBytes(bytes, [&](CArchive& ar) { unit.Serialize(ar); });
    EXPECT_EQ(unit.complete, 1);
    EXPECT_EQ(unit.temporary, 1);
    bytes.resize(150);
    EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { unit.Serialize(ar); }), CArchiveException);
}

TEST_F(Unit, ConstructionTakesCurrentAttributesAndConsecutiveIds)
{
    g_CurrentColor = RGB(9, 8, 7);
    g_CurrentLineStyle = 1;
    g_CurrentDashDot = 1;
    g_undoStep = 42;
    ++g_UnitIdCounter;
    CUnit a;
    ++g_UnitIdCounter;
    CUnit b;
    EXPECT_EQ(b.unitId, a.unitId + 1);
    EXPECT_EQ(a.listIndex, -1);
    EXPECT_EQ(a.chainDir, 2);
    EXPECT_EQ(a.visible, 1);
    EXPECT_EQ(a.brushStyle, 1);
    EXPECT_EQ(a.auxValue, 1.0);
    EXPECT_EQ(a.taperAngle, 0.0);
    EXPECT_EQ(a.colour, RGB(9, 8, 7));
    EXPECT_EQ(a.lineStyle, 1);
    EXPECT_EQ(a.dashDot, 1);
    EXPECT_EQ(a.editStamp, 42);
    EXPECT_EQ(a.inputPoints[3], x_Vector(0, 0, 0));
    EXPECT_EQ(a.geometry.Family(), UnitFamily::none);

    g_UnitIdCounter = 0xFFFFFFFFULL;
    ++g_UnitIdCounter;                  // carries into the high word
    CUnit c;
    EXPECT_EQ(c.unitId, 0x100000000ULL);
}

// Every field of a unit but its geometry and caches, as numbers.
std::vector<double> StateOf(const CUnit& u)
{
    std::vector<double> v = {
        u.refPoint.x, u.refPoint.y, double(u.refPoint.valid), u.extentMin.x, u.extentMin.y,
        double(u.extentMin.valid), u.extentMax.x, u.extentMax.y, double(u.extentMax.valid), double(u.unitId),
        u.compensation, u.auxValue, u.taperAngle, double(u.colour), double(u.lineStyle), double(u.brushStyle),
        double(u.pieceOf), double(u.snapKind), double(u.hitSegment), double(u.listIndex), double(u.textStyle),
        double(u.role), double(u.group), double(u.splitDir), double(u.chainDir), double(u.contourShape),
        double(u.contourNo), double(u.ownerNo), double(u.radiusMode), double(u.toothCount), double(u.editStamp),
        double(u.dashDot), double(u.blockMember), double(u.flatValid), double(u.complete), double(u.temporary),
        double(u.selected), double(u.highlighted), double(u.picked), double(u.visible), double(u.walked),
        double(u.hoverShown), double(u.splitMarked), double(u.rubberShown), double(u.refActive), double(u.auxKind),
        double(u.gearKind), double(u.gearHandle), double(u.gripsValid), double(u.deleted), double(u.wearMarked),
        double(u.chainScratchA), double(u.chainScratchB), double(u.gripsPending), double(u.edit.Exists()),
        double(u.inputPoints.HasOwnStorage())};
    for (const x_Vector& p : u.inputPoints)
        v.insert(v.end(), {p.x, p.y, double(p.valid)});
    return v;
}

// The constructor leaves a unit as ResetState does, apart from the current
// attributes it takes (dashDot comes from the current setting).
TEST_F(Unit, FreshUnitIsWhatResetStateLeaves)
{
    g_CurrentDashDot = 0;
    g_CurrentColor = RGB(4, 5, 6);
    g_CurrentLineStyle = 2;
    g_undoStep = 17;
    ++g_UnitIdCounter;
    CUnit fresh;
    CUnit reset;
    reset.CUnit::ResetState();
    EXPECT_EQ(StateOf(fresh), StateOf(reset));
    EXPECT_EQ(fresh.refPoint.valid, 0);
    EXPECT_EQ(fresh.editStamp, 17);
}

TEST_F(Unit, CopyCommonAttributesAndResetState)
{
    CUnit source;
    FillKnownValues(source);
    source.selected = 1;
    source.deleted = 1;
    source.contourNo = 9;
    CUnit target;
    target.unitId = 77;
    target.selected = 0;
    target.deleted = 0;
    source.CopyCommonAttributes(&target);
    EXPECT_EQ(target.unitId, 77u);
    EXPECT_EQ(target.selected, 0);
    EXPECT_EQ(target.deleted, 0);
    EXPECT_EQ(target.contourNo, 0);
    EXPECT_EQ(target.group, -1);
    EXPECT_EQ(target.colour, RGB(1, 2, 3));
    EXPECT_EQ(target.inputPoints[2], x_Vector(-2, 1.5, 0));
    EXPECT_EQ(target.pieceOf, 1);

    source.geometry.circle.radius = 5;
    source.ResetState();
    EXPECT_EQ(source.geometry.circle.radius, 5);
    EXPECT_EQ(source.colour, RGB(1, 2, 3));
    EXPECT_EQ(source.lineStyle, 2);
    EXPECT_EQ(source.unitId, 0x100000002ULL);
    EXPECT_EQ(source.selected, 0);
    EXPECT_EQ(source.role, 0);
    EXPECT_EQ(source.listIndex, -1);
}

TEST_F(Unit, BaseOperationsGiveTheBaseAnswers)
{
    CUnit u;
    x_Vector p(1, 1), out;
    double d = 0;
    CUnit* copy = nullptr;
    EXPECT_EQ(u.GetType(), 0);
    EXPECT_EQ(u.GetLength(), 0.0);
    EXPECT_EQ(u.GetCentre(), x_Vector(0, 0, 0));
    EXPECT_EQ(u.GetStartPoint(), x_Vector(0, 0, 0));
    EXPECT_EQ(u.DistanceTo(p, 0, 0, 1.0), 1e10);
    EXPECT_EQ(u.NearestPoint(out, p, 1, &d), x_Vector(0, 0, 0));
    EXPECT_EQ(d, 1e10);
    EXPECT_FALSE(u.Copy(0, copy));
    EXPECT_EQ(copy, nullptr);
    EXPECT_FALSE(u.Scale({0, 0}, {2, 2}));
    EXPECT_EQ(u.HitTestGrip(p), 0);
    u.role = 3;
    EXPECT_TRUE(u.IsOnPath());
    u.role = 5;
    EXPECT_FALSE(u.IsOnPath());
}

TEST_F(Unit, DrawColourRule)
{
    const COLORREF own = RGB(10, 20, 30);
    struct Case {
        const char* name;
        DrawRule rule;
        int role, lineStyle;
        std::uint8_t selected, highlighted, panel;
        COLORREF colour;
        int style;
    };
    const Case kCases[] = {
        {"selected wins over highlighted", DrawRule::curve, 0, 0, 1, 1, 0, RGB(255, 0, 0), 2},
        {"highlighted keeps own style", DrawRule::curve, 0, 1, 0, 1, 0, RGB(0, 128, 255), 1},
        {"lead line: complement", DrawRule::line, 1, 0, 0, 0, 0, RGB(75, 205, 255), 2},
        {"gear handle", DrawRule::curve, 2, 0, 0, 0, 0, RGB(255, 0, 255), 2},
        {"derived line piece", DrawRule::line, 3, 1, 0, 0, 0, RGB(0, 128, 255), 2},
        {"derived curve piece", DrawRule::curve, 3, 1, 0, 0, 0, RGB(255, 0, 255), 1},
        {"own colour", DrawRule::curve, 0, 1, 0, 0, 0, own, 1},
        {"property panel: own colour", DrawRule::curve, 0, 0, 1, 0, 1, own, 2},
        {"property panel: own dotted", DrawRule::curve, 3, 2, 0, 0, 1, own, 2},
        {"annotation ignores highlight", DrawRule::annotation, 5, 0, 0, 1, 0, own, 0},
        {"style 7 drawn solid", DrawRule::curve, 0, 7, 0, 0, 0, own, 0},
        {"negative style from a file drawn solid", DrawRule::curve, 0, -3, 0, 0, 0, own, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CUnit u;
        u.colour = own;
        u.role = c.role;
        u.lineStyle = c.lineStyle;
        u.selected = c.selected;
        u.highlighted = c.highlighted;
        g_PropertyPanelShown = c.panel;
        const UnitDrawStyle s = u.ChooseDrawStyle(c.rule);
        EXPECT_EQ(s.colour, c.colour);
        EXPECT_EQ(s.lineStyle, c.style);
        if (c.lineStyle < 0 || c.lineStyle > 2) {
            EXPECT_EQ(u.lineStyle, 0);          // written back
        }
    }
    g_PropertyPanelShown = 0;
    CUnit dashed;
    dashed.lineStyle = 1;
    dashed.dashDot = 1;
    EXPECT_EQ(dashed.ChooseDrawStyle(DrawRule::curve).rasterPattern, 3);
    dashed.dashDot = 0;
    EXPECT_EQ(dashed.ChooseDrawStyle(DrawRule::curve).rasterPattern, 1);
}

TEST_F(Unit, DocumentRecordDeleteAtChecksTheIndex)
{
    CUnitDocument doc;
    CUnit a, b;
    EXPECT_EQ(doc.AppendUnit(&a), 0);
    EXPECT_EQ(doc.AppendUnit(&b), 1);
    doc.RecordDeleteAt(1);
    doc.RecordDeleteAt(2);
    doc.RecordDeleteAt(-1);
    EXPECT_EQ(a.deleted, 0);
    EXPECT_EQ(b.deleted, 1);
    doc.m_unitList.RemoveAll();
}

} // namespace

// Units without clicks share their input points; the record's bytes come
// back unchanged either way, a -0.0 included.
TEST_F(Unit, InputPointsTakeStorageOnlyForClicks)
{
    CUnit fresh;
    EXPECT_FALSE(fresh.inputPoints.HasOwnStorage());
    EXPECT_EQ(std::as_const(fresh).inputPoints[3], x_Vector(0, 0, 0));

    auto unclicked = kRecord;
    std::fill(unclicked.begin(), unclicked.begin() + 64, 0);
    auto negativeZero = unclicked;
    negativeZero[7] = 0x80;                // inputPoints[0].x = -0.0
    const struct { const char* name; Bytes record; bool own; } kCases[] = {
        {"all (0, 0)", unclicked, false},
        {"a -0.0", negativeZero, true},
        {"clicks", kRecord, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CUnit unit;
        LoadBytes(c.record, [&](CArchive& ar) { unit.Serialize(ar); });
        EXPECT_EQ(unit.inputPoints.HasOwnStorage(), c.own);
        EXPECT_EQ(std::as_const(unit).inputPoints[1].valid, 1);
        EXPECT_EQ(StoreBytes([&](CArchive& ar) { unit.Serialize(ar); }), c.record);
    }
    // A unit with points of its own takes the next record's into them.
    CUnit reread;
    LoadBytes(negativeZero, [&](CArchive& ar) { reread.Serialize(ar); });
    LoadBytes(kRecord, [&](CArchive& ar) { reread.Serialize(ar); });
    EXPECT_EQ(std::as_const(reread).inputPoints[0], x_Vector(1.5, -2));
    EXPECT_EQ(std::as_const(reread).inputPoints[2], x_Vector(-2, 1.5));
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { reread.Serialize(ar); }), kRecord);

    CUnit source, target;
    source.inputPoints[1] = x_Vector(4, 5);
    source.CopyCommonAttributes(&target);
    source.inputPoints[1].x = 6;
    EXPECT_EQ(target.inputPoints[1], x_Vector(4, 5));
    target.ResetState();
    EXPECT_FALSE(target.inputPoints.HasOwnStorage());
}

// A frame brings in only a unit's first kFrameBytes: every field it reads
// must lie there, and a unit must not grow past seven cache lines.
TEST_F(Unit, FieldsAFrameReadsLieInItsFirstBytes)
{
    CUnit u;
    const auto* base = reinterpret_cast<const char*>(&u);
    const auto end = [&](const auto& field) {
        return static_cast<std::size_t>(reinterpret_cast<const char*>(&field) - base) + sizeof(field);
    };
    const std::size_t read[] = {end(u.geometry), end(u.workGeometry), end(u.extentMin), end(u.extentMax),
                                end(u.refPoint), end(u.colour), end(u.lineStyle), end(u.listIndex), end(u.role),
                                end(u.group), end(u.pieceOf), end(u.dashDot), end(u.selected), end(u.highlighted),
                                end(u.picked), end(u.hoverShown), end(u.complete), end(u.visible), end(u.deleted),
                                end(u.gripsValid), end(u.gripsPending)};
    for (std::size_t e : read)
        EXPECT_LE(e, CUnit::kFrameBytes);
    EXPECT_EQ(end(u.gripsPending), *std::max_element(std::begin(read), std::end(read)));
    EXPECT_LE(sizeof(CUnit), 448u);
}
