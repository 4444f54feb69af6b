#include <gtest/gtest.h>

#include <cstring>

#include "geometry/GeometryState.h"

namespace {

TEST(DrawingSettings, FactoryWordsInBlockOrder)
{
    ResetGeometryState();
    // The never-written reserved words keep what they held.
    g_DrawingSettings.reserved6 = 0x11;
    g_DrawingSettings.reserved24 = 0x22;
    g_DrawingSettings.reserved33 = 0x33;
    g_DrawingSettings.reserved26 = 0x44;
    SetDefaultDrawingSettings();
    const std::uint32_t kWords[37] = {
        0, 0, 2, 1, 1, 10, 0x11,
        0xFF8000,   // 7  RGB(0, 128, 255)
        0xFF00FF,   // 8  RGB(255, 0, 255)
        0xFF00FF,   // 9
        0xFF8000,   // 10
        0xFFFFFF,   // 11
        0x0000FF,   // 12 RGB(255, 0, 0)
        0xFFFFFF,   // 13
        0x0032B4,   // 14 RGB(180, 50, 0)
        0xFF8000,   // 15
        0x969632,   // 16 RGB(50, 150, 150)
        0x80C000,   // 17 RGB(0, 192, 128)
        0xFF8000,   // 18
        0x00FFFF,   // 19 RGB(255, 255, 0)
        0x0000FF,   // 20
        0x0000FF,   // 21
        0x3296C8,   // 22 RGB(200, 150, 50)
        0x40FF00,   // 23 RGB(0, 255, 64)
        0x22,       // 24 reserved, untouched
        0xFFA000,   // 25 RGB(0, 160, 255)
        0,          // 26
        0x282850,   // 27 RGB(80, 40, 40)
        0x00FF00,   // 28
        0x281400,   // 29 RGB(0, 20, 40)
        0x646400,   // 30 RGB(0, 100, 100)
        0, 0,       // 31, 32
        0x33,       // 33 reserved, untouched
        0xFFFF00,   // 34 RGB(0, 255, 255)
        0x00FF00,   // 35
        0x008080,   // 36 RGB(128, 128, 0)
    };
    std::uint32_t block[37];
    static_assert(sizeof block == 148);
    std::memcpy(block, &g_DrawingSettings, 148);
    for (int i = 0; i < 37; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(block[i], kWords[i]);
    }
    // The names reach the block.
    EXPECT_EQ(g_SelectedColor, 0x0000FFu);
    g_PenWidth = 3;
    EXPECT_EQ(block[3] + 2, static_cast<std::uint32_t>(g_DrawingSettings.penWidth));

    EXPECT_EQ(g_DimArrowTemplate[1], x_Vector(2, 0.25));
    EXPECT_EQ(g_DirSignTemplate.head[2], x_Vector(60, 0));
    EXPECT_EQ(g_DirSignTemplate.pickArea[1], x_Vector(20, 200));
}

} // namespace
