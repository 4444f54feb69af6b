#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>

#include <QImage>
#include <iterator>
#include <string>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFrontImage.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CClientDC.h"
#include "tests/geometry/golden_image.h"
#include "tests/support/viewdriver/ViewDriver.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void Place(CZorvaDoc* doc, CUnit* unit)
{
    unit->complete = 1;
    doc->AppendUnit(unit);
}

// A line that counts how often the list walks ask for its type.
int g_typeQuestions = 0;

class CountingLine : public CLine {
public:
    using CLine::CLine;
    int GetType() override
    {
        ++g_typeQuestions;
        return CLine::GetType();
    }
};

} // namespace

// The first frame gives every piece of a closed shape its shape's centre as
// a grip. Each piece used to walk the whole list for its outline: a DXF of
// 24,000 polyline pieces took over ten seconds to show. Now one walk serves
// the frame.
TEST(ViewRender, FirstFrameFindsTheCentresOfShapesInOneWalk)
{
    ViewDriver drv(400, 300);
    // One closed polygon of many edges around (50, 30), and a square.
    constexpr int kEdges = 400;
    auto corner = [](int k) {
        const double a = 2 * 3.14159265358979323846 * k / kEdges;
        return x_Vector(50 + 20 * std::cos(a), 30 + 20 * std::sin(a));
    };
    auto addEdge = [&](x_Vector a, x_Vector b, int group) {
        ++g_UnitIdCounter;
        auto* edge = new CountingLine(a.x, a.y, b.x, b.y);
        edge->workGeometry = edge->geometry;
        edge->group = group;
        edge->pieceOf = 2;
        Place(drv.doc, edge);
    };
    for (int k = 0; k < kEdges; ++k)
        addEdge(corner(k), corner(k + 1), 1);
    const x_Vector square[5] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
    for (int k = 0; k < 4; ++k)
        addEdge(square[k], square[k + 1], 2);
    g_typeQuestions = 0;
    drv.SetView(3.0, 20, 280);
    // A walk per piece asks each of the polygon's edges once per edge.
    EXPECT_LT(g_typeQuestions, 10 * (kEdges + 4));
    for (CUnit* u : drv.LiveEntities()) {
        const x_Vector centre = u->group == 1 ? x_Vector(50, 30) : x_Vector(2, 2);
        EXPECT_EQ(u->refActive, 1);
        EXPECT_NEAR(u->refPoint.x, centre.x, 1e-9);
        EXPECT_NEAR(u->refPoint.y, centre.y, 1e-9);
    }
}

// A small drawing at 5 pixels per mm: axes through (100, 200), the origin
// cross, a line, a circle, an arc, the scale bar "24 mm" of 120 pixels and
// the cursor cross with its pick box at (250, 80). The golden picture was
// looked at when it was made; ZORVA_UPDATE_GOLDEN=1 writes it again.
TEST(ViewRender, SmallDrawingMatchesTheGoldenPicture)
{
    ViewDriver drv(400, 300);
    ++g_UnitIdCounter;
    auto* line = new CLine(0, 0, 40, 20);
    line->workGeometry = line->geometry;
    Place(drv.doc, line);
    Place(drv.doc, NewCircle({20, 10}, 8));
    Place(drv.doc, NewArc({-5, -10}, 10, 0.0, 3.0, 0));
    drv.SetView(5.0, 100, 200);
    drv.MoveToPixel({250, 80});
    const CString actual = harness::TempPath(u"render_small.png");
    ASSERT_TRUE(drv.Snapshot(actual));
    const std::string golden = std::string(ZORVA_TEST_DATA) + "/render_small.png";
    if (std::getenv("ZORVA_UPDATE_GOLDEN") != nullptr) {
        WriteGoldenChange(ZORVA_TEST_DATA, "render_small", QImage(QString::fromStdString(golden)),
                          QImage(QString::fromStdString(NativePath(actual))));
        std::ofstream(golden, std::ios::binary) << ReadBytes(NativePath(actual));
        GTEST_SKIP() << "golden written: " << golden;
    }
    const std::string want = ReadBytes(golden);
    ASSERT_FALSE(want.empty()) << "missing " << golden;
    EXPECT_TRUE(ReadBytes(NativePath(actual)) == want) << "the frame differs; see " << actual.ToUtf8();
}

// A frame clears and copies only where it or the last frame drew, and
// where marks went onto the window in between; what the window then shows
// must be what a frame copied whole shows.
TEST(ViewRender, FrameAfterChangesAndMarksShowsWhatAWholeFrameShows)
{
    ViewDriver drv(400, 300);
    for (int i = 0; i < 30; ++i) {
        ++g_UnitIdCounter;
        auto* line = new CLine(i, -20 + 2 * i, 40 + i, 30 - i);
        line->workGeometry = line->geometry;
        Place(drv.doc, line);
    }
    Place(drv.doc, NewCircle({20, 10}, 8));
    drv.SetView(5.0, 100, 200);
    auto shown = [&] {
        QImage copy;
        drv.view->GetFrontImage()->Read([&](const QImage& image) { copy = image.copy(); });
        return copy;
    };
    auto whole = [&] {
        QImage image(shown().size(), QImage::Format_RGB32);
        CDC dc;
        dc.AttachImage(&image);
        drv.view->RenderOffscreen(&dc);
        return image;
    };
    const struct { const char* name; std::function<void()> change; } kSteps[] = {
        {"cursor marks on the window", [&] { drv.MoveToPixel({20, 20}); drv.view->RedrawNow(); }},
        {"units gone", [&] {
             for (int i = 0; i < 20; ++i)
                 drv.doc->m_unitList[i]->deleted = 1;
             drv.view->RedrawNow();
         }},
        {"panned", [&] { drv.SetView(5.0, 160, 120); }},
        {"zoomed out to a corner", [&] { drv.SetView(0.5, 20, 280); }},
        {"all gone", [&] {
             for (CUnit* u : drv.doc->m_unitList)
                 u->deleted = 1;
             drv.view->RedrawNow();
         }},
    };
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.name);
        step.change();
        const QImage now = shown();
        EXPECT_TRUE(now == whole());
    }
}

TEST(ViewRender, ScaleBarLengthAndLabel)
{
    // L = 120000 / scale / 1000 mm, bar = trunc(scale × L) pixels.
    const struct {
        double scale;
        int mm, pixels;
    } kCases[] = {{0.05, 2400, 120}, {200, 1, 200}, {5, 24, 120}};
    for (const auto& c : kCases) {
        double length = 120000.0 / c.scale / 1000.0;
        if (static_cast<int>(length) == 0)
            length = 1.0;
        EXPECT_EQ(static_cast<int>(length), c.mm);
        EXPECT_EQ(static_cast<int>(c.scale * length), c.pixels);
    }
}

TEST(ViewRender, WearMarkersAreRedSquaresWhileTheCorrectionRuns)
{
    ViewDriver drv(200, 150);
    drv.SetView(10.0, 20, 130);
    g_WearMarkers.Add(x_Vector(5, 5));          // pixel (70, 80)
    g_WearCorrectionMode = 1;
    drv.view->RedrawNow();
    CClientDC dc(drv.view);
    EXPECT_EQ(dc.GetPixel(70, 80), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(73, 83), RGB(255, 0, 0));
    EXPECT_NE(dc.GetPixel(74, 80), RGB(255, 0, 0));
}
