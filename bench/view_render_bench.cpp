// Full frames of the view at 1920x1080 with the whole drawing visible:
// 100,000 lines, 20,000 arcs and 7,000 circles, and the same mix at 0, 10k,
// 30k and 60k entities. The floor is one std::fill_n over the view's own
// RGB565 back buffer, timed between the frames (frame, fill, frame, ...),
// so both see the same caches and the same load of the machine. Every
// frame is timed; the first one (flattening, grips and extents of every
// entity) is reported apart.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CClientDC.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr double kDrawingW = 1000.0;    // mm
constexpr double kDrawingH = 560.0;
constexpr int kFrames = 30;

struct Scene {
    std::unique_ptr<CZorvaDoc> doc;
    CZorvaView* view = nullptr;
};

Scene& TheScene()
{
    static Scene scene = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        harness::InitGui();
        SetDefaultDrawingSettings();
        Scene s;
        s.doc = std::make_unique<CZorvaDoc>();
        g_pDoc = s.doc.get();
        s.view = new CZorvaView;
        s.view->Create(nullptr, CString(u"bench"), WS_OVERLAPPED, RECT{0, 0, kWidth, kHeight}, nullptr, 0xE900);
        s.view->m_pDocument = s.doc.get();
        s.view->ShowWindow(SW_SHOW);
        harness::PumpPosted();
        s.view->OnInitialUpdate();
        return s;
    }();
    return scene;
}

// The first n entities of one fixed drawing: lines, arcs and circles in the
// proportions 100 : 20 : 7.
void LoadDrawing(CZorvaDoc& doc, int n)
{
    for (CUnit* u : doc.m_unitList)
        delete u;
    doc.m_unitList.RemoveAll();
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> x(0, kDrawingW), y(0, kDrawingH), d(-5, 5), r(0.5, 8);
    std::uniform_real_distribution<double> a(0, 6.28);
    for (int i = 0; i < n; ++i) {
        CUnit* u = nullptr;
        const int kind = i % 127;
        ++g_UnitIdCounter;
        if (kind < 100) {
            const double x0 = x(rng), y0 = y(rng);
            u = new CLine(x0, y0, x0 + d(rng), y0 + d(rng));
            u->workGeometry = u->geometry;
        } else if (kind < 120) {
            const double start = a(rng);
            u = NewArc({x(rng), y(rng)}, r(rng), start, start + 2.0, 0);
        } else {
            u = NewCircle({x(rng), y(rng)}, r(rng));
        }
        u->complete = 1;
        doc.m_unitList.Add(u);
    }
}

void ShowWhole()
{
    const double scale = std::min(g_RasterWidth / kDrawingW, g_RasterHeight / kDrawingH) * 0.95;
    g_ViewScale = scale;
    g_ViewOriginX = g_RasterWidth / 2 - static_cast<int>(scale * kDrawingW / 2);
    g_ViewOriginY = g_RasterHeight / 2 + static_cast<int>(scale * kDrawingH / 2);
    TheScene().view->UpdateDashLengths();
    TheScene().view->UpdateViewCorners();
}

double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Resident memory of this process in MB (/proc/self/status).
double ResidentMb()
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            kb = std::atol(line + 6);
    std::fclose(f);
    return kb / 1024.0;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void BM_ViewFrame(benchmark::State& state)
{
    Scene& s = TheScene();
    const int entities = static_cast<int>(state.range(0));
    LoadDrawing(*s.doc, entities);
    ShowWhole();
    std::vector<double> frames, fills;
    double first = 0.0;
    for (auto _ : state) {
        for (int i = 0; i <= kFrames; ++i) {
            const auto t0 = Clock::now();
            {
                CClientDC dc(s.view);
                benchmark::DoNotOptimize(s.view->RenderOffscreen(&dc));
            }
            const auto t1 = Clock::now();
            auto* words = reinterpret_cast<std::uint16_t*>(s.view->m_backBits);
            std::fill_n(words, static_cast<std::size_t>(g_RasterStride / 2) * g_RasterHeight,
                        static_cast<std::uint16_t>(i));
            benchmark::DoNotOptimize(words);
            benchmark::ClobberMemory();
            const auto t2 = Clock::now();
            if (i == 0)
                first = Ms(t0, t1);
            else
                frames.push_back(Ms(t0, t1));
            fills.push_back(Ms(t1, t2));
        }
        harness::PumpPosted();
    }
    const double frame = Median(frames), fill = Median(fills);
    state.counters["entities"] = entities;
    state.counters["first_frame_ms"] = first;
    state.counters["frame_ms"] = frame;
    state.counters["fill_ms"] = fill;
    state.counters["ratio_to_fill"] = frame / fill;
    state.counters["goal_ratio"] = entities == 0 ? 5 : 100;
    // With every entity drawn once: flattened curves, grips and extents.
    state.counters["rss_MB"] = ResidentMb();
    state.SetLabel("raster " + std::to_string(g_RasterWidth) + "x" + std::to_string(g_RasterHeight)
                   + " RGB565, medians of " + std::to_string(kFrames) + " frames, warm caches");
}

} // namespace

BENCHMARK(BM_ViewFrame)->Arg(0)->Arg(10000)->Arg(30000)->Arg(60000)->Arg(127000)->Iterations(1)
    ->Unit(benchmark::kMillisecond);
