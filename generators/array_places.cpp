#include "generators/array_places.h"

#include <cmath>

namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr double kMinSpacing = 0.01;
constexpr double kMinRadius = 0.01;

const char16_t* const kTooFew = u"#阵列数量不能少于2个";
const char16_t* const kTooMany = u"#阵列数量过多";

// Row direction signs of start corners 0..3 (right-bottom 1, left-bottom 2,
// left-top 3, right-top 4 as the panel numbers them).
void CornerSigns(int corner, double& sx, double& sy)
{
    static const double kSigns[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    if (corner < 0 || corner > 3) {
        sx = sy = 0.0;
        return;
    }
    sx = kSigns[corner][0];
    sy = kSigns[corner][1];
}

} // namespace

const char16_t* RectangularArrayPlaces(const ArraySettings& s, std::vector<ArrayPlace>& out)
{
    out.clear();
    // Two negative counts used to pass the product test and place nothing,
    // and a large product overflowed the 32-bit multiplication.
    const long long places = static_cast<long long>(s.countX) * s.countY;
    if (s.countX < 1 || s.countY < 1 || places < 2)
        return kTooFew;
    if (places > kMaxArrayPlaces)
        return kTooMany;
    if (!(s.spacingX >= kMinSpacing) && !(s.spacingY >= kMinSpacing))
        return u"#阵列偏移过小";
    double sx = 0.0, sy = 0.0;
    CornerSigns(s.startCorner, sx, sy);
    double x = 0.0;
    out.reserve(static_cast<size_t>(places));
    for (int j = 0; j < s.countY; ++j) {
        if (j > 0) {
            if (s.foldRows == 0)
                sx = sx == 1.0 ? -1.0 : 1.0;    // the row runs back from where the last ended
            else
                x = 0.0;
        }
        for (int i = 0; i < s.countX; ++i) {
            if (i > 0)
                x += sx * s.spacingX;
            out.push_back({x_Vector(x, j * s.spacingY * sy), 0.0});
        }
    }
    return nullptr;
}

const char16_t* PolarArrayPlaces(const ArraySettings& s, std::vector<ArrayPlace>& out)
{
    out.clear();
    if (s.polarCount < 2)
        return kTooFew;
    if (s.polarCount > kMaxArrayPlaces)
        return kTooMany;
    if (!(s.radius >= kMinRadius))
        return u"#圆半径过小 >0.01";
    if (!(s.fillAngle >= 1.0))
        return u"#圆填充角度过小 1--360";
    if (s.fillAngle > 360.0)
        return u"#圆填充角度过大 1--360";
    if (!(s.startAngle >= 0.0))
        return u"#圆起始角度过小 0--360";
    if (s.startAngle > 360.0)
        return u"#圆起始角度过大 0--360";
    double extra = s.extraAngle * kDegree;
    if (extra < 0.0)
        extra += kTwoPi;
    if (extra > kTwoPi)
        extra -= kTwoPi;
    // The panel counts angles counter-clockwise from the bottom of the circle.
    double a0 = s.startAngle * kDegree + 3.0 * kPi / 2.0;
    if (a0 > kTwoPi)
        a0 -= kTwoPi;
    double step = s.fillAngle * kDegree / s.polarCount;
    if (s.reverse == 1)
        step = -step;
    if (step > kTwoPi)
        step -= kTwoPi;
    if (step < 0.0)
        step += kTwoPi;
    const x_Vector centre(s.centreX, s.centreY);
    x_Vector place = centre + x_Vector::FromPolar(s.radius, a0);
    out.reserve(static_cast<size_t>(s.polarCount));
    for (int k = 0; k < s.polarCount; ++k) {
        if (k > 0)
            place.RotateAbout(centre, step);
        // The direction from the place to the centre, plus the added turn.
        const double turn = std::fmod(s.startAngle * kDegree + kPi / 2.0 + k * step + extra, kTwoPi);
        out.push_back({place, turn});
    }
    return nullptr;
}
