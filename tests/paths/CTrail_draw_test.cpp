// Path drawing against golden RGB565 pictures kept in data/, looked at when
// they were made; ZORVA_UPDATE_GOLDEN=1 writes them anew. Copies of what
// the tests drew are kept in the artifacts folder beside the test binary.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "geometry/CutPoint.h"
#include "geometry/DrawingSettings.h"
#include "geometry/View3D.h"
#include "platform/gdi/CDC.h"
#include "platform/testing/ui_harness.h"
#include "tests/geometry/golden_image.h"
#include "tests/paths/path_view_fixture.h"
#include "tests/wirepath/trail_fixture.h"
#include "view/path_order.h"

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void ExpectGolden(const QImage& image, const std::string& name)
{
    image.save(QString::fromStdString(ArtifactPath(name + ".png")));
    ExpectGoldenImage(image, name);
}

// A path of a lead line, a straight run, a half circle and the way back,
// with a pause after the half circle.
void FillLeadPausePath(CTrail& t)
{
    x_TrailData lead = Line(10, 2, 10, 8);
    lead.role = 1;
    t.trails[0].Add(lead);
    t.trails[0].Add(Line(10, 8, 30, 8));
    x_TrailData arc = Arc(30, 13, 5, 1.5 * kPi, 0.5 * kPi, false);
    arc.attribute = 1;
    t.trails[0].Add(arc);
    t.trails[0].Add(Line(30, 18, 10, 18));
    t.trails[0].Add(Line(10, 18, 10, 8));
    for (x_TrailData& e : t.trails[0])
        e.length = e.Length();
    t.params.threadPoint[0] = x_Vector(10, 2);
}

// A raster of the given size set up as the view's back buffer.
QImage ViewRaster(int width, int height, double scale, int originX, int originY)
{
    ResetGeometryState();
    SetDefaultDrawingSettings();
    RecreateDrawingBrushes();
    QImage image(width, height, QImage::Format_RGB16);
    image.fill(Qt::black);
    g_RasterWidth = image.width();
    g_RasterHeight = image.height();
    g_RasterStride = static_cast<int>(image.bytesPerLine());
    g_ViewClientRect = {0, 0, image.width(), image.height()};
    g_ViewScale = scale;
    g_ViewOriginX = originX;
    g_ViewOriginY = originY;
    return image;
}

// Pixels of a colour as the RGB565 raster holds it.
int PixelsOf(const QImage& image, COLORREF colour)
{
    QImage one(1, 1, QImage::Format_RGB16);
    one.setPixel(0, 0, qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == one.pixel(0, 0) ? 1 : 0;
    return n;
}

} // namespace

// The 3-D preview of a taper path (lower square 10 x 10, upper 6 x 6 inside
// it, thickness 20): dotted joins at the four corners and, as simulated
// contours, ten wire positions per side with their midline; a straight path
// is drawn at both heights and joined at its corners.
TEST(TrailDrawing, View3DJoinsAndSimulatedContours)
{
    const MachiningSettings kept = g_MachiningSettings;
    const struct { const char* name; bool taper; std::uint8_t style; bool joins, contours; } kCases[] = {
        {"path_3d_taper_contours", true, 1, true, true},
        {"path_3d_straight_twice", false, 0, true, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        QImage image = ViewRaster(160, 160, 6.0, 30, 150);
        g_curCommand = 22;
        Reset3DView();
        Update3DViewAngles();
        g_MachiningSettings.thickness = 20.0;
        g_MachiningSettings.path3dStyle = c.style;
        g_MachiningSettings.path3dLineCount = 4;        // used as 10
        g_MachiningSettings.path3dNonTaper = 1;
        CTrail t;
        for (const x_TrailData& e : Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}))
            t.trails[0].Add(e);
        if (c.taper)
            for (const x_TrailData& e : Polygon({{2, 2}, {8, 2}, {8, 8}, {2, 8}}))
                t.trails[1].Add(e);
        t.params.cutLength[0] = 40.0;
        CDC dc;
        ASSERT_TRUE(dc.AttachImage(&image));
        t.Draw(&dc, 1, image.bits());
        g_curCommand = 0;
        EXPECT_EQ(PixelsOf(image, RGB(128, 128, 255)) > 0, c.joins);
        EXPECT_EQ(PixelsOf(image, RGB(128, 128, 180)) > 0, c.contours);
        ExpectGolden(image, c.name);
    }
    g_MachiningSettings = kept;
}

TEST(TrailDrawing, LeadPauseMarkAndDirectionArrow)
{
    ResetGeometryState();
    SetDefaultDrawingSettings();
    RecreateDrawingBrushes();
    QImage image(200, 100, QImage::Format_RGB16);
    image.fill(Qt::black);
    g_RasterWidth = image.width();
    g_RasterHeight = image.height();
    g_RasterStride = static_cast<int>(image.bytesPerLine());
    g_ViewClientRect = {0, 0, image.width(), image.height()};
    g_ViewScale = 4.0;
    g_ViewOriginX = 20;
    g_ViewOriginY = image.height() - 4;
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    CTrail t;
    FillLeadPausePath(t);
    t.Draw(&dc, 1, image.bits());
    // The drawing also leaves the boxes and the extents.
    ASSERT_EQ(t.drawnPieces.GetSize(), 5);
    ExpectPoint(t.drawnPieces[2].max, 35, 18);
    ExpectPoint(t.extentMin, 10, 2);
    ExpectPoint(t.extentMax, 35, 18);
    ExpectGolden(image, "path_lead_pause_arrow");
}

// Three selected paths, a tool point at (10, 0) and a Ctrl click on the
// middle one: it becomes 1, the others follow by nearness, each gets its
// number and the travel lines join tool point, paths and tool point.
TEST_F(PathViewTest, ThreeNumberedPathsWithTravelLines)
{
    drv.reset();        // one driver at a time: it owns the document globals
    drv = std::make_unique<ViewDriver>(400, 300);
    InstallPaths();
    auto* tool = new CutPoint();
    tool->inputPoints[0] = x_Vector(10, 0);
    tool->inputPoints[1] = x_Vector(10, 0);
    tool->complete = 1;
    drv->doc->AppendUnit(tool);
    CTrail* paths[3];
    for (int i = 0; i < 3; ++i) {
        ++g_UnitIdCounter;
        paths[i] = new CTrail();
        const double x = 20 + 20 * i;
        x_TrailDataArray square = Polygon({{x, 10}, {x + 10, 10}, {x + 10, 20}, {x, 20}});
        for (const x_TrailData& e : square)
            paths[i]->trails[0].Add(e);
        paths[i]->complete = 1;
        drv->doc->AppendUnit(paths[i]);
    }
    drv->SetView(4.0, 40, 200);
    drv->Start(0);
    for (CTrail* t : paths)
        t->selected = 1;
    g_ctrlDown = 1;
    drv->ClickAt({45, 10});
    g_ctrlDown = 0;
    ASSERT_EQ(g_SelectedTrailIds.GetSize(), 3);
    EXPECT_EQ(g_SelectedTrailIds[0], paths[1]->unitId);
    int labels = 0, travel = 0;
    for (CUnit* u : drv->LiveEntities()) {
        labels += u->GetType() == 12 && u->temporary ? 1 : 0;
        travel += u->GetType() == 1 && u->role == kRoleDerivedPiece ? 1 : 0;
    }
    EXPECT_EQ(labels, 3);
    EXPECT_EQ(travel, 4);
    drv->MoveToPixel({390, 290});
    const CString shot = harness::TempPath(u"three_paths.png");
    ASSERT_TRUE(drv->Snapshot(shot));
    const std::string golden = std::string(ZORVA_TEST_DATA) + "/three_paths_frame.png";
    std::ofstream(ArtifactPath("three_paths_frame.png"), std::ios::binary) << ReadBytes(NativePath(shot));
    if (std::getenv("ZORVA_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(golden, std::ios::binary) << ReadBytes(NativePath(shot));
        GTEST_SKIP() << "golden written: " << golden;
    }
    const std::string want = ReadBytes(golden);
    ASSERT_FALSE(want.empty()) << "missing " << golden;
    EXPECT_TRUE(ReadBytes(NativePath(shot)) == want) << "the frame differs; see " << shot.ToUtf8();
}

// Passes whose allowances differ by 0.01 mm: at 10 pixels per mm the second
// pass (0.1 pixel away) is not drawn, at 200 (2 pixels) it is. The second
// pass is a 1 mm step up from the end of the first, so its pixels are told
// apart.
TEST(TrailDrawing, PassCloserThanAPixelAndAHalfIsHidden)
{
    const struct { const char* name; double scale; bool secondShown; } kCases[] = {
        {"scale 10: 0.1 pixel", 10.0, false},
        {"scale 200: 2 pixels", 200.0, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        QImage image = ViewRaster(300, 300, c.scale, 10, 250);
        CTrail t;
        t.trails[0].Add(Line(0, 0, 1, 0));
        x_TrailData second = Line(1, 0, 1, 1);
        second.subKind = 2;
        t.trails[0].Add(second);
        t.params.cuts[0].allowance = 0.02;
        t.params.cuts[1].allowance = 0.01;
        CDC dc;
        ASSERT_TRUE(dc.AttachImage(&image));
        t.Draw(&dc, 1, image.bits());
        const int x = 10 + static_cast<int>(c.scale);       // the pixel column of x = 1 mm
        int lit = 0;
        for (double y = 0.2; y < 0.8; y += 0.1)
            lit += image.pixel(x, 250 - static_cast<int>(y * c.scale)) != qRgb(0, 0, 0) ? 1 : 0;
        EXPECT_EQ(lit > 0, c.secondShown);
    }
}
