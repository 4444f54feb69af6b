#pragma once

#include <cmath>

// sin and cos of one angle, within a few units of the last place for
// |x| < 1e5 (the library's beyond): the library's calls save and restore
// the rounding mode each time, and cost more than an arc's piece of the
// path check or an arc's first points on the raster. The angle is brought
// to [-pi/4, pi/4] by multiples of pi/2 taken in three parts (each product
// exact), then series to the 15th and 16th power. The quarter turn is
// chosen without a branch, which would fall at random from one arc to the
// next.
inline void SinCos(double x, double& s, double& c)
{
    if (!(std::fabs(x) < 1e5)) {
        s = std::sin(x);
        c = std::cos(x);
        return;
    }
    constexpr double kTwoOverPi = 0.63661977236758134308;
    constexpr double kPio2a = 1.57079632673412561417e+00;  // first 33 bits of pi/2
    constexpr double kPio2b = 6.07710050630396597660e-11;  // the next 33
    constexpr double kPio2c = 2.02226624879595063154e-21;  // the rest
    const long long n = static_cast<long long>(x * kTwoOverPi + (x >= 0.0 ? 0.5 : -0.5));
    const double dn = static_cast<double>(n);
    const double r = ((x - dn * kPio2a) - dn * kPio2b) - dn * kPio2c;
    const double z = r * r;
    const double sr = r + r * z * (-1.0 / 6 + z * (1.0 / 120 + z * (-1.0 / 5040 + z * (1.0 / 362880
                      + z * (-1.0 / 39916800 + z * (1.0 / 6227020800 + z * (-1.0 / 1307674368000.0)))))));
    const double cr = 1.0 + z * (-0.5 + z * (1.0 / 24 + z * (-1.0 / 720 + z * (1.0 / 40320 + z * (-1.0 / 3628800
                      + z * (1.0 / 479001600 + z * (-1.0 / 87178291200.0 + z * (1.0 / 20922789888000.0))))))));
    // Quarters 0 to 3: (sr, cr), (cr, -sr), (-sr, -cr), (-cr, sr).
    const int quarter = static_cast<int>(n & 3);
    const double both[2] = {sr, cr};
    s = both[quarter & 1] * ((quarter & 2) != 0 ? -1.0 : 1.0);
    c = both[(quarter & 1) ^ 1] * (((quarter + 1) & 2) != 0 ? -1.0 : 1.0);
}
