// Pixel rules of lines and shapes, and XOR / NOT-XOR cancelling.
#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"

#include "tests/platform/gdi/gdi_test_support.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <limits>
#include <set>
#include <utility>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A white image; one NOT-XOR pass of a black pen turns covered pixels black,
// a second pass on the same pixel turns it white again.
struct Canvas {
    QImage image;
    CDC dc;
    explicit Canvas(int w = 40, int h = 30, QImage::Format f = QImage::Format_RGB32) : image(w, h, f)
    {
        image.fill(Qt::white);
        dc.AttachImage(&image);
    }
    std::set<std::pair<int, int>> Black()
    {
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (dc.GetPixel(x, y) == kBlack)
                    out.insert({x, y});
        return out;
    }
};

struct Primitive {
    const char* name;
    std::function<void(CDC&)> draw;
};

const POINT kZigzag[] = {{3, 3}, {30, 8}, {6, 20}, {35, 25}, {20, 2}};
const POINT kStar[] = {{20, 2}, {26, 26}, {4, 10}, {36, 10}, {12, 26}};

const Primitive kPrimitives[] = {
    {"line", [](CDC& dc) { dc.MoveTo(2, 27); dc.LineTo(37, 4); dc.LineTo(5, 6); }},
    {"rectangle", [](CDC& dc) { dc.Rectangle(4, 5, 33, 22); }},
    {"ellipse", [](CDC& dc) { dc.Ellipse(3, 2, 36, 27); }},
    {"polygon", [](CDC& dc) { dc.Polygon(kStar, 5); }},
    {"polyline", [](CDC& dc) { dc.Polyline(kZigzag, 5); }},
};

struct PenCase {
    const char* name;
    int style, width;
    int bkMode;
};
const PenCase kPens[] = {
    {"solid 1", PS_SOLID, 1, TRANSPARENT},
    {"dotted, opaque gaps", PS_DOT, 1, OPAQUE},
    {"dashed, transparent gaps", PS_DASH, 1, TRANSPARENT},
    {"solid 3", PS_SOLID, 3, OPAQUE},
};

} // namespace

TEST(CDC, DrawingTwiceInXorModesRestoresEveryPixel)
{
    const struct {
        const char* name;
        QImage::Format format;
    } kFormats[] = {{"32-bit", QImage::Format_RGB32}, {"RGB565", QImage::Format_RGB16}};
    for (const auto& f : kFormats)
        for (int rop : {R2_NOTXORPEN, R2_XORPEN, R2_NOT})
            for (const PenCase& pc : kPens)
                for (const Primitive& prim : kPrimitives) {
                    SCOPED_TRACE(testing::Message() << f.name << ", rop " << rop << ", " << pc.name << ", " << prim.name);
                    const QImage before = NoiseImage(40, 30, f.format, 7);
                    QImage img = before;
                    CDC dc;
                    ASSERT_TRUE(dc.AttachImage(&img));
                    CPen pen(pc.style, pc.width, RGB(200, 90, 30));
                    CBrush brush(RGB(20, 140, 250));
                    dc.SelectObject(&pen);
                    dc.SelectObject(&brush);
                    dc.SetBkMode(pc.bkMode);
                    dc.SetBkColor(RGB(60, 250, 120));
                    dc.SetROP2(rop);
                    prim.draw(dc);
                    EXPECT_GT(CountDifferences(before, img), 20) << "the first pass must draw";
                    prim.draw(dc);
                    EXPECT_EQ(CountDifferences(before, img), 0);
                }
}

TEST(CDC, LineToLeavesOutItsLastPixel)
{
    const struct {
        const char* name;
        POINT from, to;
    } kCases[] = {
        {"right", {2, 5}, {10, 5}},
        {"left", {10, 5}, {2, 5}},
        {"down", {4, 1}, {4, 9}},
        {"steep diagonal", {3, 2}, {7, 12}},
        {"shallow diagonal up", {20, 12}, {2, 7}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Canvas cv;
        cv.dc.SelectStockObject(BLACK_PEN);
        cv.dc.MoveTo(c.from);
        cv.dc.LineTo(c.to);
        const auto black = cv.Black();
        EXPECT_EQ(black.count({c.from.x, c.from.y}), 1u);
        EXPECT_EQ(black.count({c.to.x, c.to.y}), 0u);
        const int dx = std::abs(c.to.x - c.from.x), dy = std::abs(c.to.y - c.from.y);
        EXPECT_EQ(int(black.size()), std::max(dx, dy)) << "one pixel per step of the major axis";
        EXPECT_EQ(cv.dc.GetCurrentPosition(), CPoint(c.to));
    }
    // Horizontal from 0 to 10 sets x = 0 .. 9; backwards from 10 it sets 10 .. 1.
    Canvas cv;
    cv.dc.SelectStockObject(BLACK_PEN);
    cv.dc.MoveTo(10, 3);
    cv.dc.LineTo(0, 3);
    for (int x = 0; x <= 11; ++x)
        EXPECT_EQ(cv.dc.GetPixel(x, 3), x >= 1 && x <= 10 ? kBlack : kWhite) << x;
}

TEST(CDC, NotXorPolylineHasNoGapAtItsJoints)
{
    Canvas cv;
    cv.dc.SelectStockObject(BLACK_PEN);
    cv.dc.SetROP2(R2_NOTXORPEN);
    const POINT closed[] = {{3, 3}, {30, 8}, {6, 20}, {35, 25}, {3, 3}};
    cv.dc.Polyline(closed, 5);
    const auto black = cv.Black();
    // Every vertex, the closing one included, is drawn once: a vertex drawn
    // twice would be white again.
    for (const POINT& p : closed)
        EXPECT_EQ(black.count({p.x, p.y}), 1u) << p.x << "," << p.y;

    // The chain of LineTo calls behaves the same.
    Canvas chain;
    chain.dc.SelectStockObject(BLACK_PEN);
    chain.dc.SetROP2(R2_NOTXORPEN);
    chain.dc.MoveTo(closed[0]);
    for (int i = 1; i < 5; ++i)
        chain.dc.LineTo(closed[i]);
    EXPECT_EQ(chain.Black(), black);
}

TEST(CDC, RectangleLeavesOutRightAndBottomEdges)
{
    Canvas cv;
    cv.dc.SelectStockObject(BLACK_PEN);
    cv.dc.SelectStockObject(NULL_BRUSH);
    cv.dc.Rectangle(2, 3, 9, 7);
    std::set<std::pair<int, int>> expected;
    for (int x = 2; x <= 8; ++x)
        expected.insert({x, 3}), expected.insert({x, 6});
    for (int y = 4; y <= 5; ++y)
        expected.insert({2, y}), expected.insert({8, y});
    EXPECT_EQ(cv.Black(), expected);

    // Filled: the brush covers exactly the inside of the border.
    Canvas filled;
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    filled.dc.SelectObject(&pen);
    filled.dc.SelectStockObject(BLACK_BRUSH);
    filled.dc.Rectangle(2, 3, 9, 7);
    const std::set<std::pair<int, int>> inside{{3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4},
                                               {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}};
    EXPECT_EQ(filled.Black(), inside);
    EXPECT_EQ(filled.dc.GetPixel(8, 6), RGB(255, 0, 0));
    EXPECT_EQ(filled.dc.GetPixel(9, 6), kWhite);
}

TEST(CDC, EllipseStaysInsideItsBoxAndTouchesEverySide)
{
    Canvas cv;
    cv.dc.SelectStockObject(BLACK_PEN);
    cv.dc.SelectStockObject(NULL_BRUSH);
    cv.dc.SetROP2(R2_NOTXORPEN);
    cv.dc.Ellipse(5, 4, 26, 19);
    const auto black = cv.Black();
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (auto [x, y] : black) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        int neighbours = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                neighbours += (dx != 0 || dy != 0) && black.count({x + dx, y + dy}) != 0;
        EXPECT_GE(neighbours, 2) << "outline pixel " << x << "," << y << " must join two neighbours";
    }
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 25);
    EXPECT_EQ(minY, 4);
    EXPECT_EQ(maxY, 18);
    EXPECT_EQ(cv.dc.GetPixel(15, 11), kWhite) << "hollow brush leaves the inside";
}

TEST(CDC, PolygonFillAndOutlineCoverEachPixelOnce)
{
    Canvas cv;
    cv.dc.SelectStockObject(BLACK_PEN);
    cv.dc.SelectStockObject(BLACK_BRUSH);
    cv.dc.SetROP2(R2_NOTXORPEN);
    const POINT tri[] = {{5, 3}, {34, 12}, {10, 26}};
    cv.dc.Polygon(tri, 3);
    // Inside the triangle nothing is white: a pixel taking both fill and
    // outline would have flipped back.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const auto side = [&](POINT a, POINT b) { return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x); };
            if (side(tri[0], tri[1]) > 0 && side(tri[1], tri[2]) > 0 && side(tri[2], tri[0]) > 0) {
                EXPECT_EQ(cv.dc.GetPixel(x, y), kBlack) << x << "," << y;
            }
        }
    for (const POINT& p : tri)
        EXPECT_EQ(cv.dc.GetPixel(p), kBlack);
}

TEST(CDC, DashedPenFollowsItsPatternAndOpaqueGapsTakeTheBackground)
{
    Canvas cv(60, 4);
    CPen dot(PS_DOT, 1, kBlack);
    cv.dc.SelectObject(&dot);
    cv.dc.SetBkMode(OPAQUE);
    cv.dc.SetBkColor(RGB(255, 0, 0));
    cv.dc.MoveTo(0, 1);
    cv.dc.LineTo(12, 1);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(cv.dc.GetPixel(x, 1), (x / 3) % 2 == 0 ? kBlack : RGB(255, 0, 0)) << x;
    cv.dc.SetBkMode(TRANSPARENT);
    cv.dc.MoveTo(0, 2);
    cv.dc.LineTo(12, 2);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(cv.dc.GetPixel(x, 2), (x / 3) % 2 == 0 ? kBlack : kWhite) << x;
}

TEST(CDC, RectangleHelpersAndFocusRect)
{
    Canvas cv;
    const CRect r(2, 2, 12, 8);
    cv.dc.FillSolidRect(&r, RGB(10, 20, 30));
    EXPECT_EQ(cv.dc.GetBkColor(), RGB(10, 20, 30));
    EXPECT_EQ(cv.dc.GetPixel(11, 7), RGB(10, 20, 30));
    EXPECT_EQ(cv.dc.GetPixel(12, 7), kWhite);

    cv.dc.Draw3dRect(&r, RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(cv.dc.GetPixel(2, 2), kWhite);
    EXPECT_EQ(cv.dc.GetPixel(10, 2), kWhite);
    EXPECT_EQ(cv.dc.GetPixel(11, 2), kBlack) << "right edge runs full height";
    EXPECT_EQ(cv.dc.GetPixel(2, 7), kBlack) << "bottom edge runs full width";
    EXPECT_EQ(cv.dc.GetPixel(5, 5), RGB(10, 20, 30));

    const QImage before = cv.image.copy();
    const CRect focus(1, 1, 20, 15);
    cv.dc.DrawFocusRect(&focus);
    EXPECT_GT(CountDifferences(before, cv.image), 10);
    cv.dc.DrawFocusRect(&focus);
    EXPECT_EQ(CountDifferences(before, cv.image), 0);

    CBrush red(RGB(255, 0, 0));
    cv.dc.FrameRect(&focus, &red);
    EXPECT_EQ(cv.dc.GetPixel(19, 14), RGB(255, 0, 0));
    EXPECT_EQ(cv.dc.GetPixel(20, 14), kWhite);
}

TEST(CDC, SetPixelIgnoresRasterOperationAndClipsToTarget)
{
    Canvas cv(8, 8, QImage::Format_RGB16);
    cv.dc.SetROP2(R2_XORPEN);
    EXPECT_EQ(cv.dc.SetPixel(3, 3, RGB(255, 0, 0)), RGB(255, 0, 0));
    EXPECT_EQ(cv.dc.GetPixel(3, 3), RGB(255, 0, 0));
    const auto* row = reinterpret_cast<const std::uint16_t*>(cv.image.constScanLine(3));
    EXPECT_EQ(row[3], 0xF800);
    EXPECT_EQ(cv.dc.SetPixel(8, 3, kBlack), CLR_INVALID);
    EXPECT_EQ(cv.dc.GetPixel(-1, 0), CLR_INVALID);
    // Shapes crossing the edge are cut, not wrapped.
    cv.dc.SetROP2(R2_COPYPEN);
    cv.dc.SelectStockObject(BLACK_PEN);
    cv.dc.MoveTo(-5, 5);
    cv.dc.LineTo(20, 5);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(cv.dc.GetPixel(x, 5), kBlack);
    EXPECT_EQ(cv.dc.GetPixel(0, 6), kWhite);
}

TEST(CDC, ViewportOriginAndClipShiftAndCutDrawing)
{
    Canvas cv(20, 20);
    cv.dc.SelectStockObject(BLACK_PEN);
    cv.dc.SetViewportOrg(5, 5);
    cv.dc.SetPixel(0, 0, kBlack);
    EXPECT_EQ(cv.dc.GetPixel(0, 0), kBlack);
    cv.dc.SetViewportOrg(0, 0);
    EXPECT_EQ(cv.dc.GetPixel(5, 5), kBlack);

    const int saved = cv.dc.SaveDC();
    cv.dc.IntersectClipRect(0, 0, 10, 20);
    cv.dc.MoveTo(0, 10);
    cv.dc.LineTo(20, 10);
    EXPECT_EQ(cv.dc.GetPixel(9, 10), kBlack);
    EXPECT_EQ(cv.dc.GetPixel(10, 10), CLR_INVALID) << "outside the clip";
    ASSERT_TRUE(cv.dc.RestoreDC(saved));
    EXPECT_EQ(cv.dc.GetPixel(10, 10), kWhite) << "drawing was cut at the clip";
}

TEST(CDC, FarOffCoordinatesDrawOnlyWhatShowsAndTheSamePixels)
{
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    // A line through lattice points (i, 2i) millions of pixels long sets the
    // same pixels as a short one through the same points.
    Canvas longLine, shortLine;
    for (Canvas* cv : {&longLine, &shortLine})
        cv->dc.SelectStockObject(BLACK_PEN);
    longLine.dc.MoveTo(-1000000000, -2000000000);
    longLine.dc.LineTo(1000000000, 2000000000);
    shortLine.dc.MoveTo(0, 0);
    shortLine.dc.LineTo(20, 40);
    EXPECT_EQ(longLine.Black(), shortLine.Black());
    EXPECT_EQ(longLine.Black().count({0, 0}), 1u);
    EXPECT_EQ(longLine.Black().count({14, 29}), 1u);

    // The dash pattern runs on over the part that is cut away: pixel x is
    // step x + 999 of a dotted line (three on, three off).
    Canvas dotted;
    CPen dot(PS_DOT, 1, kBlack);
    dotted.dc.SelectObject(&dot);
    dotted.dc.SetBkMode(TRANSPARENT);
    dotted.dc.MoveTo(-999, 3);
    dotted.dc.LineTo(kMax, 3);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(dotted.dc.GetPixel(x, 3), ((x + 999) / 3) % 2 == 0 ? kBlack : kWhite) << x;

    // Shapes spanning the whole integer range; the viewport origin cannot
    // push coordinates past it.
    Canvas shapes;
    shapes.dc.SelectStockObject(BLACK_PEN);
    shapes.dc.SelectStockObject(NULL_BRUSH);
    shapes.dc.Rectangle(kMin, 2, kMax, kMax);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(shapes.dc.GetPixel(x, 2), kBlack) << x;
    EXPECT_EQ(shapes.dc.GetPixel(5, 3), kWhite);
    shapes.dc.SelectStockObject(BLACK_BRUSH);
    shapes.dc.SetViewportOrg(kMax, kMax);
    shapes.dc.Ellipse(kMin, kMin, kMax, kMax);
    shapes.dc.SetViewportOrg(0, 0);
    shapes.dc.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(shapes.dc.GetPixel(20, 20), kBlack) << "inside a huge filled circle";
    const POINT huge[] = {{kMin, kMin}, {kMax, 0}, {0, kMax}};
    shapes.dc.SetROP2(R2_NOT);
    shapes.dc.Polygon(huge, 3);
    EXPECT_EQ(shapes.dc.GetPixel(20, 20), kWhite);
    CPen wide(PS_SOLID, 5, kBlack);
    shapes.dc.SelectObject(&wide);
    shapes.dc.SetROP2(R2_COPYPEN);
    shapes.dc.MoveTo(kMin, 10);
    shapes.dc.LineTo(kMax, 10);
    EXPECT_EQ(shapes.dc.GetPixel(30, 10), kBlack);
    EXPECT_EQ(shapes.dc.GetPixel(30, 12), kBlack);
}

// A copy from an RGB565 image onto a 32-bit one widens each pixel as Qt's
// own converter does, for every 16-bit value and for rows whose width
// leaves a tail after the wide turns of the copy.
TEST(CDC, CopyFrom565WidensEveryValueAsQtDoes)
{
    for (int width : {256, 253, 17, 7}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        const int height = (65536 + width - 1) / width;
        QImage from(width, height, QImage::Format_RGB16);
        for (int i = 0; i < width * height; ++i)
            reinterpret_cast<std::uint16_t*>(from.scanLine(i / width))[i % width] =
                static_cast<std::uint16_t>(i * 40503u);
        QImage to(width, height, QImage::Format_RGB32);
        to.fill(Qt::black);
        CDC source, target;
        ASSERT_TRUE(source.AttachImage(&from));
        ASSERT_TRUE(target.AttachImage(&to));
        ASSERT_TRUE(target.BitBlt(0, 0, width, height, &source, 0, 0, SRCCOPY));
        EXPECT_EQ(CountDifferences(to, from.convertToFormat(QImage::Format_RGB32)), 0);
    }
}
