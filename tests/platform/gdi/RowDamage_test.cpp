// Damage per band of rows against a plain map of the marked pixels.
#include "platform/gdi/RowDamage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Columns [left, right) of each band that the marked pixels span.
void Spans(const std::vector<bool>& pixels, int width, int height, int band, int& left, int& right)
{
    left = width;
    right = 0;
    for (int y = band * RowDamage::kBandRows; y < std::min((band + 1) * RowDamage::kBandRows, height); ++y)
        for (int x = 0; x < width; ++x)
            if (pixels[static_cast<std::size_t>(y * width + x)]) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
}

} // namespace

// Many marks damage every band from edge to edge, after which marks are
// dropped unread; the bands must come out as the union of the marks, before
// and after that point, and again after a reset.
TEST(RowDamage, BandsSpanWhatWasMarkedUntilEveryBandIsFull)
{
    constexpr int kWidth = 70, kHeight = 50;
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> x(-10, kWidth + 10), y(-10, kHeight + 10), size(0, 30);
    RowDamage damage;
    for (int round = 0; round < 2; ++round) {
        damage.Reset(kWidth, kHeight);
        std::vector<bool> pixels(kWidth * kHeight, false);
        for (int mark = 0; mark < 400; ++mark) {
            const int left = x(rng), top = y(rng), right = left + size(rng), bottom = top + size(rng);
            damage.Mark(left, top, right, bottom);
            for (int py = std::max(top, 0); py < std::min(bottom, kHeight); ++py)
                for (int px = std::max(left, 0); px < std::min(right, kWidth); ++px)
                    pixels[static_cast<std::size_t>(py * kWidth + px)] = true;
            for (int b = 0; b < damage.Bands(); ++b) {
                int left0, right0;
                Spans(pixels, kWidth, kHeight, b, left0, right0);
                SCOPED_TRACE(testing::Message() << "round " << round << ", mark " << mark << ", band " << b);
                if (left0 >= right0) {
                    ASSERT_GE(damage.Left(b), damage.Right(b));
                } else {
                    ASSERT_EQ(damage.Left(b), left0);
                    ASSERT_EQ(damage.Right(b), right0);
                }
            }
        }
        EXPECT_EQ(damage.Left(0), 0);
        EXPECT_EQ(damage.Right(damage.Bands() - 1), kWidth);
    }
}
