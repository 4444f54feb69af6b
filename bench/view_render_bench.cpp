// Full frames of the view at 1920x1080 with the whole reference drawing
// visible (bench/heavy_drawing.h: 100,000 lines, 20,000 arcs, 5,000
// circles and 2,000 closed polylines with bulges, read through the DXF
// importer as an open reads them), and the first 0, 10k, 30k and 60k
// shapes of it. The floor is one vectorised fill of an RGB565 buffer of the
// view's size (16-byte stores, see FillFloor), timed between the frames
// (frame, fill, frame, ...), so both see the same caches and the same load
// of the machine; its GB/s shows that it runs at memory speed. The buffer
// is the bench's own: a frame clears only where the last one drew, so a
// fill of the view's buffer would stay in the next frame. Every frame
// is timed; the first one after the import (flattening, grips and extents
// of every entity) is reported apart and against the later ones.

#include <benchmark/benchmark.h>

#include <emmintrin.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/dxf_import.h"
#include "bench/heavy_drawing.h"
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

// The first n shapes of the reference drawing, imported as Open does.
bool LoadDrawing(CZorvaDoc& doc, int n)
{
    CUnitArray units;
    const std::string text = HeavyDxfText(n);
    if (DXF_ReadBytes(text, units) == ImportResult::damaged)
        return false;
    doc.ReplaceDrawing(units);
    doc.FitViewToDrawing();
    return true;
}

// A fill of the buffer at the speed of memory: aligned 16-byte stores,
// four to a loop turn (objdump: four movaps stores a turn, 2-byte moves
// only for a tail the buffer of a frame never has).
// The buffer is 16-byte aligned.
__attribute__((noinline)) void FillFloor(std::uint8_t* bits, std::size_t bytes, std::uint16_t value)
{
    const __m128i v = _mm_set1_epi16(static_cast<short>(value));
    auto* at = reinterpret_cast<__m128i*>(bits);
    const std::size_t blocks = bytes / 64;
    for (std::size_t i = 0; i < blocks; ++i, at += 4) {
        _mm_store_si128(at, v);
        _mm_store_si128(at + 1, v);
        _mm_store_si128(at + 2, v);
        _mm_store_si128(at + 3, v);
    }
    auto* tail = reinterpret_cast<std::uint16_t*>(at);
    for (std::size_t i = 0; i < (bytes % 64) / 2; ++i)
        tail[i] = value;
}

void ShowWhole()
{
    // Lines run up to 60 mm past the area their first points lie in.
    const double w = kHeavyWidthMm + 120, h = kHeavyHeightMm + 120;
    const double scale = std::min(g_RasterWidth / w, g_RasterHeight / h);
    g_ViewScale = scale;
    g_ViewOriginX = g_RasterWidth / 2 - static_cast<int>(scale * kHeavyWidthMm / 2);
    g_ViewOriginY = g_RasterHeight / 2 + static_cast<int>(scale * kHeavyHeightMm / 2);
    TheScene().view->UpdateDashLengths();
    TheScene().view->UpdateViewCorners();
}

// This thread's processor time in ms: on a shared machine a frame of tens
// of milliseconds is often interrupted, a fill of a tenth seldom, so the
// ratio is also given in processor time.
double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
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
    const int shapes = static_cast<int>(state.range(0));
    if (!LoadDrawing(*s.doc, shapes))
        return state.SkipWithError("the reference drawing did not import");
    ShowWhole();
    const std::size_t bytes = static_cast<std::size_t>(g_RasterStride) * static_cast<std::size_t>(g_RasterHeight);
    const std::unique_ptr<std::uint8_t, decltype(&std::free)> floor(
        static_cast<std::uint8_t*>(std::aligned_alloc(64, (bytes + 63) / 64 * 64)), &std::free);
    std::uint8_t* floorBits = floor.get();
    std::memset(floorBits, 0, bytes);
    std::vector<double> frames, fills, cpuFrames, cpuFills;
    double first = 0.0;
    for (auto _ : state) {
        for (int i = 0; i <= kFrames; ++i) {
            const double c0 = CpuMs();
            const auto t0 = Clock::now();
            {
                CClientDC dc(s.view);
                benchmark::DoNotOptimize(s.view->RenderOffscreen(&dc));
            }
            const auto tFrame = Clock::now();
            const double c1 = CpuMs();
            // Warm, as the frame's own buffer would be: the frame's walk
            // through the units leaves nothing of it in the caches.
            FillFloor(floorBits, bytes, static_cast<std::uint16_t>(i + 1));
            const double c2 = CpuMs();
            const auto t1 = Clock::now();
            FillFloor(floorBits, bytes, static_cast<std::uint16_t>(i));
            benchmark::DoNotOptimize(floorBits);
            benchmark::ClobberMemory();
            const auto t2 = Clock::now();
            const double c3 = CpuMs();
            if (i == 0)
                first = Ms(t0, tFrame);
            else
                frames.push_back(Ms(t0, tFrame));
            fills.push_back(Ms(t1, t2));
            if (i > 0)
                cpuFrames.push_back(c1 - c0);
            cpuFills.push_back(c3 - c2);
            harness::PumpPosted();
        }
    }
    const double frame = Median(frames), fill = Median(fills);
    state.counters["shapes"] = shapes;
    state.counters["units"] = s.doc->m_unitList.GetSize();
    state.counters["first_frame_ms"] = first;
    state.counters["first_to_later"] = first / frame;
    state.counters["frame_ms"] = frame;
    state.counters["frame_us_per_1k_shapes"] = shapes > 0 ? 1000.0 * frame / (shapes / 1000.0) : 0.0;
    state.counters["fill_ms"] = fill;
    state.counters["fill_GB_per_s"] = static_cast<double>(bytes) / (fill * 1e6);
    state.counters["ratio_to_fill"] = frame / fill;
    state.counters["cpu_frame_ms"] = Median(cpuFrames);
    state.counters["cpu_ratio_to_fill"] = Median(cpuFrames) / Median(cpuFills);
    state.counters["goal_ratio"] = shapes == 0 ? 5 : 100;
    // With every entity drawn once: flattened curves, grips and extents.
    state.counters["rss_MB"] = ResidentMb();
    state.SetLabel("raster " + std::to_string(g_RasterWidth) + "x" + std::to_string(g_RasterHeight)
                   + " RGB565, scale " + std::to_string(g_ViewScale).substr(0, 5) + " px/mm, medians of "
                   + std::to_string(kFrames) + " frames, floor filled warm");
}

} // namespace

BENCHMARK(BM_ViewFrame)->Arg(0)->Arg(10000)->Arg(30000)->Arg(60000)->Arg(kHeavyShapes)->Iterations(1)
    ->Unit(benchmark::kMillisecond);
