#include "wirepath/CutParams.h"

#include "tests/support/archive_bytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

CutParams Sample()
{
    CutParams c;
    std::memset(&c, 0xAA, sizeof(c));   // padding must not travel
    c.allowance = 1.5;
    c.pulseWidth = 0x0123;
    c.pulseInterval = 0x45;
    c.groupWidthOrCurrent = 0x67;
    c.groupIntervalOrVoltage = 0x89;
    c.trackValueX10 = 1000;
    c.speedLimit = 0x0100;
    c.groupPulse = 2;
    c.stepPulse = 3;
    c.repeatTime = 4;
    c.wireSpeed = 5;
    c.reservedWord = 0xBEEF;
    for (int i = 0; i < 6; ++i)
        c.choice[i] = static_cast<std::uint8_t>(i + 1);
    return c;
}

} // namespace

TEST(CutParams, ArchiveFormIs33BytesInFieldOrder)
{
    auto bytes = StoreBytes([](CArchive& ar) { StoreCutParams(ar, Sample()); });
    EXPECT_EQ(bytes, Hex("00 00 00 00 00 00 f8 3f  23 01  45  67  89  e8 03  00 01  02 00  03 00  "
                         "04 00  05 00  ef be  01 02 03 04 05 06"));
}

TEST(CutParams, LoadReadsEveryFieldAndLeavesPaddingAlone)
{
    auto bytes = StoreBytes([](CArchive& ar) { StoreCutParams(ar, Sample()); });
    CutParams back;
    std::memset(&back, 0x11, sizeof(back));
    LoadBytes(bytes, [&](CArchive& ar) { LoadCutParams(ar, back); });
    CutParams want = Sample();
    EXPECT_EQ(back.allowance, 1.5);
    EXPECT_EQ(back.trackValueX10, 1000);
    EXPECT_EQ(back.reservedWord, 0xBEEF);
    EXPECT_EQ(std::memcmp(back.choice, want.choice, 6), 0);
    EXPECT_EQ(back.pad13, 0x11);
    EXPECT_EQ(back.pad34[5], 0x11);
}

TEST(CutParams, ShortArchiveRaisesEndOfFile)
{
    auto bytes = StoreBytes([](CArchive& ar) { StoreCutParams(ar, Sample()); });
    bytes.resize(32);
    CutParams back{};
    try {
        LoadBytes(bytes, [&](CArchive& ar) { LoadCutParams(ar, back); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}
