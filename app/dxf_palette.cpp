#include "app/dxf_palette.h"

#include <array>
#include <cmath>

namespace {

constexpr COLORREF Rgb(int r, int g, int b)
{
    return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}

// The hue wheel: 24 hues 15 degrees apart, each in five brightness steps of
// a full and a half-saturated shade.
COLORREF WheelColour(int index)
{
    const int hue = (index - 10) / 10;
    const int shade = (index - 10) % 10;
    static constexpr double kBrightness[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
    const double v = kBrightness[shade / 2];
    const double s = shade % 2 == 0 ? 1.0 : 0.5;
    const double h = hue * 15.0 / 60.0;
    const int sector = static_cast<int>(h) % 6;
    const double f = h - std::floor(h);
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double r = 0, g = 0, b = 0;
    switch (sector) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
    }
    auto c = [](double x) { return static_cast<int>(std::lround(x * 255.0)); };
    return Rgb(c(r), c(g), c(b));
}

const std::array<COLORREF, 256>& Palette()
{
    static const std::array<COLORREF, 256> palette = [] {
        std::array<COLORREF, 256> p{};
        const COLORREF first[10] = {Rgb(255, 255, 255), Rgb(255, 0, 0),     Rgb(255, 255, 0),
                                    Rgb(0, 255, 0),     Rgb(0, 255, 255),   Rgb(0, 0, 255),
                                    Rgb(255, 0, 255),   Rgb(255, 255, 255), Rgb(128, 128, 128),
                                    Rgb(192, 192, 192)};
        for (int i = 0; i < 10; ++i)
            p[static_cast<std::size_t>(i)] = first[i];
        for (int i = 10; i < 250; ++i)
            p[static_cast<std::size_t>(i)] = WheelColour(i);
        const int greys[6] = {51, 91, 132, 173, 214, 255};
        for (int i = 0; i < 6; ++i)
            p[static_cast<std::size_t>(250 + i)] = Rgb(greys[i], greys[i], greys[i]);
        return p;
    }();
    return palette;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (x != b[i])
            return false;
    }
    return true;
}

} // namespace

COLORREF DxfIndexColour(int index)
{
    return index >= 0 && index <= 255 ? Palette()[static_cast<std::size_t>(index)] : Palette()[7];
}

bool DxfLineType(std::string_view name, std::int32_t& lineStyle, std::uint8_t& dashDot)
{
    if (EqualsNoCase(name, "HIDDEN")) {
        lineStyle = 1;
        dashDot = 0;
        return true;
    }
    if (EqualsNoCase(name, "CENTER")) {
        lineStyle = 1;
        dashDot = 1;
        return true;
    }
    return false;
}
