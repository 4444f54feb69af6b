#pragma once

// Entity drawings compared with small golden PNGs kept in data/.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "geometry/GeometryState.h"

// Points the raster and the view transform at image like the view's render:
// 4 pixels a millimetre, world (0, 0) 4 pixels in from the bottom left.
inline void AimRasterAt(QImage& image)
{
    g_RasterWidth = image.width();
    g_RasterHeight = image.height();
    g_RasterStride = static_cast<int>(image.bytesPerLine());
    g_ViewClientRect = {0, 0, image.width(), image.height()};
    g_ViewScale = 4.0;                          // pixels per millimetre
    g_ViewOriginX = 4;
    g_ViewOriginY = image.height() - 4;         // world (0, 0) near the bottom left
}

// The record of a golden picture written anew: the old picture, the new one
// and the pixels that changed (red), side by side, each pixel a square of
// two to eight (a panel about a thousand pixels wide), in
// dataDir/golden_changes/<name>.png. Nothing when the two agree.
inline void WriteGoldenChange(const std::string& dataDir, const std::string& name, const QImage& before,
                              const QImage& after)
{
    constexpr int kRule = 2;
    const QImage a = before.convertToFormat(QImage::Format_RGB32), b = after.convertToFormat(QImage::Format_RGB32);
    if (a.isNull() || a.size() != b.size() || a == b)
        return;
    const int kZoom = std::clamp(1024 / std::max(a.width(), 1), 2, 8);
    const int w = a.width() * kZoom, h = a.height() * kZoom;
    QImage out(3 * w + 4 * kRule, h + 2 * kRule, QImage::Format_RGB32);
    out.fill(QColor(128, 128, 128));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb old = a.pixel(x / kZoom, y / kZoom), now = b.pixel(x / kZoom, y / kZoom);
            out.setPixel(kRule + x, kRule + y, old);
            out.setPixel(2 * kRule + w + x, kRule + y, now);
            out.setPixel(3 * kRule + 2 * w + x, kRule + y, old == now ? qRgb(0, 0, 0) : qRgb(255, 0, 0));
        }
    const QString dir = QString::fromStdString(dataDir + "/golden_changes");
    QDir().mkpath(dir);
    out.save(dir + "/" + QString::fromStdString(name) + ".png");
}

// image against data/<name>.png, pixel by pixel. ZORVA_UPDATE_GOLDEN=1 writes
// the file anew instead, with the record of what changed (look at every one
// before committing it).
inline void ExpectGoldenImage(const QImage& image, const std::string& name)
{
    const std::string path = std::string(ZORVA_TEST_DATA) + "/" + name + ".png";
    if (std::getenv("ZORVA_UPDATE_GOLDEN") != nullptr) {
        WriteGoldenChange(ZORVA_TEST_DATA, name, QImage(QString::fromStdString(path)), image);
        ASSERT_TRUE(image.save(QString::fromStdString(path)));
        return;
    }
    QImage golden(QString::fromStdString(path));
    ASSERT_FALSE(golden.isNull()) << path;
    golden = golden.convertToFormat(QImage::Format_RGB16);
    ASSERT_EQ(golden.size(), image.size());
    int differing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            differing += golden.pixel(x, y) != image.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0) << name;
}
