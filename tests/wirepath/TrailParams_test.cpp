#include <cstring>

#include <gtest/gtest.h>

#include "tests/support/archive_bytes.h"
#include "wirepath/TrailParams.h"
#include "wirepath/x_TrailData_Work.h"

namespace {

double DoubleAt(const Bytes& b, size_t at)
{
    double v;
    std::memcpy(&v, b.data() + at, 8);
    return v;
}

std::int32_t IntAt(const Bytes& b, size_t at)
{
    std::int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

} // namespace

TEST(TrailParams, ArchiveFormHas599BytesAtTheirOffsets)
{
    TrailParams p;
    ClearTrailParams(p);
    p.multiPass = 1;
    p.sequence = 0x01020304;
    p.surfaceCount = 2;
    p.cutCount = 7;
    p.reserved2 = 9.5;
    p.closedCut = 1;
    p.compensation = -0.1;
    p.cutMode = 3;
    p.taperAngle = 1.5;
    p.thickness = 20.0;
    p.overCut = 1.0;
    p.threadPoint[0] = x_Vector(1, 2);
    p.threadPoint[1] = x_Vector(3, 4);
    p.boxMin[1] = x_Vector(-5, -6);
    p.boxMax[0] = x_Vector(7, 8);
    p.length[1] = 70.6;
    p.lengthNoLead[0] = 61.0;
    p.cutLength[1] = 60.8;
    p.drawMax = x_Vector(11, 12);
    p.reserved5a = 0xAB;
    p.reserved5b = 0x11223344;
    p.cuts[0].allowance = 0.25;
    p.cuts[0].pulseWidth = 0x3322;
    p.cuts[0].trackValueX10 = 0x5544;
    p.cuts[0].choice[5] = 0x66;
    p.cuts[6].speedLimit = 0x7788;
    p.reserved6[3] = 4.5;
    p.reserved8[3] = -9;
    const Bytes b = Stored([&](CArchive& ar) { StoreTrailParams(ar, p); });
    ASSERT_EQ(b.size(), 599u);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(IntAt(b, 1), 0x01020304);
    EXPECT_EQ(b[6], 2);
    EXPECT_EQ(IntAt(b, 7), 7);
    EXPECT_EQ(DoubleAt(b, 11), 9.5);
    EXPECT_EQ(b[19], 1);
    EXPECT_EQ(DoubleAt(b, 20), -0.1);
    EXPECT_EQ(b[36], 3);
    EXPECT_EQ(DoubleAt(b, 37), 1.5);
    EXPECT_EQ(DoubleAt(b, 45), 20.0);
    EXPECT_EQ(DoubleAt(b, 53), 1.0);
    EXPECT_EQ(DoubleAt(b, 107), 1.0);
    EXPECT_EQ(DoubleAt(b, 115), 2.0);
    EXPECT_EQ(DoubleAt(b, 123), 3.0);
    EXPECT_EQ(DoubleAt(b, 155), -5.0);
    EXPECT_EQ(DoubleAt(b, 171), 7.0);
    EXPECT_EQ(DoubleAt(b, 211), 70.6);
    EXPECT_EQ(DoubleAt(b, 219), 61.0);
    EXPECT_EQ(DoubleAt(b, 243), 60.8);
    EXPECT_EQ(DoubleAt(b, 267), 11.0);
    EXPECT_EQ(b[283], 0xAB);
    EXPECT_EQ(IntAt(b, 284), 0x11223344);
    EXPECT_EQ(DoubleAt(b, 288), 0.25);
    EXPECT_EQ(b[296], 0x22);
    EXPECT_EQ(b[297], 0x33);
    EXPECT_EQ(b[301], 0x44);
    EXPECT_EQ(b[302], 0x55);
    EXPECT_EQ(b[288 + 32], 0x66);
    EXPECT_EQ(b[486 + 15], 0x88);
    EXPECT_EQ(b[486 + 16], 0x77);
    EXPECT_EQ(DoubleAt(b, 519 + 24), 4.5);
    EXPECT_EQ(DoubleAt(b, 551 + 24), 4.5);
    EXPECT_EQ(IntAt(b, 595), -9);
    // Everything not set above is zero, padding and reserved fields included.
    int nonZero = 0;
    for (uint8_t byte : b)
        nonZero += byte != 0;
    EXPECT_LT(nonZero, 110);
}

TEST(TrailParams, LoadKeepsValuesSetsPointsValidAndReadsClosedAsOneBit)
{
    TrailParams p;
    ClearTrailParams(p);
    p.compensation = 0.15;
    p.boxMin[0] = x_Vector(-1, -2, 0);
    p.cuts[2].wireSpeed = 4;
    p.reserved7[0] = 9;
    Bytes b = Stored([&](CArchive& ar) { StoreTrailParams(ar, p); });
    b[19] = 2;
    // Two different copies of the reserved doubles: the second is kept.
    const double first = 1.0, second = 2.0;
    std::memcpy(b.data() + 519, &first, 8);
    std::memcpy(b.data() + 551, &second, 8);
    TrailParams q;
    q.reserved7[0] = 5;
    Loaded(b, [&](CArchive& ar) { LoadTrailParams(ar, q); });
    EXPECT_EQ(q.closedCut, 1);
    EXPECT_EQ(q.compensation, 0.15);
    EXPECT_EQ(q.boxMin[0].x, -1.0);
    EXPECT_EQ(q.boxMin[0].valid, 1);
    EXPECT_EQ(q.drawMin.valid, 1);
    EXPECT_EQ(q.cuts[2].wireSpeed, 4);
    EXPECT_EQ(q.reserved6[0], 2.0);
    EXPECT_EQ(q.reserved7[0], 5);
}

TEST(TrailParams, WrongArchiveDirectionAndEarlyEndRaise)
{
    TrailParams p;
    Bytes b = Stored([&](CArchive& ar) { StoreTrailParams(ar, p); });
    EXPECT_THROW(Loaded(b, [&](CArchive& ar) { StoreTrailParams(ar, p); }), CArchiveException);
    EXPECT_THROW(Stored([&](CArchive& ar) { LoadTrailParams(ar, p); }), CArchiveException);
    b.resize(598);
    EXPECT_THROW(Loaded(b, [&](CArchive& ar) { LoadTrailParams(ar, p); }), CArchiveException);
}

TEST(x_TrailData_Work, InitialiserLeavesTheLeadingWord)
{
    x_TrailData_Work r;
    std::memset(static_cast<void*>(&r), 0xEE, sizeof r);
    InitTrailDataWork(r);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&r);
    EXPECT_EQ(bytes[0], 0xEE);
    EXPECT_EQ(bytes[3], 0xEE);
    EXPECT_EQ(bytes[4], 0);
    EXPECT_EQ(bytes[5], 1);
    for (int at = 8; at < 17; ++at)
        EXPECT_EQ(bytes[at], 0) << at;
    for (const x_Vector& p : r.points)
        EXPECT_EQ(p, x_Vector(0.0, 0.0, 1));
}
