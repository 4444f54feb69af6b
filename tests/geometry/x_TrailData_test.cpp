#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "geometry/x_TrailData.h"
#include "platform/core/exceptions.h"
#include "tests/support/archive_bytes.h"

namespace {

constexpr double kExact = 1e-12;   // hand-worked values; only rounding differs

TEST(x_TrailData, DefaultElementBytes)
{
    std::uint8_t bytes[144];
    x_TrailData().ToBytes(bytes);
    const auto expected = Hex(
        "00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"   // 48: start.valid
        "00 00 00 00 00 00 00 00 01 00 00 00 00 00 00 00"   // 72: end.valid
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "00 00 00 00 00 00 00 00 01 00 00 00 00 00 00 00"   // 104: centre.valid
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    ASSERT_EQ(expected.size(), 144u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 144), expected);
}

TEST(x_TrailData, FieldsAtTheirOffsetsAndPaddingZero)
{
    // Memory full of 0xAB before construction: only padding may keep it.
    alignas(x_TrailData) unsigned char storage[sizeof(x_TrailData)];
    std::memset(storage, 0xAB, sizeof storage);
    x_TrailData* e = new (storage) x_TrailData();
    e->role = 1;
    e->subKind = 2;
    e->group = -10;
    e->tag = 'd';
    e->attribute = 1;
    e->joinMark = 2;
    e->kind = 3;
    e->length = 1.5;
    e->taperAngle = -2.0;
    e->start = {1.5, 0};
    e->end = {0, 1.5};
    e->lineFlag = 1;
    e->centre = {-2.0, 1.5};
    e->radius = 1.5;
    e->startAngle = -2.0;
    e->endAngle = 1.5;
    e->direction = 1;
    e->arcMark = 1;
    std::uint8_t b[144];
    e->ToBytes(b);
    const auto expected = Hex(
        "01 02 00 00 f6 ff ff ff 64 01 02 03 00 00 00 00"
        "00 00 00 00 00 00 f8 3f 00 00 00 00 00 00 00 c0"   // length, taperAngle
        "00 00 00 00 00 00 f8 3f 00 00 00 00 00 00 00 00"   // start
        "01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"   // end.x
        "00 00 00 00 00 00 f8 3f 01 00 00 00 00 00 00 00"
        "01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 c0"   // lineFlag, centre.x
        "00 00 00 00 00 00 f8 3f 01 00 00 00 00 00 00 00"
        "00 00 00 00 00 00 f8 3f 00 00 00 00 00 00 00 c0"   // radius, startAngle
        "00 00 00 00 00 00 f8 3f 01 01 00 00 00 00 00 00"); // endAngle, direction, arcMark
    EXPECT_EQ(std::vector<std::uint8_t>(b, b + 144), expected);

    x_TrailData back;
    back.FromBytes(b);
    EXPECT_EQ(back.taperAngle, -2.0);
    EXPECT_EQ(back.lineFlag, 1);
    EXPECT_EQ(back.arcMark, 1);
    EXPECT_EQ(back.centre, x_Vector(-2.0, 1.5));
    e->~x_TrailData();
}

TEST(x_TrailData, LengthRules)
{
    x_TrailData line;
    line.kind = 1;
    line.start = {0, 0};
    line.end = {3, 4};
    EXPECT_DOUBLE_EQ(line.Length(), 5.0);

    x_TrailData arc;
    arc.kind = 2;
    arc.radius = 2;
    arc.startAngle = 0;
    arc.endAngle = kPi / 2;
    EXPECT_NEAR(arc.Length(), kPi, kExact);
    arc.endAngle = 0;
    EXPECT_NEAR(arc.Length(), 4 * kPi, kExact);         // start = end: full circle
    arc.direction = 1;
    arc.startAngle = kPi / 2;
    EXPECT_NEAR(arc.Length(), kPi, kExact);              // clockwise quarter
    EXPECT_NEAR(arc.StartPoint().y, 2, kExact);
    EXPECT_NEAR(arc.EndPoint().x, 2, kExact);

    x_TrailData empty;
    empty.kind = 5;
    empty.start = {1, 1};
    EXPECT_EQ(empty.Length(), 0.0);
    EXPECT_EQ(empty.StartPoint(), x_Vector(0, 0, 0));
    empty.Reverse();
    std::uint8_t a[144], d[144];
    empty.ToBytes(a);
    x_TrailData().ToBytes(d);
    EXPECT_EQ(0, std::memcmp(a, d, 144));
}

TEST(x_TrailData, ReversalRules)
{
    x_TrailData arc;
    arc.kind = 2;
    arc.direction = 0;
    arc.startAngle = 0.25;
    arc.endAngle = 1.0;
    arc.Reverse();
    EXPECT_EQ(arc.direction, 1);
    EXPECT_EQ(arc.kind, 2);
    EXPECT_EQ(arc.startAngle, 1.0);
    EXPECT_EQ(arc.endAngle, 0.25);
    arc.Reverse();
    EXPECT_EQ(arc.direction, 0);
    EXPECT_EQ(arc.kind, 3);

    x_TrailData line;
    line.kind = 0;
    line.start = {1, 2};
    line.end = {3, 4};
    line.Reverse();
    EXPECT_EQ(line.start, x_Vector(3, 4));
    EXPECT_EQ(line.end, x_Vector(1, 2));
}

TEST(x_TrailData, ListArchiveIsCountThenRecords)
{
    x_TrailDataArray list;
    list.SetSize(2);
    list[1].kind = 1;
    const auto bytes = StoreBytes([&](CArchive& ar) { StoreTrailList(ar, list); });
    ASSERT_EQ(bytes.size(), 2u + 288u);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2 + 1], 1);              // subKind of the first
    EXPECT_EQ(bytes[2 + 144 + 11], 1);       // kind of the second

    x_TrailDataArray back;
    LoadBytes(bytes, [&](CArchive& ar) { LoadTrailList(ar, back); });
    ASSERT_EQ(back.GetSize(), 2);
    EXPECT_EQ(back[1].kind, 1);
    EXPECT_EQ(back[0].start, x_Vector(0, 0, 1));
}

TEST(x_TrailData, ListCountBeyondTheDataIsRefused)
{
    x_TrailDataArray back;
    // Five elements announced, one present; then a 32-bit count of 2^31 - 1.
    std::vector<std::uint8_t> shortList = Hex("05 00");
    shortList.resize(2 + 144);
    EXPECT_THROW(LoadBytes(shortList, [&](CArchive& ar) { LoadTrailList(ar, back); }),
                 CArchiveException);
    EXPECT_THROW(LoadBytes(Hex("ff ff ff ff ff 7f"), [&](CArchive& ar) { LoadTrailList(ar, back); }),
                 CArchiveException);
    EXPECT_EQ(back.GetSize(), 0);
}

} // namespace
