#include "generators/taper_calc.h"

#include <cmath>

namespace {

constexpr double kDegree = 0.017453292519943295;

const char16_t* const kZeroTaper = u"设定锥度不能为0";
const char16_t* const kNoNumber = u"参数错误，无法计算";

TaperResult Done(double h1, double h2)
{
    // Every result is stored in the settings: an undefined number never is.
    if (!std::isfinite(h1) || !std::isfinite(h2))
        return {false, 0.0, 0.0, kNoNumber};
    return {true, h1, h2, nullptr};
}

TaperResult Refuse(const char16_t* why)
{
    return {false, 0.0, 0.0, why};
}

} // namespace

TaperResult TaperPage1(double h1, double h2, double taperDeg, double lowerDia, double measuredDia)
{
    const double p = (measuredDia - lowerDia) / 2.0;
    const double t = std::tan(taperDeg * kDegree);
    if (h2 == 0.0)
        return Done(0.0, h2);
    const double slope = (t * h2 - p) / h2;
    // A measured diameter with T H2 = p divided by zero and stored inf.
    if (slope == 0.0)
        return Refuse(u"实测直径与设定锥度不符，无法计算");
    return Done(h2 + (p + t * (h1 - h2)) / slope, h2);
}

TaperResult TaperPage2(double h2, double taperDeg, double lowerDia, double measuredDia)
{
    const double p = (measuredDia - lowerDia) / 2.0;
    const double t = std::tan(taperDeg * kDegree);
    if (t == 0.0)
        return Refuse(kZeroTaper);
    return Done(0.0, h2 - p / t);
}

double TaperUpperDiameter(double thickness, double taperDeg, double lowerDia)
{
    return lowerDia - 2.0 * thickness * std::tan(taperDeg * kDegree);
}

TaperResult TaperPage3(double h1, double h2, double thickness, double taperDeg, double lowerDia,
                       double measuredLower, double measuredUpper)
{
    const double t = std::tan(taperDeg * kDegree);
    if (t == 0.0)
        return Refuse(kZeroTaper);
    if (thickness == 0.0)
        return Refuse(u"工件厚度不能为0");
    const double p = (measuredLower - lowerDia) / 2.0;
    const double m = (measuredLower - measuredUpper) / (2.0 * thickness);   // tangent of the measured taper
    if (m == 0.0)
        return Refuse(u"实测上下圆直径相同，无法计算");
    const double newH2 = (t * h2 - p) / t;
    return Done((t * (h1 - h2) + p) / m + newH2, newH2);
}

TaperResult TaperPage4(double h1, double setDeg, double measuredDeg)
{
    const double tm = std::tan(measuredDeg * kDegree);
    if (tm == 0.0)
        return Done(0.0, 0.0);
    return Done(h1 * std::tan(setDeg * kDegree) / tm, 0.0);
}
