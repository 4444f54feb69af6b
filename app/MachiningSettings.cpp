#include "app/MachiningSettings.h"

#include <cstring>

namespace {

struct CutRow {
    double allowance;
    std::uint16_t pulseWidth;
    std::uint8_t pulseInterval;
    std::uint8_t current;
    std::uint8_t voltage;
    std::uint16_t track;
    std::uint16_t speedLimit;
    std::uint16_t wireSpeed;
    std::uint8_t choice[4];
};

void StoreRow(CutParams& cut, const CutRow& row)
{
    cut.allowance = row.allowance;
    cut.pulseWidth = row.pulseWidth;
    cut.pulseInterval = row.pulseInterval;
    cut.groupWidthOrCurrent = row.current;
    cut.groupIntervalOrVoltage = row.voltage;
    cut.trackValueX10 = row.track;
    cut.speedLimit = row.speedLimit;
    cut.groupPulse = 0;
    cut.stepPulse = 0;
    cut.repeatTime = 0;
    cut.wireSpeed = row.wireSpeed;
    cut.reservedWord = 0;
    for (int i = 0; i < 4; ++i)
        cut.choice[i] = row.choice[i];
    cut.choice[4] = 0;
    cut.choice[5] = 0;
}

void StoreRows(CutParams* cuts, const CutRow (&rows)[7])
{
    for (int k = 0; k < 7; ++k)
        StoreRow(cuts[k], rows[k]);
}

// Mid-wire HL, the working multi-pass list.
constexpr CutRow kPassCuts[7] = {
    {0.06, 35, 8, 0, 0, 920, 250, 0, {13, 0, 0, 0}},
    {0.02, 15, 8, 0, 0, 900, 100, 0, {4, 4, 0, 0}},
    {0.0, 8, 8, 0, 0, 880, 80, 0, {3, 6, 0, 0}},
    {0.0, 6, 8, 0, 0, 0, 0, 0, {3, 6, 0, 0}},
    {0.0, 5, 8, 0, 0, 0, 0, 0, {3, 6, 0, 0}},
    {0.0, 4, 8, 0, 0, 0, 0, 0, {3, 6, 0, 0}},
    {0.0, 3, 8, 0, 0, 0, 0, 0, {3, 6, 0, 0}},
};

// HF group number in choice[0].
constexpr CutRow kGroupTable[7] = {
    {0.06, 0, 0, 0, 0, 920, 256, 0, {6, 0, 0, 0}},
    {0.02, 0, 0, 0, 0, 920, 256, 0, {5, 0, 0, 0}},
    {0.0, 0, 0, 0, 0, 920, 200, 0, {4, 0, 0, 0}},
    {0.0, 0, 0, 0, 0, 0, 0, 0, {4, 0, 0, 0}},
    {0.0, 0, 0, 0, 0, 0, 0, 0, {4, 0, 0, 0}},
    {0.0, 0, 0, 0, 0, 0, 0, 0, {4, 0, 0, 0}},
    {0.0, 0, 0, 0, 0, 0, 0, 0, {4, 0, 0, 0}},
};

// HF class-2: four index choices.
constexpr CutRow kClass2Table[7] = {
    {0.06, 0, 0, 0, 0, 920, 256, 0, {13, 6, 12, 14}},
    {0.02, 0, 0, 0, 0, 920, 256, 0, {6, 5, 4, 13}},
    {0.0, 0, 0, 0, 0, 920, 200, 0, {3, 4, 3, 12}},
    {}, {}, {}, {},
};

// HF class-4: pulse, interval, current, voltage and wire speed. The first
// interval is 7 (a value of 12 found elsewhere is not this table's).
constexpr CutRow kClass4Table[7] = {
    {0.06, 40, 7, 5, 0, 920, 256, 1, {0, 0, 0, 0}},
    {0.02, 12, 8, 4, 1, 920, 256, 2, {0, 0, 0, 0}},
    {0.0, 4, 8, 3, 1, 920, 200, 2, {0, 0, 0, 0}},
    {}, {}, {}, {},
};

constexpr CutRow kLastSingle[3] = {
    {0.0, 0, 0, 0, 0, 920, 256, 0, {6, 0, 0, 0}},
    {0.0, 0, 0, 0, 0, 920, 256, 0, {13, 6, 12, 14}},
    {0.0, 40, 7, 5, 0, 920, 256, 1, {0, 0, 0, 0}},
};

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegToRad = 0.017453292519943295;

} // namespace

void SetFactoryMachiningSettings(MachiningSettings& m)
{
    std::memset(&m, 0, sizeof(m));
    m.compensation = 0.1;
    m.thickness = 20.0;
    m.taperAngle = 2.0;
    m.dieStepOn = 1;
    m.passCount = 3;
    m.dieWidth = 2.0;
    m.trimLeadLength = 0.1;
    m.cornerLeadDir = 1;
    m.cornerAngle = 150.0;
    m.cornerPauseSeconds = 2.0;
    m.cornerCuts[0] = 1;
    m.cornerCuts[1] = 1;
    m.path3dLineCount = 120;
    m.path3dNonTaper = 1;
    m.polarOn = 1;
    m.snapOn = 1;
    m.modifyOn = 1;
    m.endpointOn = 1;
    m.polygonSides = 6;
    m.wavePeak = 10.0;
    m.filletRadius = 3.0;
    m.chamferDist1 = 3.0;
    m.chamferDist2 = 3.0;
    m.syncByCentre = 1;
    m.batchLeadLength = 5.0;
    m.shapeOffset = 5.0;
    m.compRadiusAtLeast = 50.0;
    m.compValueLarge = 0.1;
    m.codingMode = kCodingFastWire;
    m.rightClickMenu = 1;
    m.wearRatio = 150000.0;
    m.wearAutoSplit = 1;
    m.inclineEntryFirst = 1;
    m.pauseAfterIncline = 1;
}

void SetFactoryCutTables(MachiningSettings& m)
{
    StoreRows(m.passCuts, kPassCuts);
    StoreRows(m.passTables[0], kGroupTable);
    StoreRows(m.passTables[1], kClass2Table);
    StoreRows(m.passTables[2], kClass4Table);
    for (int v = 0; v < 3; ++v)
        StoreRow(m.lastSingleCuts[v], kLastSingle[v]);
}

void SetFactoryCutParams(CutParams& cut)
{
    StoreRow(cut, CutRow{0.0, 35, 8, 0, 0, 0, 0, 0, {6, 0, 0, 0}});
}

double ClampAngle90(double degrees)
{
    if (degrees > 90.0)
        return 90.0;
    if (degrees < -90.0)
        return -90.0;
    return degrees;
}

double BatchLeadAngleFromDegrees(double degrees)
{
    double radians = degrees * kDegToRad;
    if (radians < 0.0)
        return 0.0;
    if (radians > kTwoPi)
        return kTwoPi;
    return radians;
}

double ClampBatchLeadLength(double length)
{
    return length < 0.0 ? 0.0 : length;
}

std::int32_t ClampPassCount(std::int32_t count)
{
    return count < 1 ? 1 : count > kMaxPassCount ? kMaxPassCount : count;
}

double ClampCornerAngle(double degrees)
{
    if (degrees > 179.0)
        return 179.0;
    if (degrees < 0.0)
        return 0.0;
    return degrees;
}

std::uint8_t KnownCodingMode(std::uint8_t stored)
{
    switch (stored) {
    case kCodingHfGroup:
    case kCodingHfClass2:
    case kCodingHfClass4:
    case kCodingMidWireHl:
        return stored;
    default:
        return kCodingFastWire;
    }
}

void ClampCutChoices(CutParams& cut, std::uint8_t codingMode)
{
    auto limit = [&](int index, int max) {
        if (cut.choice[index] > max)
            cut.choice[index] = 0;
    };
    switch (KnownCodingMode(codingMode)) {
    case kCodingMidWireHl:
        limit(0, 14);
        limit(1, 7);
        limit(2, 1);
        break;
    case kCodingHfGroup:
        limit(0, 7);
        break;
    case kCodingHfClass2:
        for (int i = 0; i < 4; ++i)
            limit(i, 15);
        break;
    case kCodingHfClass4:
        for (int i = 0; i < 5; ++i)
            limit(i, 1);
        break;
    default:
        break;
    }
    if (cut.trackValueX10 > 1000)
        cut.trackValueX10 = 1000;
}
