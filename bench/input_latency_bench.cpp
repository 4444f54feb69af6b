// Input to screen: the real main frame and drawing view on the real clock,
// as the program runs them (Qt's posted calls, the idle timer); an input is
// injected and the time runs until the view's widget has painted. Mouse
// moves (the cursor cross follows), PgUp (one zoom step) and, for
// reference, a key typed into the command edit; on an empty drawing and on
// one of 20,000 entities.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/CZorvaApp.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/settings_file.h"
#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"
#include "platform/core/gui_post.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CDialogBar.h"
#include "platform/ui/message_box.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace {

class QtPoster : public IGuiPoster {
public:
    void Post(std::function<void()> call) override
    {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
    }
};

struct Program {
    std::unique_ptr<CZorvaApp> app;
    CMainFrame* frame = nullptr;
    CZorvaView* view = nullptr;
    CWnd* edit = nullptr;
    std::unique_ptr<QTimer> idle;
};

void EndNothing(int) {}

Program& TheProgram()
{
    static Program p = [] {
        char home[] = "/tmp/zorva-bench-XXXXXX";
        setenv("ZORVA_HOME", mkdtemp(home), 1);
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
            // An off-screen full-HD screen, so the view is the size users have.
            const std::string config = std::string(home) + "/screen.json";
            if (FILE* f = std::fopen(config.c_str(), "w")) {
                std::fputs("{\"screens\": [{\"name\": \"bench\", \"x\": 0, \"y\": 0, \"width\": 1920, "
                           "\"height\": 1200, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n",
                           f);
                std::fclose(f);
            }
            setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
        }
        harness::InitGui();
        static QtPoster poster;
        SetGuiPoster(&poster);
        ResetGeometryState();
        ResetAppState();
        ResetFrameState();
        ResetViewState();
        g_EndProcessHook = EndNothing;
        CreateDataFolders();
        ResetSettingsDefaults();
        SaveSettingsFile();
        // The splash screen is answered at once.
        ModalDialogHook old = SetModalDialogHook([](CDialog&) -> long long { return IDOK; });
        Program q;
        q.app = std::make_unique<CZorvaApp>(RUNTIME_CLASS(CZorvaView));
        q.app->InitInstance();
        SetModalDialogHook(std::move(old));
        q.frame = dynamic_cast<CMainFrame*>(q.app->m_pMainWnd);
        q.view = dynamic_cast<CZorvaView*>(q.frame->GetActiveView());
        q.edit = g_pCommandBar->GetDlgItem(1025);
        harness::UseVirtualClock(false);
        // The framework's idle work runs every 100 ms, as CWinApp::Run does.
        q.idle = std::make_unique<QTimer>();
        CZorvaApp* app = q.app.get();
        QObject::connect(q.idle.get(), &QTimer::timeout, [app] { app->OnIdle(0); });
        q.idle->start(100);
        return q;
    }();
    return p;
}

void Settle(Program& p)
{
    for (int i = 0; i < 5; ++i)
        harness::WaitForPaint(p.view, 50);
}

void LoadDrawing(Program& p, int entities)
{
    CZorvaDoc* doc = p.view->GetZorvaDocument();
    {
        std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
        for (CUnit* u : doc->m_unitList)
            delete u;
        doc->m_unitList.RemoveAll();
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> x(-200, 200), y(-120, 120), d(-5, 5), r(0.5, 8), a(0, 6.28);
        for (int i = 0; i < entities; ++i) {
            CUnit* u = nullptr;
            if (i % 6 != 5) {
                const double x0 = x(rng), y0 = y(rng);
                ++g_UnitIdCounter;
                u = new CLine(x0, y0, x0 + d(rng), y0 + d(rng));
                u->workGeometry = u->geometry;
            } else {
                const double s = a(rng);
                u = NewArc({x(rng), y(rng)}, r(rng), s, s + 2.0, 0);
            }
            u->complete = 1;
            doc->m_unitList.Add(u);
        }
    }
    doc->FitViewToDrawing();
    p.view->UpdateViewCorners();
    p.view->RedrawNow();
    Settle(p);
}

struct Samples {
    std::vector<double> ms;
    int missed = 0;
    void Add(double v)
    {
        if (v < 0)
            ++missed;
        else
            ms.push_back(v);
    }
    double Quantile(double q)
    {
        if (ms.empty())
            return -1;
        std::sort(ms.begin(), ms.end());
        return ms[static_cast<size_t>(q * double(ms.size() - 1) + 0.5)];
    }
};

void Report(benchmark::State& state, Samples& s, int entities, double goalMs)
{
    CRect client;
    TheProgram().view->GetClientRect(&client);
    state.counters["view_w"] = client.Width();
    state.counters["view_h"] = client.Height();
    state.counters["entities"] = entities;
    state.counters["median_ms"] = s.Quantile(0.5);
    state.counters["p90_ms"] = s.Quantile(0.9);
    state.counters["max_ms"] = s.Quantile(1.0);
    state.counters["no_paint"] = s.missed;
    state.counters["goal_ms"] = goalMs;
}

constexpr int kSamples = 40;
constexpr int kTimeoutMs = 1000;

void BM_MouseMoveToCrosshair(benchmark::State& state)
{
    Program& p = TheProgram();
    const int entities = static_cast<int>(state.range(0));
    LoadDrawing(p, entities);
    Samples s;
    for (auto _ : state) {
        for (int i = 0; i < kSamples; ++i) {
            harness::MouseMove(p.view, CPoint(300 + 7 * (i % 20), 200 + 5 * (i % 13)));
            // Time from the injection: the handler runs inside MouseMove.
            s.Add(harness::WaitForPaint(p.view, kTimeoutMs));
            Settle(p);
        }
    }
    Report(state, s, entities, 25);
}

void BM_PageUpZoomStep(benchmark::State& state)
{
    Program& p = TheProgram();
    const int entities = static_cast<int>(state.range(0));
    LoadDrawing(p, entities);
    harness::MouseMove(p.view, CPoint(400, 300));
    Settle(p);
    Samples s;
    for (auto _ : state) {
        for (int i = 0; i < kSamples; ++i) {
            harness::PressKey(p.edit, i % 2 == 0 ? VK_PRIOR : VK_NEXT);
            s.Add(harness::WaitForPaint(p.view, kTimeoutMs));
            Settle(p);
        }
    }
    Report(state, s, entities, 50);
}

void BM_KeyIntoCommandEdit(benchmark::State& state)
{
    Program& p = TheProgram();
    LoadDrawing(p, 0);
    Samples s;
    for (auto _ : state) {
        for (int i = 0; i < kSamples; ++i) {
            harness::PressKey(p.edit, i % 2 == 0 ? 'A' : VK_BACK);
            s.Add(harness::WaitForPaint(p.edit, kTimeoutMs));
            Settle(p);
        }
    }
    Report(state, s, 0, 0);
}

} // namespace

BENCHMARK(BM_MouseMoveToCrosshair)->Arg(0)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageUpZoomStep)->Arg(0)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyIntoCommandEdit)->Iterations(1)->Unit(benchmark::kMillisecond);
