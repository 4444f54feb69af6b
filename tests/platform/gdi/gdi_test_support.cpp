#include "tests/platform/gdi/gdi_test_support.h"

#include <QGuiApplication>

#include <cstring>

void EnsureGuiApp()
{
    static int argc = 1;
    static char name[] = "test_platform_gdi";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QGuiApplication(argc, argv); // lives for the whole test run
}

QImage NoiseImage(int width, int height, QImage::Format format, std::uint32_t seed)
{
    QImage img(width, height, format);
    std::uint32_t state = seed;
    for (int y = 0; y < height; ++y) {
        uchar* row = img.scanLine(y);
        for (qsizetype i = 0; i < img.bytesPerLine(); ++i) {
            state = state * 1664525u + 1013904223u; // LCG of Numerical Recipes
            row[i] = uchar(state >> 24);
        }
        if (format == QImage::Format_RGB32)
            for (int x = 0; x < width; ++x)
                row[4 * x + 3] = 0xFF; // 32-bit window pixels are opaque
    }
    return img;
}

int CountDifferences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                ++n;
    return n;
}
