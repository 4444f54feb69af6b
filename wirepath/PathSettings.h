#pragma once

// What path generation reads of the machining settings, copied once when a
// request starts, so the worker never reads the block the dialogs write.

#include <cstdint>

#include "wirepath/CutParams.h"

struct MachiningSettings;

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

    // One test everywhere: a pass count of 1 is a single pass.
    bool IsMultiPass() const { return multiPass && passCount != 1; }
    bool InclineShiftsUpper() const
    {
        return cutMode == 4 || (cutMode == 1 && taperUseIncline) || (cutMode == 3 && varTaperUseIncline);
    }
};

PathSettings PathSettingsFrom(const MachiningSettings& block, const CutParams& cut, std::uint8_t cutMode);
