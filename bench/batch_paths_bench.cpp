// Batch path generation over a plate of parts: each part a closed outline
// of 39 lines with a lead line from outside to the middle of its first
// edge (40 entities), on a square grid. The run is the whole batch as the
// worker does it (figures found, chains walked, paths built, cutting
// order and numbers) on a warm process, over a plate of 50 parts and one
// of 500 (about 20,000 entities), timed in turns; reported are the total
// and per-path times and the ratio of the two totals, whose floor is 10
// (linear). Building the plates is not timed; each plate is one undo
// step, as an array command leaves it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CLine.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "paths/batch_paths.h"
#include "paths/paths_install.h"
#include "platform/testing/ui_harness.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kEdges = 39;
constexpr double kPitch = 30.0;         // mm between part centres
constexpr int kRepeats = 15;    // best of: the machine may be shared

struct Bench {
    std::unique_ptr<CZorvaDoc> doc;
    CZorvaView* view = nullptr;
};

Bench& TheBench()
{
    static Bench b = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        harness::InitGui();
        SetDefaultDrawingSettings();
        InstallPaths();
        Bench s;
        s.doc = std::make_unique<CZorvaDoc>();
        g_pDoc = s.doc.get();
        s.view = new CZorvaView;
        s.view->Create(nullptr, CString(u"bench"), WS_OVERLAPPED, RECT{0, 0, 800, 600}, nullptr, 0xE900);
        s.view->m_pDocument = s.doc.get();
        harness::PumpPosted();
        return s;
    }();
    return b;
}

void AddLine(CZorvaDoc& doc, const x_Vector& a, const x_Vector& b)
{
    ++g_UnitIdCounter;
    auto* line = new CLine(a.x, a.y, b.x, b.y);
    line->complete = 1;
    line->selected = 1;
    doc.m_unitList.Add(line);
}

// A wavy outline round (cx, cy) and its lead line from 4 mm outside.
void AddPart(CZorvaDoc& doc, double cx, double cy)
{
    std::vector<x_Vector> pts;
    for (int i = 0; i < kEdges; ++i) {
        const double a = kTwoPi * i / kEdges;
        const double r = 10.0 * (1.0 + 0.12 * std::sin(5 * a));
        pts.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    for (int i = 0; i < kEdges; ++i)
        AddLine(doc, pts[i], pts[(i + 1) % kEdges]);
    const x_Vector mid = (pts[0] + pts[1]) * 0.5;
    const x_Vector out = mid + x_Vector::FromPolar(4.0, x_Vector::AngleTo(x_Vector(cx, cy), mid));
    AddLine(doc, out, mid);
}

void MakePlate(CZorvaDoc& doc, int parts)
{
    doc.FreeAllUnits();
    const int side = static_cast<int>(std::ceil(std::sqrt(parts)));
    for (int k = 0; k < parts; ++k)
        AddPart(doc, (k % side) * kPitch, (k / side) * kPitch);
    doc.CommitUndoStep(0);
}

struct RunResult {
    double seconds = 0.0;
    int paths = 0;
    int entities = 0;
};

RunResult RunOnce(int parts)
{
    Bench& b = TheBench();
    MakePlate(*b.doc, parts);
    RunResult r;
    r.entities = b.doc->m_unitList.GetSize();
    g_MachiningSettings.compensation = 0.1;
    g_MachiningSettings.batchMode = 0;
    g_MachiningSettings.multiPass = 0;
    g_TrailRunFlag = 1;
    const Clock::time_point t0 = Clock::now();
    const bool made = GenerateTrailsForSelection(*b.view, false, 1);
    // What the worker hands back: the end of the command and the order.
    std::vector<std::function<void(CZorvaView&)>> calls;
    calls.swap(b.view->m_workerOutput);
    for (auto& call : calls)
        call(*b.view);
    r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    for (CUnit* u : b.doc->m_unitList)
        r.paths += !u->deleted && u->GetType() == 66 ? 1 : 0;
    if (!made)
        std::fprintf(stderr, "batch over %d parts made nothing\n", parts);
    return r;
}

// The two plates take turns, so both see the same load of the machine.
void BestOfBoth(int smallParts, int largeParts, RunResult& small, RunResult& large)
{
    for (int i = 0; i < kRepeats; ++i) {
        const RunResult a = RunOnce(smallParts), b = RunOnce(largeParts);
        if (i == 0 || a.seconds < small.seconds)
            small = a;
        if (i == 0 || b.seconds < large.seconds)
            large = b;
    }
}

void Report(const char* name, const RunResult& r)
{
    std::printf("%-10s %6d entities %4d paths  total %8.1f ms  per path %7.3f ms\n", name, r.entities, r.paths,
                r.seconds * 1e3, r.paths > 0 ? r.seconds * 1e3 / r.paths : 0.0);
}

void BM_BatchPlate(benchmark::State& state)
{
    const int parts = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const RunResult r = RunOnce(parts);
        state.SetIterationTime(r.seconds);
        state.counters["paths"] = r.paths;
    }
}
BENCHMARK(BM_BatchPlate)->Arg(50)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRepeats);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // A warm process: one run of the large plate first, so the heap has
    // its full size before either plate is timed.
    RunOnce(500);
    RunResult small, large;
    BestOfBoth(50, 500, small, large);
    std::printf("Batch path generation, best of %d runs each, taking turns, warm process:\n", kRepeats);
    Report("50 parts", small);
    Report("500 parts", large);
    std::printf("ratio 500/50: %.2f (linear: 10, allowed: 12)\n", large.seconds / small.seconds);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
