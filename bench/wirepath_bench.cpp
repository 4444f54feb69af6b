// Path generation on long contours: the compensation offset of closed
// contours of 1,000 to 100,000 elements (lines, lines with tangent arcs
// kept as arcs, one run of lines, and a regular polygon), against
// Clipper's miter offset of the same polygon in the same run, and the
// whole chain-to-element-list build.
//
// Warm rows: the contour is built once, then offset repeatedly, each
// offset into a new list and followed by Clipper's offset of the same
// polygon; the ratio is of the medians of these pairs. Fresh rows: the
// first offset in a new process (this program started again with
// "--child"), against Clipper's first offset in another, the two taking
// turns; a fresh process pays for every page its heap grows by, which on
// a virtual machine can cost more than the arithmetic. Medians of 11
// pairs. Pin the program to one CPU (taskset -c) on a shared machine;
// the children inherit it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "bench/self_child.h"
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

// The lines of a regular polygon of n vertices on a circle of 200 mm,
// counter-clockwise; `chords` gets its vertices, the polygon for Clipper.
x_TrailDataArray RegularContour(int n, std::vector<x_Vector>& chords)
{
    chords.clear();
    for (int i = 0; i < n; ++i)
        chords.push_back(x_Vector::FromPolar(200.0, kTwoPi * i / n));
    return PolygonLines(chords);
}

#ifdef ZORVA_HAVE_CLIPPER
// Clipper's offset of the polygon; the time includes freeing Clipper's own
// working storage, as OffsetTrail's does, but not the result.
double ClipperOffset(const std::vector<x_Vector>& pts)
{
    ClipperLib::Path path;
    path.reserve(pts.size());
    for (const x_Vector& p : pts)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kScale)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * kScale)));
    ClipperLib::Paths solution;
    const auto t0 = Clock::now();
    {
        ClipperLib::ClipperOffset co(100.0);
        co.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        co.Execute(solution, kComp * kScale);
    }
    const double t = Seconds(t0, Clock::now());
    benchmark::DoNotOptimize(solution.data());
    return t;
}
#endif

// range(1): 0 lines, 1 lines and tangent arcs, 2 lines that are the pieces
// of one source entity (one run, as a flattened spline gives), 3 a regular
// polygon (every corner convex: Clipper's union has nothing to resolve).
void BM_OffsetAgainstClipper(benchmark::State& state)
{
    const int elements = static_cast<int>(state.range(0));
    const bool arcs = state.range(1) == 1;
    const bool oneRun = state.range(1) == 2;
    const bool regular = state.range(1) == 3;
    ResetWirepathState();
    std::vector<x_Vector> chords;
    x_TrailDataArray contour = regular ? RegularContour(elements, chords) : WavyContour(elements, arcs, chords);
    if (oneRun)
        for (x_TrailData& e : contour)
            e.group = 0;
    // Each iteration times both on the same polygon, one after the other.
    std::vector<double> ours, clipper;
    int inserted = 0;
    for (auto _ : state) {
        x_TrailDataArray out;
        const auto t0 = Clock::now();
        if (OffsetTrail(kOffsetTaper, 0, contour, out, 1, 0, kComp) != kOffsetOk)
            state.SkipWithError("offset failed");
        const double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        ours.push_back(t);
        inserted = static_cast<int>(std::count_if(out.begin(), out.end(), [](const x_TrailData& e) { return e.tag == 100; }));
#ifdef ZORVA_HAVE_CLIPPER
        clipper.push_back(ClipperOffset(chords));
#endif
    }
    state.counters["elements"] = elements;
    state.counters["inserted"] = inserted;
    state.counters["median_ms"] = Median(ours) * 1e3;
    state.counters["clipper_median_ms"] = clipper.empty() ? 0.0 : Median(clipper) * 1e3;
    state.counters["ns_per_element"] = Median(ours) / elements * 1e9;
    state.counters["ratio_to_clipper"] = clipper.empty() ? 0.0 : Median(ours) / Median(clipper);
    state.SetLabel(arcs     ? "lines and tangent arcs; Clipper gets the chords"
                   : oneRun ? "lines of one run"
                   : regular ? "regular polygon"
                             : "lines");
}

// Chain collection and contour building of a drawing of the same contour.
void BM_ChainToElementList(benchmark::State& state)
{
    const int elements = static_cast<int>(state.range(0));
    const bool arcs = state.range(1) != 0;
    WavyJob job(elements, arcs, kComp);
    PathSettings settings;
    double total = 0.0;
    for (auto _ : state) {
        TrailPath path;
        const auto t0 = Clock::now();
        const int r = CollectChainPoints(job.req, settings, job.doc, job.chain, path);
        const double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        total += t;
        if (r != 1)
            state.SkipWithError("build failed");
        job.FreeTemp();
    }
    state.counters["elements"] = elements;
    state.counters["ns_per_element"] = total / state.iterations() / elements * 1e9;
    state.SetLabel(arcs ? "lines and tangent arcs" : "lines");
}

// In the child: the first offset of the regular polygon of n vertices
// (ours or Clipper's) in this process; prints its milliseconds.
int RunChild(const std::string& what, int n)
{
    ResetWirepathState();
    std::vector<x_Vector> chords;
    const x_TrailDataArray contour = RegularContour(n, chords);
    double seconds = -1.0;
    if (what == "offset") {
        x_TrailDataArray out;
        const auto t0 = Clock::now();
        if (OffsetTrail(kOffsetTaper, 0, contour, out, 1, 0, kComp) != kOffsetOk)
            return 2;
        seconds = Seconds(t0, Clock::now());
#ifdef ZORVA_HAVE_CLIPPER
    } else if (what == "clipper") {
        seconds = ClipperOffset(chords);
#endif
    } else {
        return 2;
    }
    std::printf("%.6f\n", seconds * 1e3);
    return 0;
}

double ChildMs(const char* what, int n)
{
    const std::optional<std::string> text = RunSelf({"--child", what, std::to_string(n)});
    return text ? std::atof(LastLine(*text).c_str()) : -1.0;
}

constexpr int kFreshPairs = 11;

void BM_FreshOffsetAgainstClipper(benchmark::State& state)
{
#ifndef ZORVA_HAVE_CLIPPER
    state.SkipWithError("Clipper (libpolyclipping-dev) not installed");
    return;
#endif
    const int n = static_cast<int>(state.range(0));
    std::vector<double> ours, clipper;
    for (auto _ : state) {
        if (!TakeTurns(kFreshPairs, [n] { return ChildMs("offset", n); }, [n] { return ChildMs("clipper", n); },
                       ours, clipper))
            return state.SkipWithError("child failed");
    }
    state.counters["elements"] = n;
    state.counters["median_ms"] = Median(ours);
    state.counters["clipper_median_ms"] = Median(clipper);
    state.counters["ratio_to_clipper"] = Median(ours) / Median(clipper);
    state.SetLabel("regular polygon, first offset in a fresh process, medians of " + std::to_string(kFreshPairs)
                   + " pairs");
}

} // namespace

BENCHMARK(BM_OffsetAgainstClipper)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2, 3}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshOffsetAgainstClipper)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChainToElementList)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
