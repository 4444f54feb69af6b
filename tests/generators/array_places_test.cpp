#include "generators/array_places.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

ArraySettings Grid(int nx, int ny, double dx, double dy, int corner = 0, int fold = 0)
{
    ArraySettings s;
    std::memset(&s, 0, sizeof s);
    s.countX = nx;
    s.countY = ny;
    s.spacingX = dx;
    s.spacingY = dy;
    s.startCorner = std::uint8_t(corner);
    s.foldRows = std::uint8_t(fold);
    return s;
}

ArraySettings Polar(int n, double fill, double start, int reverse = 0)
{
    ArraySettings s;
    std::memset(&s, 0, sizeof s);
    s.radius = 10.0;
    s.polarCount = n;
    s.fillAngle = fill;
    s.startAngle = start;
    s.reverse = std::uint8_t(reverse);
    return s;
}

std::vector<x_Vector> Offsets(const std::vector<ArrayPlace>& places)
{
    std::vector<x_Vector> out;
    for (const ArrayPlace& p : places)
        out.push_back(p.offset);
    return out;
}

void ExpectPoints(const std::vector<x_Vector>& got, const std::vector<x_Vector>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << "place " << i;
        EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << "place " << i;
    }
}

TEST(ArrayPlaces, RectangularOrdersBothWays)
{
    const double d = 5, e = 7;
    const struct {
        const char* name;
        ArraySettings s;
        std::vector<x_Vector> places;
    } kCases[] = {
        {"bow rows from corner 1", Grid(3, 2, d, e), {{0, 0}, {d, 0}, {2 * d, 0}, {2 * d, e}, {d, e}, {0, e}}},
        {"folded rows from corner 1", Grid(3, 2, d, e, 0, 1), {{0, 0}, {d, 0}, {2 * d, 0}, {0, e}, {d, e}, {2 * d, e}}},
        {"bow rows from corner 3", Grid(3, 2, d, e, 2),
         {{0, 0}, {-d, 0}, {-2 * d, 0}, {-2 * d, -e}, {-d, -e}, {0, -e}}},
        {"folded rows from corner 3", Grid(3, 2, d, e, 2, 1),
         {{0, 0}, {-d, 0}, {-2 * d, 0}, {0, -e}, {-d, -e}, {-2 * d, -e}}},
        {"negative x spacing with a positive y spacing", Grid(3, 1, -5, 2), {{0, 0}, {-5, 0}, {-10, 0}}},
        {"two by one", Grid(2, 1, 3, 0), {{0, 0}, {3, 0}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<ArrayPlace> places;
        ASSERT_EQ(RectangularArrayPlaces(c.s, places), nullptr);
        ExpectPoints(Offsets(places), c.places);
    }
}

TEST(ArrayPlaces, RectangularRefusals)
{
    const struct {
        const char* name;
        ArraySettings s;
        const char16_t* message;
    } kCases[] = {
        {"one by one", Grid(1, 1, 10, 10), u"#阵列数量不能少于2个"},
        {"two negative counts", Grid(-2, -3, 10, 10), u"#阵列数量不能少于2个"},
        {"a zero count", Grid(0, 5, 10, 10), u"#阵列数量不能少于2个"},
        {"product beyond 32 bits", Grid(100000, 100000, 10, 10), u"#阵列数量过多"},
        {"product past the cap", Grid(101, 100, 10, 10), u"#阵列数量过多"},
        {"both spacings tiny", Grid(3, 3, 0.005, 0.005), u"#阵列偏移过小"},
        {"negative and zero spacing", Grid(3, 3, -5, 0), u"#阵列偏移过小"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<ArrayPlace> places;
        const char16_t* m = RectangularArrayPlaces(c.s, places);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(std::u16string(m), std::u16string(c.message));
        EXPECT_TRUE(places.empty());
    }
}

TEST(ArrayPlaces, PolarForwardReverseAndPartialFill)
{
    std::vector<ArrayPlace> places;
    ASSERT_EQ(PolarArrayPlaces(Polar(4, 360, 0), places), nullptr);
    ExpectPoints(Offsets(places), {{0, -10}, {10, 0}, {0, 10}, {-10, 0}});
    ASSERT_EQ(PolarArrayPlaces(Polar(4, 360, 0, 1), places), nullptr);
    ExpectPoints(Offsets(places), {{0, -10}, {-10, 0}, {0, 10}, {10, 0}});
    // Fill 90 with 4 copies: 22.5 degrees apart, the last at 67.5 degrees.
    ASSERT_EQ(PolarArrayPlaces(Polar(4, 90, 0), places), nullptr);
    const double a = 67.5 * kPi / 180.0;
    EXPECT_NEAR(places[3].offset.x, 10 * std::sin(a), 1e-9);
    EXPECT_NEAR(places[3].offset.y, -10 * std::cos(a), 1e-9);
    // The first copy (at the bottom) turns by 90 degrees plus the extra angle.
    ArraySettings s = Polar(4, 360, 0);
    s.extraAngle = 12;
    ASSERT_EQ(PolarArrayPlaces(s, places), nullptr);
    EXPECT_NEAR(places[0].turn, (90 + 12) * kPi / 180.0, 1e-12);
    EXPECT_NEAR(places[1].turn, (180 + 12) * kPi / 180.0, 1e-12);
}

TEST(ArrayPlaces, PolarRefusalsInOrder)
{
    const struct {
        const char* name;
        ArraySettings s;
        const char16_t* message;
    } kCases[] = {
        {"one copy", Polar(1, 360, 0), u"#阵列数量不能少于2个"},
        {"too many copies", Polar(1000000, 360, 0), u"#阵列数量过多"},
        {"radius", [] { auto s = Polar(4, 360, 0); s.radius = 0.005; return s; }(), u"#圆半径过小 >0.01"},
        {"fill small", Polar(4, 0.5, 0), u"#圆填充角度过小 1--360"},
        {"fill large", Polar(4, 361, 0), u"#圆填充角度过大 1--360"},
        {"start negative", Polar(4, 360, -1), u"#圆起始角度过小 0--360"},
        {"start large", Polar(4, 360, 361), u"#圆起始角度过大 0--360"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<ArrayPlace> places;
        const char16_t* m = PolarArrayPlaces(c.s, places);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(std::u16string(m), std::u16string(c.message));
    }
}

} // namespace
