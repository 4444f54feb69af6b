// Path generation on long contours: the compensation offset of closed
// contours of 1,000 to 100,000 elements (lines, and lines with tangent
// arcs kept as arcs), against Clipper's miter offset of the same polygon
// in the same run, and the whole chain-to-element-list build. Each timing
// is of a warm process: the contour is built once, then offset repeatedly.

#include <benchmark/benchmark.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <vector>

#include "bench/wirepath_contours.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/WirepathState.h"
#include "wirepath/chain_collect.h"
#include "wirepath/trail_offset.h"

#ifdef ZORVA_HAVE_CLIPPER
#include <polyclipping/clipper.hpp>
#endif

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kComp = 0.1;
constexpr double kScale = 1e8;              // Clipper units per mm

double Seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

#ifdef ZORVA_HAVE_CLIPPER
double ClipperOffset(const std::vector<x_Vector>& pts)
{
    ClipperLib::Path path;
    path.reserve(pts.size());
    for (const x_Vector& p : pts)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kScale)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * kScale)));
    const auto t0 = Clock::now();
    ClipperLib::ClipperOffset co(100.0);
    co.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths solution;
    co.Execute(solution, kComp * kScale);
    benchmark::DoNotOptimize(solution.data());
    return Seconds(t0, Clock::now());
}
#endif

// range(1): 0 lines, 1 lines and tangent arcs, 2 lines that are the pieces
// of one source entity (one run, as a flattened spline gives).
void BM_OffsetAgainstClipper(benchmark::State& state)
{
    const int elements = static_cast<int>(state.range(0));
    const bool arcs = state.range(1) == 1;
    const bool oneRun = state.range(1) == 2;
    ResetWirepathState();
    std::vector<x_Vector> chords;
    x_TrailDataArray contour = WavyContour(elements, arcs, chords);
    if (oneRun)
        for (x_TrailData& e : contour)
            e.group = 0;
    x_TrailDataArray out;
    double ours = 0.0, clipper = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (OffsetTrail(kOffsetTaper, 0, contour, out, 1, 0, kComp) != kOffsetOk)
            state.SkipWithError("offset failed");
        const double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        ours += t;
#ifdef ZORVA_HAVE_CLIPPER
        clipper += ClipperOffset(chords);
#endif
    }
    int inserted = 0;
    for (const x_TrailData& e : out)
        inserted += e.tag == 100;
    state.counters["elements"] = elements;
    state.counters["inserted"] = inserted;
    state.counters["ns_per_element"] = ours / state.iterations() / elements * 1e9;
    state.counters["ratio_to_clipper"] = clipper > 0.0 ? ours / clipper : 0.0;
    state.SetLabel(arcs ? "lines and tangent arcs; Clipper gets the chords" : oneRun ? "lines of one run" : "lines");
}

// Chain collection and contour building of a drawing of the same contour.
void BM_ChainToElementList(benchmark::State& state)
{
    const int elements = static_cast<int>(state.range(0));
    const bool arcs = state.range(1) != 0;
    ResetGeometryState();
    ResetWirepathState();
    std::vector<x_Vector> chords;
    const x_TrailDataArray contour = WavyContour(elements, arcs, chords);
    CUnitDocument doc;
    CArray<create_trail_pt_t> chain;
    WavyDrawing(contour, doc, chain);
    const ChainRequest req = WavyRequest(contour, kComp);
    PathSettings settings;
    double total = 0.0;
    for (auto _ : state) {
        TrailPath path;
        const auto t0 = Clock::now();
        const int r = CollectChainPoints(req, settings, doc, chain, path);
        const double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        total += t;
        if (r != 1)
            state.SkipWithError("build failed");
        for (int i = 0; i < doc.m_tempList.GetSize(); ++i)
            delete doc.m_tempList[i];
        doc.m_tempList.RemoveAll();
    }
    for (int i = 0; i < doc.m_unitList.GetSize(); ++i)
        delete doc.m_unitList[i];
    state.counters["elements"] = elements;
    state.counters["ns_per_element"] = total / state.iterations() / elements * 1e9;
    state.SetLabel(arcs ? "lines and tangent arcs" : "lines");
}

} // namespace

BENCHMARK(BM_OffsetAgainstClipper)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChainToElementList)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
