#include "platform/gdi/CDC.h"

#include <gtest/gtest.h>

#include <QImage>

TEST(CDC, LineToLeavesOutItsLastPixel)
{
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(Qt::black);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&img));
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    dc.SelectObject(&pen);
    dc.MoveTo(2, 5);
    dc.LineTo(10, 5);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(dc.GetPixel(x, 5), x >= 2 && x < 10 ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x;
}
