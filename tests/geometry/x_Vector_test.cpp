#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "geometry/x_Vector.h"
#include "geometry/x_VectorList.h"
#include "platform/core/CArray.h"
#include "platform/core/exceptions.h"
#include "tests/support/archive_bytes.h"

namespace {

constexpr double kExact = 1e-12;   // worked by hand; only rounding of a few operations

TEST(x_Vector, IsEqualIsStrictAtOneMicron)
{
    const struct { const char* name; x_Vector a, b; bool equal; } kCases[] = {
        {"0.001 apart in x", {0, 0}, {0.001, 0}, false},
        {"0.001 apart in y", {0, 0}, {0, -0.001}, false},
        {"0.0009 in both", {0, 0}, {0.0009, -0.0009}, true},
        {"valid differs only", {1, 2, 1}, {1, 2, 0}, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a.IsEqual(c.b), c.equal);
        EXPECT_EQ(c.b.IsEqual(c.a), c.equal);
    }
    EXPECT_FALSE(x_Vector(1, 2, 1) == x_Vector(1, 2, 0));
    EXPECT_TRUE(x_Vector(1, 2, 1) == x_Vector(1, 2));
}

TEST(x_Vector, AngleLiesInZeroToTwoPi)
{
    const struct { const char* name; x_Vector v; double angle; } kCases[] = {
        {"+x", {1, 0}, 0.0},
        {"+x with -0 y", {1, -0.0}, 0.0},
        {"-x", {-1, 0}, kPi},
        {"-y", {0, -1}, 3 * kPi / 2},
        {"+y", {0, 1}, kPi / 2},
        {"just below +x", {1, -1e-17}, 0.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.v.Angle(), c.angle, kExact);
        EXPECT_LT(c.v.Angle(), kTwoPi);
    }
    EXPECT_NEAR(x_Vector::AngleTo({1, 1}, {1, 5}), kPi / 2, kExact);
}

// The angle is fmod(atan2 + 2π, 2π) to the last bit: offsets and joints
// compare angles against thresholds, so a cheaper form must not move one.
TEST(x_Vector, AngleHasTheBitsOfTheRemainderOfAtan2PlusTwoPi)
{
    auto remainder = [](const x_Vector& v) {
        const double a = std::fmod(std::atan2(v.y, v.x) + kTwoPi, kTwoPi);
        return a >= kTwoPi ? 0.0 : a;
    };
    std::vector<x_Vector> directions = {
        {1, 0}, {1, -0.0}, {-1, 0}, {-1, -0.0}, {0, 1}, {0, -1}, {0, 0}, {-0.0, -0.0},
        {1, -1e-17}, {1, -1e-300}, {-1, 1e-17}, {-1, -1e-17}, {1e-300, -1}, {3, -4},
    };
    for (int i = 0; i < 200000; ++i) {
        const double t = kTwoPi * i / 200000.0 - kPi;
        directions.emplace_back(std::cos(t) * (1 + i % 13), std::sin(t) * (1 + i % 7));
    }
    int differing = 0;
    for (const x_Vector& v : directions) {
        const double ours = v.Angle(), expected = remainder(v);
        if (std::memcmp(&ours, &expected, sizeof ours) != 0 && ++differing < 5)
            ADD_FAILURE() << "(" << v.x << ", " << v.y << "): " << ours << " against " << expected;
    }
    EXPECT_EQ(differing, 0);
}

TEST(x_Vector, NormalizeAngleKeepsTwoPiAndBoundsHugeValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { const char* name; double in, out; } kCases[] = {
        {"-0.5", -0.5, kTwoPi - 0.5},
        {"2π stays", kTwoPi, kTwoPi},
        {"7", 7.0, 7.0 - kTwoPi},
        {"4π gives 2π, as repeated subtraction does", 2 * kTwoPi, kTwoPi},
        {"-2π gives 0", -kTwoPi, 0.0},
        {"0", 0.0, 0.0},
        {"3", 3.0, 3.0},
        {"non-finite: +inf is degenerate", inf, 0.0},
        {"non-finite: -inf is degenerate", -inf, 0.0},
        {"non-finite: NaN is degenerate", nan, 0.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(NormalizeAngle(c.in), c.out, kExact);
    }
    // Huge angles from a file no longer loop for ever.
    for (double huge : {1e300, -1e300, 1e18, -7.5e17}) {
        const double a = NormalizeAngle(huge);
        EXPECT_GE(a, 0.0);
        EXPECT_LE(a, kTwoPi);
    }
}

// Between one and two turns the result is fmod's to the bit (an arc past
// zero is stored so, and its extents depend on it).
TEST(x_Vector, NormalizeAngleOfASecondTurnIsFmodExactly)
{
    std::vector<double> angles = {std::nextafter(kTwoPi, 10.0), std::nextafter(2 * kTwoPi, 0.0), 7.0,
                                  kTwoPi + 1e-300, 3 * kPi, 2 * kTwoPi - 1e-9};
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> second(kTwoPi, 2 * kTwoPi);
    for (int i = 0; i < 100000; ++i)
        angles.push_back(second(rng));
    int differing = 0;
    for (double a : angles) {
        if (!(a > kTwoPi && a < 2 * kTwoPi))
            continue;
        const double ours = NormalizeAngle(a), expected = std::fmod(a, kTwoPi);
        if (std::memcmp(&ours, &expected, sizeof ours) != 0 && ++differing < 5)
            ADD_FAILURE() << a << ": " << ours << " against " << expected;
    }
    EXPECT_EQ(differing, 0);
}

TEST(x_Vector, AngleInArc)
{
    const struct { const char* name; double a, s, e; bool reversed, inside; } kCases[] = {
        {"before the start", -0.1, 0, kPi / 2, false, false},
        {"end plus half the slack", kPi / 2 + 0.0005, 0, kPi / 2, false, true},
        {"past the end", kPi / 2 + 0.1, 0, kPi / 2, false, false},
        {"middle", kPi / 4, 0, kPi / 2, false, true},
        {"reversed: the other side", kPi, 0, kPi / 2, true, true},
        {"reversed: middle is outside", kPi / 4, 0, kPi / 2, true, false},
        {"start equals end: full turn", 4.0, 1.0, 1.0, false, true},
        {"a whole turn apart", 4.0, 1.0, 1.0 + kTwoPi, false, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AngleInArc(c.a, c.s, c.e, c.reversed), c.inside);
    }
}

TEST(x_Vector, TransformsInPlace)
{
    x_Vector p(1, 1);
    p.MirrorAbout({0, 0}, {5, 0});
    EXPECT_NEAR(p.x, 1, kExact);
    EXPECT_NEAR(p.y, -1, kExact);

    x_Vector onA(0.0000005, 0, 0);
    onA.MirrorAbout({0, 0}, {5, 0});
    EXPECT_EQ(onA, x_Vector(0.0000005, 0, 0));   // unchanged, valid kept
    x_Vector onB(5, 0.0000005);
    onB.MirrorAbout({0, 0}, {5, 0});
    EXPECT_EQ(onB, x_Vector(5, 0.0000005));

    x_Vector r(2, 0, 0);
    const x_Vector copy = r.RotateAbout({1, 0}, kPi / 2);
    EXPECT_NEAR(r.x, 1, kExact);
    EXPECT_NEAR(r.y, 1, kExact);
    EXPECT_EQ(r.valid, 0);
    EXPECT_EQ(copy, r);

    x_Vector s(3, 4);
    s.ScaleAbout({1, 1}, 2, -1);
    EXPECT_EQ(s, x_Vector(5, -2));
    EXPECT_EQ(x_Vector::Perpendicular({1, 2}, {4, 6}), x_Vector(-4, 3));
    EXPECT_EQ(x_Vector::Lerp(0.25, {0, 0}, {4, 8}), x_Vector(1, 2));
    EXPECT_EQ(x_Vector::MinCorner({1, 5}, {3, 2}), x_Vector(1, 2));
    EXPECT_EQ(x_Vector::MaxCorner({1, 5}, {3, 2}), x_Vector(3, 5));
}

TEST(x_Vector, ArchiveFormIsXThenY)
{
    const auto bytes = StoreBytes([](CArchive& ar) { ar << x_Vector(1.5, -2.0, 0); });
    EXPECT_EQ(bytes, Hex("00 00 00 00 00 00 f8 3f  00 00 00 00 00 00 00 c0"));

    x_Vector back(0, 0, 0);
    LoadBytes(bytes, [&](CArchive& ar) { ar >> back; });
    EXPECT_EQ(back, x_Vector(1.5, -2.0, 1));

    EXPECT_THROW(LoadBytes(Hex("00 00 00 00 00 00 f8 3f 00"), [&](CArchive& ar) { ar >> back; }),
                 CArchiveException);
}

TEST(x_VectorList, GetAtOutsideGivesOriginAndNearestSkipsUnset)
{
    x_VectorList list = x_VectorList::FromTwoPoints({1, 1}, {5, 5});
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(list.GetAt(1), x_Vector(5, 5));
    EXPECT_EQ(list.GetAt(2), x_Vector(0, 0, 1));
    // A negative index once read before the array.
    EXPECT_EQ(list.GetAt(-1), x_Vector(0, 0, 1));

    EXPECT_EQ(x_VectorList().Nearest({1, 1}), x_Vector(0, 0, 0));
    x_VectorList sized;
    sized.SetSize(3);
    EXPECT_EQ(sized.count, 3);
    EXPECT_EQ(sized.GetAt(0), x_Vector(0, 0, 0));
    EXPECT_EQ(sized.Nearest({0, 0}), x_Vector(0, 0, 0));

    x_VectorList tie;
    tie.Add({2, 0});
    tie.Add({0, 0, 0});
    tie.Add({-2, 0});
    EXPECT_EQ(tie.Nearest({0, 0}), x_Vector(2, 0));    // the earlier of equals

    x_VectorList copy;
    list.tangent = 1;
    copy.Copy(list);
    EXPECT_EQ(copy.count, 2);
    EXPECT_EQ(copy.tangent, 1);
    copy.Clear();
    EXPECT_EQ(copy.count, 0);
    EXPECT_EQ(copy.tangent, 0);

    tie.ForEachValid({0, 0}, kPi);
    EXPECT_NEAR(tie.GetAt(0).x, -2, kExact);
    EXPECT_EQ(tie.GetAt(1), x_Vector(0, 0, 0));
}

} // namespace

namespace {

TEST(x_Vector, PointListArchiveChecksTheCount)
{
    CArray<x_Vector> points;
    points.Add({1.5, -2.0, 0});
    const auto bytes = StoreBytes([&](CArchive& ar) { StorePointList(ar, points); });
    EXPECT_EQ(bytes, Hex("01 00  00 00 00 00 00 00 f8 3f  00 00 00 00 00 00 00 c0"));
    CArray<x_Vector> back;
    LoadBytes(bytes, [&](CArchive& ar) { LoadPointList(ar, back); });
    ASSERT_EQ(back.GetSize(), 1);
    EXPECT_EQ(back[0], x_Vector(1.5, -2.0, 1));
    // 65,535 points announced (32-bit form), 16 bytes present.
    EXPECT_THROW(LoadBytes(Hex("ff ff ff ff 00 00  00 00 00 00 00 00 f8 3f 00 00 00 00 00 00 00 c0"),
                           [&](CArchive& ar) { LoadPointList(ar, back); }),
                 CArchiveException);
}

} // namespace
