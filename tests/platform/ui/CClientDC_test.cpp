#include "platform/core/gui_post.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CWnd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// A window whose OnPaint adds a mark through its paint DC, as views do.
class Canvas : public CWnd {
public:
    void OnPaint() override
    {
        CClientDC dc(this);
        dc.SetPixel(0, 0, RGB(0, 0, 255));
        ++paints;
    }
    std::atomic<int> paints{0};
};

class ClientDC : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::PumpPosted();
        ASSERT_TRUE(canvas.Create(nullptr, CString(), WS_OVERLAPPED, RECT{0, 0, 120, 80}, nullptr, 5));
        ASSERT_NE(canvas.GetFrontImage(), nullptr);
        canvas.ShowWindow(SW_SHOW);
        harness::PumpPosted();
    }
    void TearDown() override { harness::PumpPosted(); }
    Canvas canvas;
};

TEST_F(ClientDC, WorkerDrawsWhileTheGuiThreadRepaints)
{
    constexpr int kFrames = 300;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < kFrames; ++i) {
            CClientDC dc(&canvas);
            const COLORREF c = (i % 2) != 0 ? RGB(255, 0, 0) : RGB(0, 255, 0);
            dc.FillSolidRect(CRect(10, 10, 110, 70), c);
            dc.MoveTo(0, 79);
            dc.LineTo(119, 79);
        }
        done = true;
    });
    int rounds = 0;
    while (!done.load() || PendingPostedCalls() > 0) {
        harness::PumpPosted();
        canvas.UpdateWindow(); // paint: OnPaint draws, then the image is copied out
        ++rounds;
    }
    worker.join();
    harness::PumpPosted();
    EXPECT_GT(rounds, 0);
    EXPECT_GT(canvas.paints.load(), 0);
    CClientDC dc(&canvas);
    EXPECT_EQ(dc.GetPixel(50, 40), RGB(255, 0, 0)); // the last frame (odd) drew red
}

TEST_F(ClientDC, RepaintRequestsOfManyDrawsCoalesce)
{
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) {
            CClientDC dc(&canvas);
            dc.SetPixel(i, 1, RGB(255, 255, 255));
        }
    });
    worker.join();
    EXPECT_EQ(PendingPostedCalls(), 1u);
    harness::PumpPosted();
    EXPECT_EQ(PendingPostedCalls(), 0u);
}

TEST_F(ClientDC, WindowDestroyedWhileAWorkerHoldsItsDC)
{
    std::mutex m;
    std::condition_variable cv;
    bool held = false, destroyed = false;
    std::thread worker([&] {
        CClientDC dc(&canvas);
        {
            std::unique_lock lock(m);
            held = true;
            cv.notify_all();
            cv.wait(lock, [&] { return destroyed; });
        }
        // The image outlives the window while the DC holds it.
        dc.FillSolidRect(CRect(0, 0, 20, 20), RGB(1, 2, 3));
    });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return held; });
    }
    // Destroying takes the image away from the window, not from the DC.
    canvas.DestroyWindow();
    {
        std::lock_guard lock(m);
        destroyed = true;
    }
    cv.notify_all();
    worker.join();
    harness::PumpPosted(); // the repaint request finds no window
    EXPECT_EQ(canvas.m_hWnd, nullptr);
    // A DC of a window without a widget draws nothing.
    CClientDC none(&canvas);
    EXPECT_EQ(none.GetImage(), nullptr);
}

} // namespace
