#include "paths/path_settings_from.h"

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
    s.passes = PassSettingsFrom(m);
    return s;
}

PassSettings PassSettingsFrom(const MachiningSettings& m)
{
    PassSettings p;
    p.passCount = m.passCount;
    p.dieWidth = m.dieWidth;
    p.innerDieSupport = m.innerDieSupport;
    p.dieStepOn = m.dieStepOn;
    p.dieStepOffset = m.dieStepOffset;
    p.trimLeadOn = m.trimLeadOn;
    p.trimLeadLength = m.trimLeadLength;
    for (int k = 0; k < 7; ++k) {
        p.cornerCuts[k] = m.cornerCuts[k];
        p.passCuts[k] = m.passCuts[k];
    }
    p.pauseBeforeCutOff = m.pauseBeforeCutOff;
    p.cutOffPauseDistance = m.cutOffPauseDistance;
    p.pauseBeforeStep = m.pauseBeforeStep;
    p.pauseAfterStep = m.pauseAfterStep;
    p.pauseAfterFirstCut = m.pauseAfterFirstCut;
    p.fastWireCoding = KnownCodingMode(m.codingMode) == kCodingFastWire;
    p.pauseAtWireChange = m.pauseAtWireChange;
    p.wireChangeBeforeDie = m.wireChangeBeforeDie;
    p.wireChangeDistance = m.wireChangeDistance;
    p.endAfterCutOff = m.endAfterCutOff;
    p.thickness = m.thickness;
    p.inclineAngleX = m.inclineAngleX;
    p.inclineAngleY = m.inclineAngleY;
    p.inclineAsDistances = m.inclineAsDistances;
    p.inclineSwapSurfaces = m.inclineSwapSurfaces;
    p.inclineEntryFirst = m.inclineEntryFirst;
    p.pauseAfterIncline = m.pauseAfterIncline;
    p.taperUsesIncline = m.taperUsesIncline;
    p.varTaperUsesIncline = m.varTaperUsesIncline;
    p.profileUsesIncline = m.profileUsesIncline;
    p.profileNoMerge = m.profileNoMerge;
    p.multiPass = m.multiPass;
    return p;
}
