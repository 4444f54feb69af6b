// Pens, brushes, fonts and bitmaps by handle and through their wrappers.
#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_calls.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_qt.h"

#include "tests/platform/gdi/gdi_test_support.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>

#include <cstring>
#include <vector>

TEST(GdiObjects, ColourPackingPutsRedInTheLowByte)
{
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(GetRValue(0x00563412u), 0x12);
    EXPECT_EQ(GetGValue(0x00563412u), 0x34);
    EXPECT_EQ(GetBValue(0x00563412u), 0x56);
}

TEST(GdiObjects, SelectObjectReturnsThePreviousObject)
{
    QImage img(4, 4, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&img);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_DASH, 2, RGB(0, 0, 255));
    CPen* original = dc.SelectObject(&red);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(original->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.SelectObject(&blue), &red) << "the caller's own wrapper comes back";
    EXPECT_EQ(dc.SelectObject(original), &blue);
    EXPECT_EQ(dc.GetCurrentPen()->m_hObject, GetStockObject(BLACK_PEN));

    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    ASSERT_NE(oldBrush, nullptr);
    EXPECT_EQ(oldBrush->m_hObject, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.SelectObject(oldBrush)->m_hObject, GetStockObject(NULL_BRUSH));

    LOGPEN lp;
    ASSERT_TRUE(blue.GetLogPen(&lp));
    EXPECT_EQ(lp.lopnStyle, unsigned(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 2);
    EXPECT_EQ(lp.lopnColor, RGB(0, 0, 255));
}

TEST(GdiObjects, DeletedHandleSelectsNothingAndKeepsTheDrawingState)
{
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&img);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    dc.SelectObject(pen);
    ASSERT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(dc.SelectObject(static_cast<HGDIOBJ>(pen)), nullptr);
    // The DC still draws with what it had selected.
    dc.MoveTo(0, 1);
    dc.LineTo(3, 1);
    EXPECT_EQ(dc.GetPixel(0, 1), RGB(0, 255, 0));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN))) << "stock objects ignore deletion";
    EXPECT_NE(GetObjectKind(GetStockObject(BLACK_PEN)), GdiKind::none);
}

TEST(GdiObjects, ReplacingBrushesKeepsTheObjectCountConstant)
{
    const int start = GetGdiObjectCount();
    {
        CBrush brush;
        for (int i = 0; i < 50; ++i)
            brush.CreateSolidBrush(RGB(i, 0, 0));
        EXPECT_EQ(GetGdiObjectCount(), start + 1);
        QImage img(4, 4, QImage::Format_RGB32);
        CDC dc;
        dc.AttachImage(&img);
        CPen a(PS_SOLID, 1, 0), b(PS_SOLID, 1, 0);
        for (int i = 0; i < 20; ++i) {
            dc.SelectObject(&a);
            dc.SelectObject(&b);
        }
        dc.SelectStockObject(BLACK_PEN);
    }
    EXPECT_EQ(GetGdiObjectCount(), start);
}

TEST(GdiObjects, SystemColoursAndBrushes)
{
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    LOGBRUSH lb;
    ASSERT_EQ(GetObject(GetSysColorBrush(COLOR_BTNFACE), sizeof lb, &lb), int(sizeof lb));
    EXPECT_EQ(lb.lbStyle, BS_SOLID);
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
    LOGBRUSH hollow{BS_HOLLOW, RGB(1, 2, 3), 0};
    CBrush b;
    ASSERT_TRUE(b.CreateBrushIndirect(&hollow));
    ASSERT_TRUE(b.GetLogBrush(&lb));
    EXPECT_EQ(lb.lbStyle, BS_NULL);
}

TEST(GdiObjects, CjkFacesMapToWenQuanYi)
{
    EnsureGuiApp();
    for (const char16_t* face : {u"宋体", u"SimSun", u"黑体", u"MS Shell Dlg", u""})
        EXPECT_EQ(MapFontFace(face), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(MapFontFace(u"Arial"), QStringLiteral("Arial"));

    CFont font;
    ASSERT_TRUE(font.CreateFont(-16, 0, 0, 0, FW_BOLD, 1, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, u"宋体"));
    LOGFONTW lf;
    ASSERT_TRUE(font.GetLogFont(&lf));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"宋体");
    QFont qf;
    ASSERT_TRUE(QFontFromHandle(font, &qf));
    EXPECT_EQ(qf.pixelSize(), 16);
    EXPECT_EQ(qf.weight(), QFont::Bold);
    EXPECT_TRUE(qf.italic());
    EXPECT_EQ(QFontInfo(qf).family(), QStringLiteral("WenQuanYi Micro Hei"));

    // A positive height asks for the whole cell (ascent + descent).
    CFont cell;
    ASSERT_TRUE(cell.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 2, u"Arial"));
    QImage img(4, 4, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&img);
    dc.SelectObject(&cell);
    TEXTMETRICW tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_NEAR(tm.tmHeight, 12, 1);
}

TEST(GdiObjects, BitmapOverCallerMemoryDrawsIntoThatMemory)
{
    std::vector<std::uint16_t> pixels(8 * 4, 0); // 8 wide: rows of 16 bytes
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.AttachSection(CreateBitmapOverMemory(8, 4, 16, 16, pixels.data())));
    EXPECT_EQ(bitmap.GetBits(), pixels.data());
    EXPECT_EQ(bitmap.GetBitmapDimension(), CSize(8, 4));
    CDC mem;
    mem.CreateCompatibleDC(nullptr);
    mem.SelectObject(&bitmap);
    CBrush blue(RGB(0, 0, 255));
    const CRect r(1, 1, 3, 3);
    mem.FillRect(&r, &blue);
    EXPECT_EQ(pixels[1 * 8 + 1], 0x001F);
    EXPECT_EQ(pixels[2 * 8 + 2], 0x001F);
    EXPECT_EQ(pixels[2 * 8 + 3], 0x0000);
    EXPECT_EQ(CreateBitmapOverMemory(8, 4, 14, 16, pixels.data()), nullptr) << "rows must be 4-byte aligned";
}

TEST(GdiObjects, Rgb565SectionSharesItsBitsWithTheDrawing)
{
    BITMAPINFO info;
    info.bmiHeader.biWidth = 10;
    info.bmiHeader.biHeight = -6; // top-down
    info.bmiHeader.biBitCount = 16;
    info.bmiHeader.biCompression = BI_BITFIELDS;
    info.bmiColors[0] = 0xF800;
    info.bmiColors[1] = 0x07E0;
    info.bmiColors[2] = 0x001F;
    void* bits = nullptr;
    CBitmap section;
    ASSERT_TRUE(section.AttachSection(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits)));
    ASSERT_NE(bits, nullptr);
    const int stride = 20; // 10 pixels * 2 bytes, already a multiple of 4

    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    mem.SelectObject(&section);
    EXPECT_EQ(mem.GetPixel(0, 0), RGB(0, 0, 0)) << "a new section is zeroed";
    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    mem.SelectObject(&green);
    mem.MoveTo(1, 2);
    mem.LineTo(4, 2);
    const auto* words = static_cast<const std::uint16_t*>(bits);
    EXPECT_EQ(words[2 * stride / 2 + 1], 0x07E0);
    EXPECT_EQ(words[2 * stride / 2 + 3], 0x07E0);
    EXPECT_EQ(words[2 * stride / 2 + 4], 0x0000);

    // What a raster drawer writes into the bits is what the DC reads.
    static_cast<std::uint16_t*>(bits)[5 * stride / 2 + 9] = 0x001F;
    EXPECT_EQ(mem.GetPixel(9, 5), RGB(0, 0, 255));

    // Blitting the section onto a 32-bit image converts the colours.
    QImage window(10, 6, QImage::Format_RGB32);
    window.fill(Qt::white);
    CDC screen;
    screen.AttachImage(&window);
    ASSERT_TRUE(screen.BitBlt(0, 0, 10, 6, &mem, 0, 0, SRCCOPY));
    EXPECT_EQ(screen.GetPixel(2, 2), RGB(0, 255, 0));
    EXPECT_EQ(screen.GetPixel(9, 5), RGB(0, 0, 255));
    EXPECT_EQ(screen.GetPixel(0, 0), RGB(0, 0, 0));
    // An odd-width piece from an offset (rows of 6 bytes in the 16-bit source).
    window.fill(Qt::white);
    ASSERT_TRUE(screen.BitBlt(5, 1, 3, 2, &mem, 1, 2, SRCCOPY));
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(screen.GetPixel(5 + x, 1), mem.GetPixel(1 + x, 2)) << x;
        EXPECT_EQ(screen.GetPixel(5 + x, 2), mem.GetPixel(1 + x, 3)) << x;
    }
    EXPECT_EQ(screen.GetPixel(8, 1), RGB(255, 255, 255));
    EXPECT_EQ(screen.GetPixel(5, 1), RGB(0, 255, 0));

    info.bmiHeader.biHeight = 6; // bottom-up sections are not made
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits), nullptr);
    EXPECT_EQ(bits, nullptr);
}

// Every 16-bit value, copied onto a 32-bit image, reads as Qt's own
// conversion gives it; the odd width leaves a remainder after the 8-pixel
// steps, and a piece from the middle starts off their grid.
TEST(GdiObjects, Rgb565CopyWidensLikeQtForEveryValue)
{
    QImage source(257, 256, QImage::Format_RGB16);
    for (int y = 0; y < source.height(); ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            row[x] = static_cast<std::uint16_t>(y * 256 + x);
    }
    const QImage want = source.convertToFormat(QImage::Format_RGB32);
    QImage target(257, 256, QImage::Format_RGB32);
    target.fill(Qt::white);
    CDC dst, src;
    dst.AttachImage(&target);
    src.AttachImage(&source);
    ASSERT_TRUE(dst.BitBlt(0, 0, 257, 256, &src, 0, 0, SRCCOPY));
    EXPECT_EQ(CountDifferences(want, target), 0);

    target.fill(Qt::white);
    ASSERT_TRUE(dst.BitBlt(3, 5, 13, 7, &src, 101, 40, SRCCOPY));
    EXPECT_EQ(target.pixel(3, 5), want.pixel(101, 40));
    EXPECT_EQ(target.pixel(15, 11), want.pixel(113, 46));
    EXPECT_EQ(target.pixel(16, 11), qRgb(255, 255, 255));
}

TEST(GdiObjects, BitBltInvertTwiceRestoresAndClipsToTheSource)
{
    const QImage before = NoiseImage(16, 16, QImage::Format_RGB32, 3);
    QImage target = before;
    QImage pattern = NoiseImage(8, 8, QImage::Format_RGB32, 9);
    CDC dst, src;
    dst.AttachImage(&target);
    src.AttachImage(&pattern);
    ASSERT_TRUE(dst.BitBlt(4, 4, 20, 20, &src, 2, 2, SRCINVERT));
    EXPECT_EQ(CountDifferences(before, target) <= 6 * 6, true) << "only the 6x6 the source holds";
    EXPECT_GT(CountDifferences(before, target), 0);
    dst.BitBlt(4, 4, 20, 20, &src, 2, 2, SRCINVERT);
    EXPECT_EQ(CountDifferences(before, target), 0);
}

TEST(GdiObjects, HandleStyleCallsReachTheDc)
{
    EnsureGuiApp();
    QImage img(40, 30, QImage::Format_RGB16);
    img.fill(Qt::black);
    CDC dc;
    dc.AttachImage(&img);
    HDC hdc = dc.GetSafeHdc();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SetROP2(hdc, R2_XORPEN), R2_COPYPEN);
    POINT previous{};
    MoveToEx(hdc, 1, 1, &previous);
    LineTo(hdc, 6, 1);
    EXPECT_EQ(GetPixel(hdc, 5, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(hdc, 6, 1), RGB(0, 0, 0));
    SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, 2, 4, 8, 9);
    EXPECT_EQ(GetPixel(hdc, 7, 8), RGB(255, 255, 255));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    const char16_t text[] = u"点";
    ASSERT_TRUE(ExtTextOutW(hdc, 12, 10, 0, nullptr, text, 1, nullptr));
    int lit = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 12; x < 40; ++x)
            lit += GetPixel(hdc, x, y) != RGB(0, 0, 0);
    EXPECT_GT(lit, 10);
    SelectObject(hdc, oldPen);
    EXPECT_TRUE(DeleteObject(pen));
}
