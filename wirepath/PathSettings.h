#pragma once

// What path generation reads of the machining settings, copied once when a
// request starts, so the worker never reads the block the dialogs write.
// The caller fills it (paths/path_settings_from.h); the engine knows no
// settings block.

#include <cstdint>

#include "wirepath/CutParams.h"

// What multi-pass finishing reads: the block's fields under their own names
// and types, so a stored byte reaches the path as it was.
struct PassSettings {
    std::int32_t passCount = 1;         // not clamped here; finishing brings it into 1..7
    double dieWidth = 0.0;
    std::int32_t innerDieSupport = 0;
    std::int32_t dieStepOn = 0;
    double dieStepOffset = 0.0;
    std::int32_t trimLeadOn = 0;
    double trimLeadLength = 0.0;
    std::int32_t cornerCuts[7] = {};
    CutParams passCuts[7] = {};
    std::int32_t pauseBeforeCutOff = 0;
    double cutOffPauseDistance = 0.0;
    std::int32_t pauseBeforeStep = 0;
    std::int32_t pauseAfterStep = 0;
    std::int32_t pauseAfterFirstCut = 0;
    bool fastWireCoding = false;        // the coding version is fast wire
    std::uint8_t pauseAtWireChange = 0;
    std::uint8_t wireChangeBeforeDie = 0;
    double wireChangeDistance = 0.0;
    std::uint8_t endAfterCutOff = 0;
    double thickness = 20.0;
    double inclineAngleX = 0.0;
    double inclineAngleY = 0.0;
    std::uint8_t inclineAsDistances = 0;
    std::uint8_t inclineSwapSurfaces = 0;
    std::uint8_t inclineEntryFirst = 1;
    std::uint8_t pauseAfterIncline = 1;
    std::uint8_t taperUsesIncline = 0;
    std::uint8_t varTaperUsesIncline = 0;
    std::uint8_t profileUsesIncline = 0;
    std::uint8_t profileNoMerge = 0;
    std::uint8_t multiPass = 0;
};

struct PathSettings {
    std::uint8_t cutMode = 0;           // 0 normal, 1 taper, 2 two-profile, 3 variable taper, 4 inclined top
    double compensation = 0.1;          // mm
    double overCut = 0.0;
    double thickness = 20.0;
    double taperAngle = 0.0;            // degrees
    bool multiPass = false;
    std::int32_t passCount = 1;
    bool noOffset = false;
    double pauseDistance = 0.0;         // before cut-off, mm; 0: pause after it
    bool pauseBeforeCutOff = false;
    bool splineArcFit = false;
    bool invertedTaper = false;
    bool endAtCutOff = false;
    double inclineX = 0.0;              // degrees, or mm with inclineAsDistance
    double inclineY = 0.0;
    bool inclineOnLower = false;
    bool inclineMoves = true;
    bool inclineAsDistance = false;
    bool inclinePause = true;
    bool taperUseIncline = false;
    bool varTaperUseIncline = false;
    double clearCornerAngle = 150.0;    // degrees
    double clearCornerLeadLength = 0.0;
    std::uint8_t clearCornerLeadDir = 1;    // 0 extension lines, 1 bisector, 2 automatic
    bool twoProfileByAngle = true;
    std::int32_t singlePassCutCount = 1;
    bool wearCorrection = false;        // chain collection lowers the offset at wear marks
    bool batchContourPick = false;      // per-entity compensation is not applied
    CutParams cut = {};
    PassSettings passes;

    // One test everywhere: a pass count of 1 is a single pass.
    bool IsMultiPass() const { return multiPass && passCount != 1; }
    bool InclineShiftsUpper() const
    {
        return cutMode == 4 || (cutMode == 1 && taperUseIncline) || (cutMode == 3 && varTaperUseIncline);
    }
};
