#include "wirepath/PathSettings.h"

#include "app/MachiningSettings.h"

PathSettings PathSettingsFrom(const MachiningSettings& m, const CutParams& cut, std::uint8_t cutMode)
{
    PathSettings s;
    s.cutMode = cutMode;
    s.compensation = m.compensation;
    s.overCut = m.overCut;
    s.thickness = m.thickness;
    s.taperAngle = m.taperAngle;
    s.multiPass = m.multiPass != 0;
    s.passCount = ClampPassCount(m.passCount);
    s.noOffset = m.noOffset != 0;
    s.pauseDistance = m.cutOffPauseDistance;
    s.pauseBeforeCutOff = m.pauseBeforeCutOff != 0;
    s.splineArcFit = m.cornerFitArcs == 1;
    s.invertedTaper = m.invertedTaper != 0;
    s.endAtCutOff = m.endAfterCutOff != 0;
    s.inclineX = m.inclineAngleX;
    s.inclineY = m.inclineAngleY;
    s.inclineOnLower = m.inclineSwapSurfaces != 0;
    s.inclineMoves = m.inclineEntryFirst != 0;
    s.inclineAsDistance = m.inclineAsDistances != 0;
    s.inclinePause = m.pauseAfterIncline != 0;
    s.taperUseIncline = m.taperUsesIncline != 0;
    s.varTaperUseIncline = m.varTaperUsesIncline != 0;
    s.clearCornerAngle = m.cornerAngle;
    s.clearCornerLeadLength = m.cornerLeadLength;
    s.clearCornerLeadDir = m.cornerLeadDir;
    s.twoProfileByAngle = m.syncByCentre != 0;
    s.cut = cut;
    return s;
}
