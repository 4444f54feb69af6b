// Text through Qt fonts.
#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"

#include "tests/platform/gdi/gdi_test_support.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

const char16_t* const kPrompt = u"直线(L)->第一个点";

int InkCount(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128)
                ++n;
    return n;
}

// Pixels dark in one image and light in the other.
int InkMismatch(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((qGray(a.pixel(x, y)) < 128) != (qGray(b.pixel(x, y)) < 128))
                ++n;
    return n;
}

QImage Reference(QImage::Format format)
{
    QImage ref(220, 40, format);
    ref.fill(Qt::white);
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(18);
    f.setKerning(false);
    QPainter p(&ref);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QPoint(5, 6 + QFontMetrics(f).ascent()), QString::fromUtf16(kPrompt));
    return ref;
}

} // namespace

TEST(CDCText, ChinesePromptDrawsTheCjkGlyphs)
{
    EnsureGuiApp();
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB16}) {
        SCOPED_TRACE(format);
        QImage img(220, 40, format);
        img.fill(Qt::white);
        CDC dc;
        ASSERT_TRUE(dc.AttachImage(&img));
        CFont font;
        font.CreateFont(-18, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 2, u"宋体");
        dc.SelectObject(&font);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkMode(TRANSPARENT);
        ASSERT_TRUE(dc.ExtTextOut(5, 6, 0, nullptr, kPrompt));

        const QImage ref = Reference(format);
        const int ink = InkCount(ref);
        ASSERT_GT(ink, 300) << "the reference itself must show glyphs";
        // The same glyphs at the same place: at most a sliver of edge pixels
        // may fall differently.
        EXPECT_LT(InkMismatch(img, ref), ink / 20);
        EXPECT_GT(InkCount(img), ink * 9 / 10);
    }
}

TEST(CDCText, AlignmentMovesTheReferencePoint)
{
    EnsureGuiApp();
    const auto inkBox = [](const QImage& img) {
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const struct {
        const char* name;
        unsigned align;
    } kCases[] = {
        {"left top", TA_LEFT | TA_TOP},
        {"centre baseline", TA_CENTER | TA_BASELINE},
        {"right bottom", TA_RIGHT | TA_BOTTOM},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        QImage img(200, 80, QImage::Format_RGB32);
        img.fill(Qt::white);
        CDC dc;
        dc.AttachImage(&img);
        CFont font;
        font.CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"宋体");
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(c.align);
        dc.TextOut(100, 40, u"HHH");
        const CSize extent = dc.GetTextExtent(u"HHH");
        TEXTMETRICW tm;
        ASSERT_TRUE(dc.GetTextMetrics(&tm));
        const QRect box = inkBox(img);
        ASSERT_FALSE(box.isEmpty());
        const int centreX = box.center().x();
        if (c.align & TA_RIGHT && (c.align & TA_CENTER) != TA_CENTER)
            EXPECT_NEAR(centreX, 100 - extent.cx / 2, 3);
        else if ((c.align & TA_CENTER) == TA_CENTER)
            EXPECT_NEAR(centreX, 100, 3);
        else
            EXPECT_NEAR(centreX, 100 + extent.cx / 2, 3);
        // Capital H sits on the baseline.
        const int baseline = box.bottom() + 1;
        if ((c.align & TA_BASELINE) == TA_BASELINE)
            EXPECT_NEAR(baseline, 40, 1);
        else if (c.align & TA_BOTTOM)
            EXPECT_NEAR(baseline, 40 - tm.tmDescent, 1);
        else
            EXPECT_NEAR(baseline, 40 + tm.tmAscent, 1);
    }
}

TEST(CDCText, OpaqueBackgroundAndDrawTextCentring)
{
    EnsureGuiApp();
    QImage img(120, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&img);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(0, 0, 255));
    dc.TextOut(2, 2, u"ab");
    EXPECT_EQ(dc.GetPixel(2, 2), RGB(0, 0, 255)) << "the text cell takes the background";

    CRect measure(0, 0, 0, 0);
    const int h = dc.DrawText(u"确定", &measure, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_GT(h, 8);
    EXPECT_EQ(measure.Height(), h);
    EXPECT_GT(measure.Width(), 10);

    dc.SetBkMode(TRANSPARENT);
    CRect area(40, 0, 120, 40);
    dc.DrawText(u"确定", &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    int minX = 999, maxX = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 40; x < 120; ++x)
            if (qGray(img.pixel(x, y)) < 128)
                minX = std::min(minX, x), maxX = std::max(maxX, x);
    ASSERT_LE(minX, maxX);
    EXPECT_NEAR((minX + maxX) / 2, 80, 3);
}
