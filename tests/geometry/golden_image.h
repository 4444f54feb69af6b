#pragma once

// Entity drawings compared with small golden PNGs kept in data/.

#include <gtest/gtest.h>

#include <QImage>

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

// image against data/<name>.png, pixel by pixel. ZORVA_UPDATE_GOLDEN=1 writes
// the file anew instead (look at every one before committing it).
inline void ExpectGoldenImage(const QImage& image, const std::string& name)
{
    const std::string path = std::string(ZORVA_TEST_DATA) + "/" + name + ".png";
    if (std::getenv("ZORVA_UPDATE_GOLDEN") != nullptr) {
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
