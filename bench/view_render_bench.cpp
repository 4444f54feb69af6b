// A full frame of the view: 100,000 lines and 20,000 arcs at 1920x1080,
// with the whole drawing visible and zoomed in on a tenth of its area,
// against filling the same RGB565 back buffer once (the memory floor).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CClientDC.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kLines = 100000;
constexpr int kArcs = 20000;
constexpr double kDrawingW = 1000.0;    // mm
constexpr double kDrawingH = 560.0;

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
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> x(0, kDrawingW), y(0, kDrawingH), d(-5, 5), r(0.5, 8);
        std::uniform_real_distribution<double> a(0, 6.28);
        for (int i = 0; i < kLines; ++i) {
            const double x0 = x(rng), y0 = y(rng);
            auto* line = new CLine(x0, y0, x0 + d(rng), y0 + d(rng));
            line->workGeometry = line->geometry;
            line->complete = 1;
            s.doc->m_unitList.Add(line);
        }
        for (int i = 0; i < kArcs; ++i) {
            const double start = a(rng);
            CArc* arc = NewArc({x(rng), y(rng)}, r(rng), start, start + 2.0, 0);
            arc->complete = 1;
            s.doc->m_unitList.Add(arc);
        }
        return s;
    }();
    return scene;
}

void ShowWhole(double zoom)
{
    const double scale = std::min(kWidth / kDrawingW, kHeight / kDrawingH) * 0.95 * zoom;
    g_ViewScale = scale;
    g_ViewOriginX = kWidth / 2 - static_cast<int>(scale * kDrawingW / 2);
    g_ViewOriginY = kHeight / 2 + static_cast<int>(scale * kDrawingH / 2);
    TheScene().view->UpdateViewCorners();
}

double FillFloorMs()
{
    std::vector<std::uint16_t> buffer(static_cast<std::size_t>(kWidth) * kHeight);
    constexpr int kRounds = 200;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) {
        std::memset(buffer.data(), i & 0xFF, buffer.size() * sizeof(std::uint16_t));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count() / kRounds;
}

void RenderFrames(benchmark::State& state, double zoom)
{
    Scene& s = TheScene();
    ShowWhole(zoom);
    // The first frame brings every entity's extents up to date.
    {
        CClientDC dc(s.view);
        s.view->RenderOffscreen(&dc);
    }
    double totalMs = 0.0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        CClientDC dc(s.view);
        benchmark::DoNotOptimize(s.view->RenderOffscreen(&dc));
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    harness::PumpPosted();
    const double perFrame = totalMs / static_cast<double>(state.iterations());
    const double floor = FillFloorMs();
    state.counters["ms_per_frame"] = perFrame;
    state.counters["fill_floor_ms"] = floor;
    state.counters["ratio_to_fill"] = perFrame / floor;
    state.SetLabel("1920x1080 RGB565, 100000 lines + 20000 arcs");
}

void BM_ViewRenderWholeDrawing(benchmark::State& state) { RenderFrames(state, 1.0); }
// A tenth of the drawing's area: each axis zoomed by the square root of 10.
void BM_ViewRenderTenthZoomedIn(benchmark::State& state) { RenderFrames(state, std::sqrt(10.0)); }

void BM_BackBufferFillFloor(benchmark::State& state)
{
    std::vector<std::uint16_t> buffer(static_cast<std::size_t>(kWidth) * kHeight);
    int i = 0;
    for (auto _ : state) {
        std::memset(buffer.data(), ++i & 0xFF, buffer.size() * sizeof(std::uint16_t));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_ViewRenderWholeDrawing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewRenderTenthZoomedIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BackBufferFillFloor)->Unit(benchmark::kMillisecond);
