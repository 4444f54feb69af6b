#pragma once

// Raw settings blocks that the settings file carries for later subsystems:
// the view block, the taper calculators, the array panel, the command
// creation modes, the file dialogs and the gear and rack pages. Each is read
// and written whole, so its layout here is the file's.

#include <cstddef>
#include <cstdint>

// View block (24 bytes). In memory its fields are separate globals (the
// cut-type choice here, scale and origin in the geometry state); the
// settings file gathers them into this record.
struct ViewBlock {
    std::int32_t cutTypeIndex;          // 0..4
    std::int32_t reserved;              // kept with the block
    double viewScale;                   // pixels per mm
    std::int32_t viewOriginX;
    std::int32_t viewOriginY;
};
static_assert(sizeof(ViewBlock) == 24);
static_assert(offsetof(ViewBlock, viewScale) == 8);
static_assert(offsetof(ViewBlock, viewOriginY) == 20);

// Taper machine-geometry calculators: 26 doubles, lengths in mm, angles in
// degrees; factory all 0.
struct CalcInputs {
    double p1Height1, p1Height2, p1TaperAngle, p1LowerDia, p1MeasuredDia, p1ResultH1;
    double p2Height1, p2Height2, p2TaperAngle, p2LowerDia, p2MeasuredDia, p2ResultH2;
    double p3Height1, p3Height2, p3Thickness, p3TaperAngle, p3LowerDia, p3UpperDia;
    double p3MeasuredLowerDia, p3MeasuredUpperDia, p3ResultH1, p3ResultH2;
    double p4Height1, p4SetAngle, p4MeasuredAngle, p4ResultH1;
};
static_assert(sizeof(CalcInputs) == 208);
static_assert(offsetof(CalcInputs, p3Height1) == 96);
static_assert(offsetof(CalcInputs, p4ResultH1) == 200);

// Rectangular and polar array panel (96 bytes).
struct ArraySettings {
    std::int32_t countX;                // 0
    std::int32_t countY;                // 4
    double spacingX;                    // 8
    double spacingY;                    // 16
    std::uint8_t foldRows;              // 24
    std::uint8_t startCorner;           // 25
    std::uint8_t pad26[6];
    double centreX;                     // 32
    double centreY;                     // 40
    double radius;                      // 48
    std::int32_t polarCount;            // 56
    std::uint8_t pad60[4];
    double fillAngle;                   // 64 degrees
    double startAngle;                  // 72 degrees
    std::uint8_t rotateCopies;          // 80
    std::uint8_t reverse;               // 81
    std::uint8_t pad82[6];
    double extraAngle;                  // 88 whole degrees
};
static_assert(sizeof(ArraySettings) == 96);
static_assert(offsetof(ArraySettings, foldRows) == 24);
static_assert(offsetof(ArraySettings, centreX) == 32);
static_assert(offsetof(ArraySettings, polarCount) == 56);
static_assert(offsetof(ArraySettings, fillAngle) == 64);
static_assert(offsetof(ArraySettings, rotateCopies) == 80);
static_assert(offsetof(ArraySettings, extraAngle) == 88);

// Remembered creation mode of the commands 1, 3, 5, 6, 7, 8, 9, 10, 11, 20,
// 15, 16, 17, 18, 19, 23 and 56, one byte each in this order.
constexpr int kCommandModeCount = 17;
struct CommandModes {
    std::uint8_t mode[kCommandModeCount];
};
static_assert(sizeof(CommandModes) == 17);

// The built-in file dialogs (6 bytes).
struct FileDialogBlock {
    std::uint8_t openTypeIndex;         // 0 all, 1 .wcx, 2 DXF, 3 .dat
    std::uint8_t saveTypeIndex;         // 0 drawing, 1 path export
    std::uint8_t kept[2];
    std::uint16_t dialogWord;
};
static_assert(sizeof(FileDialogBlock) == 6);
static_assert(offsetof(FileDialogBlock, dialogWord) == 4);

// Gear page of the gear dialog (56 bytes).
struct GearParams {
    std::int32_t teeth;                 // 0
    std::int32_t moduleIndex;           // 4, -1 for a module not in the list
    std::int32_t alphaIndex;            // 8
    std::int32_t haIndex;               // 12
    std::int32_t cIndex;                // 16
    std::uint8_t internal;              // 20
    std::uint8_t byCount;               // 21
    std::uint8_t tipFilletOn;           // 22
    std::uint8_t rootFilletOn;          // 23
    double reserved24;
    double reserved32;
    double shift;                       // 40
    double startAngle;                  // 48 degrees
};
static_assert(sizeof(GearParams) == 56);
static_assert(offsetof(GearParams, tipFilletOn) == 22);
static_assert(offsetof(GearParams, shift) == 40);
static_assert(offsetof(GearParams, startAngle) == 48);

// Rack page of the gear dialog (48 bytes).
struct RackParams {
    std::int32_t teeth;                 // 0
    std::int32_t moduleIndex;           // 4
    std::int32_t alphaIndex;            // 8
    std::int32_t haIndex;               // 12
    std::int32_t cIndex;                // 16
    std::uint8_t tipFilletOn;           // 20
    std::uint8_t rootFilletOn;          // 21
    std::uint8_t pad22[2];
    double reserved24;
    double reserved32;
    double shift;                       // 40
};
static_assert(sizeof(RackParams) == 48);
static_assert(offsetof(RackParams, tipFilletOn) == 20);
static_assert(offsetof(RackParams, shift) == 40);
