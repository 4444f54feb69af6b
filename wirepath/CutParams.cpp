#include "wirepath/CutParams.h"

#include "platform/core/CArchive.h"

void StoreCutParams(CArchive& ar, const CutParams& cut)
{
    ar << cut.allowance << cut.pulseWidth << cut.pulseInterval << cut.groupWidthOrCurrent
       << cut.groupIntervalOrVoltage << cut.trackValueX10 << cut.speedLimit << cut.groupPulse
       << cut.stepPulse << cut.repeatTime << cut.wireSpeed << cut.reservedWord;
    ar.Write(cut.choice, sizeof(cut.choice));
}

void LoadCutParams(CArchive& ar, CutParams& cut)
{
    ar >> cut.allowance >> cut.pulseWidth >> cut.pulseInterval >> cut.groupWidthOrCurrent
       >> cut.groupIntervalOrVoltage >> cut.trackValueX10 >> cut.speedLimit >> cut.groupPulse
       >> cut.stepPulse >> cut.repeatTime >> cut.wireSpeed >> cut.reservedWord;
    ar.ReadExact(cut.choice, sizeof(cut.choice));
}
