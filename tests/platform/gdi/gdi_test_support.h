#pragma once
// Helpers of the device-context tests.

#include "platform/gdi/CDC.h"

#include <QImage>

#include <cstdint>

// Fonts need a GUI application; the tests make one on first use.
void EnsureGuiApp();

// An image of the given format filled with a repeatable noise pattern, so a
// raster operation that loses a bit shows.
QImage NoiseImage(int width, int height, QImage::Format format, std::uint32_t seed);

// Number of pixels that differ between two images of one size and format.
int CountDifferences(const QImage& a, const QImage& b);
