// The whole open of the reference DXF (bench/heavy_drawing.h: 127,000
// shapes, about 20 MB): from the file to the first finished frame of a
// 1920x1080 view, the way `zorvadraw FILE` opens it (import, fit, first
// full frame with every curve flattened and every grip and box built),
// against the parse of the same file alone (DXF_ReadFile into a list).
//
// Every run is a fresh process (this program started again with
// "--child"), so the heap starts empty as when a user opens a file; the
// window system's start is not timed in either. Opens and parses
// alternate, the first of a pair alternating too, and the medians are
// compared. The file is warm in the page cache (written, then read once).
//
// "--write-dxf PATH" only writes the reference file (for
// bench/dxf_open_compare, which times whole programs).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/dxf_import.h"
#include "bench/bench_stats.h"
#include "bench/heavy_drawing.h"
#include "bench/self_child.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CClientDC.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPairs = 7;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// A document and a 1920x1080 view as the program makes them at start.
CZorvaView* MakeView(CZorvaDoc& doc)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    harness::InitGui();
    SetDefaultDrawingSettings();
    g_pDoc = &doc;
    auto* view = new CZorvaView;
    view->Create(nullptr, CString(u"bench"), WS_OVERLAPPED, RECT{0, 0, kWidth, kHeight}, nullptr, 0xE900);
    view->m_pDocument = &doc;
    view->ShowWindow(SW_SHOW);
    harness::PumpPosted();
    view->OnInitialUpdate();
    return view;
}

// In the child: "open" opens path through the view and its first frame,
// "parse" only reads it; prints "ms units".
int RunChild(const std::string& what, const std::string& path)
{
    const CString file = CString::FromUtf8(path);
    if (what == "parse") {
        CUnitArray units;
        const auto t0 = Clock::now();
        const ImportResult result = DXF_ReadFile(file, units);
        const double ms = Ms(t0, Clock::now());
        std::printf("%.3f %d\n", ms, static_cast<int>(units.GetSize()));
        return result == ImportResult::complete ? 0 : 2;
    }
    auto doc = std::make_unique<CZorvaDoc>();
    CZorvaView* view = MakeView(*doc);
    const auto t0 = Clock::now();
    // Opens, fits and renders the first frame (the view's RedrawNow).
    const bool ok = doc->OpenFromCommandLine(file);
    const double ms = Ms(t0, Clock::now());
    std::printf("%.3f %d\n", ms, static_cast<int>(doc->m_unitList.GetSize()));
    // A frame without a drawn pixel means the open did not reach the screen.
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(view->m_backBits);
    const long drawn = pixels == nullptr ? 0 : std::count_if(pixels, pixels + kWidth * kHeight, [](std::uint16_t p) { return p != 0; });
    return ok && drawn > kWidth * kHeight / 10 ? 0 : 2;
}

double SpawnChild(const std::string& what, const std::string& path)
{
    const std::optional<std::string> out = RunSelf({"--child", what, path});
    double ms = -1;
    if (out)
        std::sscanf(LastLine(*out).c_str(), "%lf", &ms);
    return ms;
}

void BM_OpenDxfToFirstFrame(benchmark::State& state)
{
    const std::string& path = HeavyDxfFile();
    if (path.empty())
        return state.SkipWithError("could not write the reference DXF");
    SpawnChild("parse", path);              // the file into the page cache
    std::vector<double> opens, parses;
    for (auto _ : state) {
        if (!TakeTurns(kPairs, [&path] { return SpawnChild("open", path); },
                       [&path] { return SpawnChild("parse", path); }, opens, parses))
            return state.SkipWithError("child failed");
    }
    state.counters["MB"] = static_cast<double>(GetFileSize(CString::FromUtf8(path))) / 1e6;
    state.counters["shapes"] = kHeavyShapes;
    state.counters["open_to_frame_ms"] = Median(opens);
    state.counters["parse_ms"] = Median(parses);
    state.counters["ratio_to_parse"] = Median(opens) / Median(parses);
    state.SetLabel("warm page cache, fresh process each, medians of " + std::to_string(kPairs) + " pairs");
}

} // namespace

BENCHMARK(BM_OpenDxfToFirstFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-dxf") == 0)
        return WriteHeavyDxf(argv[2], kHeavyShapes) ? 0 : 1;
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
