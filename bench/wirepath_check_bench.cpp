// The path check against building the path it checks: the chain of a long
// contour (the 10,000 and 100,000-element contours of wirepath_bench, as
// lines or with tangent arcs) collected and built at 0.1 mm of compensation,
// one surface or two (a 2-degree taper), then checked. The check may cost
// at most a tenth of the build: the ratio check/build is printed, both
// timed (thread CPU time) in the same run on the same contour in a warm
// process (the drawing built once, the path built and checked again each
// round).

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <vector>

#include "bench/wirepath_contours.h"
#include "geometry/GeometryState.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/WirepathState.h"
#include "wirepath/chain_collect.h"
#include "wirepath/path_check.h"

namespace {

constexpr double kComp = 0.1;

// The thread's CPU time: on a shared machine the wall clock also counts
// the time other programs held the core.
double CpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// range(0): elements; range(1): 0 lines, 1 lines and tangent arcs;
// range(2): 0 one surface, 1 taper.
void BM_CheckAgainstBuild(benchmark::State& state)
{
    const int elements = static_cast<int>(state.range(0));
    const bool arcs = state.range(1) != 0;
    const bool taper = state.range(2) != 0;
    WavyJob job(elements, arcs, kComp);
    PathSettings settings;
    settings.cutMode = taper ? 1 : 0;
    settings.taperAngle = 2.0;
    double build = 0.0, check = 0.0;
    for (auto _ : state) {
        TrailPath path;
        const double t0 = CpuSeconds();
        const int r = CollectChainPoints(job.req, settings, job.doc, job.chain, path);
        const double t1 = CpuSeconds();
        const PathCheckResult c = CheckFinishedPath(path);
        const double t2 = CpuSeconds();
        if (r != 1 || !c.Ok())
            state.SkipWithError("build failed or refused");
        state.SetIterationTime(t2 - t1);
        build += t1 - t0;
        check += t2 - t1;
        job.FreeTemp();
    }
    state.counters["elements"] = elements;
    state.counters["build_ms"] = build / state.iterations() * 1e3;
    state.counters["check_ms"] = check / state.iterations() * 1e3;
    state.counters["check_to_build"] = build > 0.0 ? check / build : 0.0;
    state.SetLabel(std::string(arcs ? "lines and tangent arcs" : "lines") + (taper ? ", taper" : "")
                   + "; thread CPU time, warm process, contour in memory");
}

} // namespace

BENCHMARK(BM_CheckAgainstBuild)
    ->ArgsProduct({{10000, 100000}, {0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
