#pragma once

// Process parameters of one cut (one pass of the wire). Two stored forms:
// the 40-byte in-memory image (padding included) wherever a larger record is
// written raw, and a 33-byte field-by-field archive form inside path records.

#include <cstddef>
#include <cstdint>

class CArchive;

struct CutParams {
    double allowance;                   // mm left for the following cuts
    std::uint16_t pulseWidth;
    std::uint8_t pulseInterval;
    std::uint8_t groupWidthOrCurrent;
    std::uint8_t groupIntervalOrVoltage;
    std::uint8_t pad13;
    std::uint16_t trackValueX10;
    std::uint16_t speedLimit;
    std::uint16_t groupPulse;
    std::uint16_t stepPulse;
    std::uint16_t repeatTime;
    std::uint16_t wireSpeed;
    std::uint16_t reservedWord;         // kept and stored, used by no version
    std::uint8_t choice[6];
    std::uint8_t pad34[6];
};
static_assert(sizeof(CutParams) == 40);
static_assert(offsetof(CutParams, pulseWidth) == 8);
static_assert(offsetof(CutParams, pulseInterval) == 10);
static_assert(offsetof(CutParams, groupIntervalOrVoltage) == 12);
static_assert(offsetof(CutParams, trackValueX10) == 14);
static_assert(offsetof(CutParams, speedLimit) == 16);
static_assert(offsetof(CutParams, wireSpeed) == 24);
static_assert(offsetof(CutParams, reservedWord) == 26);
static_assert(offsetof(CutParams, choice) == 28);
static_assert(offsetof(CutParams, pad34) == 34);

constexpr int kCutParamsArchiveSize = 33;

// The 33-byte archive form; padding is not transported. Storing into a
// loading archive (or the reverse) and an early end raise CArchiveException.
void StoreCutParams(CArchive& ar, const CutParams& cut);
void LoadCutParams(CArchive& ar, CutParams& cut);
