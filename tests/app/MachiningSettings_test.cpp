#include "app/MachiningSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

enum Kind { f64, i32, u8, u16 };

double Read(const std::uint8_t* bytes, int offset, Kind kind)
{
    switch (kind) {
    case f64: { double v; std::memcpy(&v, bytes + offset, 8); return v; }
    case i32: { std::int32_t v; std::memcpy(&v, bytes + offset, 4); return v; }
    case u16: { std::uint16_t v; std::memcpy(&v, bytes + offset, 2); return v; }
    case u8: return bytes[offset];
    }
    return 0;
}

struct Field {
    const char* name;
    int offset;
    Kind kind;
    double value;
};

// Every non-zero factory value of the block, outside the cut tables.
const Field kFactory[] = {
    {"compensation", 0x000, f64, 0.1},      {"thickness", 0x010, f64, 20.0},
    {"taperAngle", 0x018, f64, 2.0},        {"dieStepOn", 0x020, i32, 1},
    {"passCount", 0x04c, i32, 3},           {"dieWidth", 0x058, f64, 2.0},
    {"trimLeadLength", 0x068, f64, 0.1},    {"cornerLeadDir", 0x076, u8, 1},
    {"cornerAngle", 0x078, f64, 150.0},     {"cornerPauseSeconds", 0x090, f64, 2.0},
    {"cornerCuts[0]", 0x098, i32, 1},       {"cornerCuts[1]", 0x09c, i32, 1},
    {"cornerCuts[2]", 0x0a0, i32, 0},       {"path3dLineCount", 0x0bc, i32, 120},
    {"path3dNonTaper", 0x0c0, u8, 1},       {"orthoOn", 0x22c, i32, 0},
    {"polarOn", 0x230, i32, 1},             {"snapOn", 0x234, i32, 1},
    {"modifyOn", 0x238, i32, 1},            {"lockOn", 0x23c, i32, 0},
    {"endpointOn", 0x240, i32, 1},          {"polygonSides", 0x244, i32, 6},
    {"wavePeak", 0x248, f64, 10.0},         {"filletRadius", 0x250, f64, 3.0},
    {"chamferDist1", 0x258, f64, 3.0},      {"chamferDist2", 0x260, f64, 3.0},
    {"syncByCentre", 0x268, i32, 1},        {"batchLeadLength", 0x278, f64, 5.0},
    {"shapeOffset", 0x288, f64, 5.0},       {"compRadiusAtLeast", 0x2c8, f64, 50.0},
    {"compValueLarge", 0x2d8, f64, 0.1},    {"codingMode", 0x6a8, u8, 10},
    {"rightClickMenu", 0x6ab, u8, 1},       {"wearRatio", 0x6b0, f64, 150000.0},
    {"wearAutoSplit", 0x6c0, u8, 1},        {"inclineEntryFirst", 0x6e8, u8, 1},
    {"pauseAfterIncline", 0x6ea, u8, 1},
};

// Cut records: base offset, then field offsets inside the 40-byte record.
struct Cut {
    const char* name;
    int offset;
    double allowance;
    int pulseWidth, pulseInterval, current, voltage, track, speedLimit, wireSpeed;
    int choice[4];
};

const Cut kCuts[] = {
    {"passCuts 1", 0x108, 0.06, 35, 8, 0, 0, 920, 250, 0, {13, 0, 0, 0}},
    {"passCuts 2", 0x108 + 40, 0.02, 15, 8, 0, 0, 900, 100, 0, {4, 4, 0, 0}},
    {"passCuts 3", 0x108 + 80, 0.0, 8, 8, 0, 0, 880, 80, 0, {3, 6, 0, 0}},
    {"passCuts 7", 0x108 + 240, 0.0, 3, 8, 0, 0, 0, 0, 0, {3, 6, 0, 0}},
    {"group table 1", 0x2e8, 0.06, 0, 0, 0, 0, 920, 256, 0, {6, 0, 0, 0}},
    {"group table 3", 0x2e8 + 80, 0.0, 0, 0, 0, 0, 920, 200, 0, {4, 0, 0, 0}},
    {"group table 7", 0x2e8 + 240, 0.0, 0, 0, 0, 0, 0, 0, 0, {4, 0, 0, 0}},
    {"class-2 table 1", 0x2e8 + 280, 0.06, 0, 0, 0, 0, 920, 256, 0, {13, 6, 12, 14}},
    {"class-2 table 3", 0x2e8 + 280 + 80, 0.0, 0, 0, 0, 0, 920, 200, 0, {3, 4, 3, 12}},
    {"class-2 table 4", 0x2e8 + 280 + 120, 0.0, 0, 0, 0, 0, 0, 0, 0, {0, 0, 0, 0}},
    {"class-4 table 1, interval 7", 0x2e8 + 560, 0.06, 40, 7, 5, 0, 920, 256, 1, {0, 0, 0, 0}},
    {"class-4 table 2", 0x2e8 + 560 + 40, 0.02, 12, 8, 4, 1, 920, 256, 2, {0, 0, 0, 0}},
    {"class-4 table 3", 0x2e8 + 560 + 80, 0.0, 4, 8, 3, 1, 920, 200, 2, {0, 0, 0, 0}},
    {"last single 0", 0x630, 0.0, 0, 0, 0, 0, 920, 256, 0, {6, 0, 0, 0}},
    {"last single 1", 0x630 + 40, 0.0, 0, 0, 0, 0, 920, 256, 0, {13, 6, 12, 14}},
    {"last single 2", 0x630 + 80, 0.0, 40, 7, 5, 0, 920, 256, 1, {0, 0, 0, 0}},
};

void ExpectCut(const std::uint8_t* b, const Cut& c)
{
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Read(b, c.offset + 0, f64), c.allowance);
    EXPECT_EQ(Read(b, c.offset + 8, u16), c.pulseWidth);
    EXPECT_EQ(Read(b, c.offset + 10, u8), c.pulseInterval);
    EXPECT_EQ(Read(b, c.offset + 11, u8), c.current);
    EXPECT_EQ(Read(b, c.offset + 12, u8), c.voltage);
    EXPECT_EQ(Read(b, c.offset + 14, u16), c.track);
    EXPECT_EQ(Read(b, c.offset + 16, u16), c.speedLimit);
    EXPECT_EQ(Read(b, c.offset + 24, u16), c.wireSpeed);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Read(b, c.offset + 28 + i, u8), c.choice[i]) << "choice " << i;
}

} // namespace

TEST(MachiningSettings, FactoryValuesAtTheirOffsets)
{
    MachiningSettings m;
    std::memset(&m, 0xFF, sizeof(m));
    SetFactoryMachiningSettings(m);
    const auto* b = reinterpret_cast<const std::uint8_t*>(&m);
    for (const Field& f : kFactory) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(Read(b, f.offset, f.kind), f.value);
    }
    // Reserved stretches and the cut tables are cleared.
    for (int offset : {0x024, 0x050, 0x060, 0x077, 0x0c1, 0x107, 0x108, 0x220, 0x2e8, 0x630, 0x6aa, 0x6ef})
        EXPECT_EQ(b[offset], 0) << std::hex << offset;
}

TEST(MachiningSettings, FactoryCutTablesByCodingVersion)
{
    MachiningSettings m;
    std::memset(&m, 0, sizeof(m));
    SetFactoryCutTables(m);
    const auto* b = reinterpret_cast<const std::uint8_t*>(&m);
    for (const Cut& c : kCuts)
        ExpectCut(b, c);
}

TEST(MachiningSettings, CutTablesLeaveOtherBytesAlone)
{
    MachiningSettings m;
    std::memset(&m, 0x5A, sizeof(m));
    SetFactoryCutTables(m);
    const auto* b = reinterpret_cast<const std::uint8_t*>(&m);
    EXPECT_EQ(b[0x000], 0x5A);
    EXPECT_EQ(b[0x107], 0x5A);
    EXPECT_EQ(b[0x220], 0x5A);
    EXPECT_EQ(b[0x6a8], 0x5A);
}

TEST(MachiningSettings, FactorySingleCut)
{
    CutParams c;
    std::memset(&c, 0, sizeof(c));
    c.trackValueX10 = 77;
    SetFactoryCutParams(c);
    EXPECT_EQ(c.pulseWidth, 35);
    EXPECT_EQ(c.pulseInterval, 8);
    EXPECT_EQ(c.choice[0], 6);
    EXPECT_EQ(c.trackValueX10, 0);
    EXPECT_EQ(c.allowance, 0.0);
}

TEST(MachiningSettings, WriterInvariants)
{
    EXPECT_EQ(ClampAngle90(91.0), 90.0);
    EXPECT_EQ(ClampAngle90(-95.5), -90.0);
    EXPECT_EQ(ClampAngle90(-12.5), -12.5);
    EXPECT_EQ(BatchLeadAngleFromDegrees(90.0), 1.5707963267948966);
    EXPECT_EQ(BatchLeadAngleFromDegrees(-1.0), 0.0);
    EXPECT_EQ(BatchLeadAngleFromDegrees(400.0), 6.283185307179586);
    EXPECT_EQ(ClampBatchLeadLength(-3.0), 0.0);
    EXPECT_EQ(ClampPassCount(0), 1);
    EXPECT_EQ(ClampPassCount(7), 7);
    EXPECT_EQ(ClampPassCount(8), 7);
    EXPECT_EQ(ClampCornerAngle(180.0), 179.0);
    EXPECT_EQ(ClampCornerAngle(-1.0), 0.0);
}

TEST(MachiningSettings, ChoiceBytesOutOfRangeShowAsZero)
{
    const struct {
        const char* name;
        std::uint8_t mode;
        std::uint8_t in[5];
        std::uint8_t out[5];
    } kCases[] = {
        {"HL", kCodingMidWireHl, {15, 8, 2, 9, 9}, {0, 0, 0, 9, 9}},
        {"HL in range", kCodingMidWireHl, {14, 7, 1, 0, 0}, {14, 7, 1, 0, 0}},
        {"group", kCodingHfGroup, {8, 9, 9, 9, 9}, {0, 9, 9, 9, 9}},
        {"class-2", kCodingHfClass2, {16, 15, 0, 20, 20}, {0, 15, 0, 0, 20}},
        {"class-4", kCodingHfClass4, {2, 1, 0, 5, 1}, {0, 1, 0, 0, 1}},
        {"fast wire", kCodingFastWire, {99, 99, 99, 99, 99}, {99, 99, 99, 99, 99}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CutParams cut{};
        std::memcpy(cut.choice, c.in, 5);
        cut.trackValueX10 = 1001;
        ClampCutChoices(cut, c.mode);
        EXPECT_EQ(std::memcmp(cut.choice, c.out, 5), 0);
        EXPECT_EQ(cut.trackValueX10, 1000);
    }
}
