#pragma once

// The machining and path settings block: one raw 1776-byte record that the
// path dialogs write, the path engine reads and the settings file stores
// byte for byte. Every gap is a named reserved stretch, so the struct has no
// hidden padding and a raw copy carries every byte.

#include <cstddef>
#include <cstdint>

#include "wirepath/CutParams.h"

struct MachiningSettings {
    double compensation;                // 0x000 wire compensation, mm, signed
    double overCut;                     // 0x008
    double thickness;                   // 0x010
    double taperAngle;                  // 0x018 degrees, [-90, 90]
    std::int32_t dieStepOn;             // 0x020
    std::uint8_t reserved024[4];
    double dieStepOffset;               // 0x028
    double cutOffPauseDistance;         // 0x030
    std::int32_t pauseBeforeCutOff;     // 0x038
    std::uint8_t reserved03c[4];
    std::int32_t pauseBeforeStep;       // 0x040
    std::int32_t pauseAfterStep;        // 0x044
    std::uint8_t defaultCompSide;       // 0x048
    std::uint8_t multiPass;             // 0x049
    std::uint8_t reserved04a[2];
    std::int32_t passCount;             // 0x04c 1..7
    std::uint8_t reserved050[8];
    double dieWidth;                    // 0x058
    std::uint8_t reserved060[4];
    std::int32_t trimLeadOn;            // 0x064
    double trimLeadLength;              // 0x068
    std::int32_t innerDieSupport;       // 0x070
    std::uint8_t cornerFitArcs;         // 0x074
    std::uint8_t noOffset;              // 0x075
    std::uint8_t cornerLeadDir;         // 0x076
    std::uint8_t reserved077;
    double cornerAngle;                 // 0x078 degrees
    double cornerLeadLength;            // 0x080
    std::int32_t cornerPause;           // 0x088
    std::uint8_t reserved08c[4];
    double cornerPauseSeconds;          // 0x090
    std::int32_t cornerCuts[7];         // 0x098
    std::int32_t cornerArcAtInnerEntry; // 0x0b4
    std::uint8_t path3dStyle;           // 0x0b8
    std::uint8_t reserved0b9[3];
    std::int32_t path3dLineCount;       // 0x0bc
    std::uint8_t path3dNonTaper;        // 0x0c0
    std::uint8_t reserved0c1[0x108 - 0xc1];
    CutParams passCuts[7];              // 0x108 working multi-pass list
    std::uint8_t reserved220[4];
    std::int32_t fixedRadiusCorners;    // 0x224
    std::int32_t invertedTaper;         // 0x228
    std::int32_t orthoOn;               // 0x22c
    std::int32_t polarOn;               // 0x230
    std::int32_t snapOn;                // 0x234
    std::int32_t modifyOn;              // 0x238
    std::int32_t lockOn;                // 0x23c
    std::int32_t endpointOn;            // 0x240
    std::int32_t polygonSides;          // 0x244
    double wavePeak;                    // 0x248
    double filletRadius;                // 0x250
    double chamferDist1;                // 0x258
    double chamferDist2;                // 0x260
    std::int32_t syncByCentre;          // 0x268
    std::uint8_t pauseAtWireChange;     // 0x26c
    std::uint8_t crossHair;             // 0x26d
    std::uint8_t batchFirstCorner;      // 0x26e
    std::uint8_t batchReverse;          // 0x26f
    double batchLeadAngle;              // 0x270 radians, [0, 2*pi]
    double batchLeadLength;             // 0x278
    std::uint8_t batchOuter;            // 0x280
    std::uint8_t batchVertical;         // 0x281
    std::uint8_t reserved282[6];
    double shapeOffset;                 // 0x288
    std::uint8_t paletteButtonStyle;    // 0x290
    std::uint8_t reserved291[7];
    double costThickness;               // 0x298
    double costUnitPrice;               // 0x2a0
    std::uint8_t batchMode;             // 0x2a8
    std::uint8_t batchReturnToThread;   // 0x2a9
    std::uint8_t reserved2aa[2];
    std::int32_t pauseAfterFirstCut;    // 0x2ac
    double batchOffset1;                // 0x2b0
    double batchOffset2;                // 0x2b8
    std::int32_t batchPauseAfterFirst;  // 0x2c0
    std::uint8_t reserved2c4[4];
    double compRadiusAtLeast;           // 0x2c8
    double compRadiusBelow;             // 0x2d0
    double compValueLarge;              // 0x2d8
    double compValueSmall;              // 0x2e0
    CutParams passTables[3][7];         // 0x2e8 coding versions 0, 1, 2
    CutParams lastSingleCuts[3];        // 0x630 coding versions 0, 1, 2
    std::uint8_t codingMode;            // 0x6a8 10, 11, 0, 1, 2
    std::uint8_t endAfterCutOff;        // 0x6a9
    std::uint8_t reserved6aa;
    std::uint8_t rightClickMenu;        // 0x6ab
    std::uint8_t reserved6ac[4];
    double wearRatio;                   // 0x6b0
    std::uint8_t reserved6b8[8];
    std::uint8_t wearAutoSplit;         // 0x6c0
    std::uint8_t reserved6c1[7];
    double inclineAngleX;               // 0x6c8
    double inclineAngleY;               // 0x6d0
    std::uint8_t inclineSwapSurfaces;   // 0x6d8
    std::uint8_t wireChangeBeforeDie;   // 0x6d9
    std::uint8_t reserved6da[6];
    double wireChangeDistance;          // 0x6e0
    std::uint8_t inclineEntryFirst;     // 0x6e8
    std::uint8_t inclineAsDistances;    // 0x6e9
    std::uint8_t pauseAfterIncline;     // 0x6ea
    std::uint8_t taperUsesIncline;      // 0x6eb
    std::uint8_t profileUsesIncline;    // 0x6ec
    std::uint8_t varTaperUsesIncline;   // 0x6ed
    std::uint8_t profileNoMerge;        // 0x6ee
    std::uint8_t reserved6ef;
};
static_assert(sizeof(MachiningSettings) == 1776);
static_assert(offsetof(MachiningSettings, passCount) == 0x04c);
static_assert(offsetof(MachiningSettings, dieWidth) == 0x058);
static_assert(offsetof(MachiningSettings, cornerAngle) == 0x078);
static_assert(offsetof(MachiningSettings, cornerCuts) == 0x098);
static_assert(offsetof(MachiningSettings, path3dNonTaper) == 0x0c0);
static_assert(offsetof(MachiningSettings, passCuts) == 0x108);
static_assert(offsetof(MachiningSettings, fixedRadiusCorners) == 0x224);
static_assert(offsetof(MachiningSettings, polygonSides) == 0x244);
static_assert(offsetof(MachiningSettings, syncByCentre) == 0x268);
static_assert(offsetof(MachiningSettings, batchLeadAngle) == 0x270);
static_assert(offsetof(MachiningSettings, shapeOffset) == 0x288);
static_assert(offsetof(MachiningSettings, batchMode) == 0x2a8);
static_assert(offsetof(MachiningSettings, compRadiusAtLeast) == 0x2c8);
static_assert(offsetof(MachiningSettings, passTables) == 0x2e8);
static_assert(offsetof(MachiningSettings, lastSingleCuts) == 0x630);
static_assert(offsetof(MachiningSettings, codingMode) == 0x6a8);
static_assert(offsetof(MachiningSettings, rightClickMenu) == 0x6ab);
static_assert(offsetof(MachiningSettings, wearRatio) == 0x6b0);
static_assert(offsetof(MachiningSettings, wearAutoSplit) == 0x6c0);
static_assert(offsetof(MachiningSettings, inclineAngleX) == 0x6c8);
static_assert(offsetof(MachiningSettings, wireChangeDistance) == 0x6e0);
static_assert(offsetof(MachiningSettings, profileNoMerge) == 0x6ee);

// Coding versions of the machine (codingMode).
enum CodingMode : std::uint8_t {
    kCodingHfGroup = 0,
    kCodingHfClass2 = 1,
    kCodingHfClass4 = 2,
    kCodingFastWire = 10,
    kCodingMidWireHl = 11,
};
// The coding version the dialogs and path building act on: a stored value
// that names no version (a damaged settings file) counts as fast wire.
std::uint8_t KnownCodingMode(std::uint8_t stored);

// Clears all 1776 bytes and stores the factory values of every field but
// the cut tables, which stay zero.
void SetFactoryMachiningSettings(MachiningSettings& block);
// Stores the factory cut tables (passCuts, passTables, lastSingleCuts) field
// by field; every other byte keeps its value.
void SetFactoryCutTables(MachiningSettings& block);
// The factory single-pass parameters: pulse width 35, interval 8, choice 6.
void SetFactoryCutParams(CutParams& cut);

// Writer invariants of the block.
// Taper and incline angles: clamped to [-90, 90].
double ClampAngle90(double degrees);
// Batch lead angle typed in degrees: radians clamped to [0, 2*pi].
double BatchLeadAngleFromDegrees(double degrees);
// Batch lead length: never negative.
double ClampBatchLeadLength(double length);
// Every path holds seven cuts: a pass count is brought into 1..7 wherever
// one is taken (dialogs, the settings file, a process record).
constexpr std::int32_t kMaxPassCount = 7;
std::int32_t ClampPassCount(std::int32_t count);
// Multi-pass dialog's OK: corner angle into [0, 179].
double ClampCornerAngle(double degrees);
// Choice bytes and track value as a dialog of the coding version shows them:
// out-of-range values become 0, a track value above 1000 becomes 1000.
void ClampCutChoices(CutParams& cut, std::uint8_t codingMode);
