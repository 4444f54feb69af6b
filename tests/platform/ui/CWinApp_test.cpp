#include "platform/core/gui_post.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CWinApp.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class LoopApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        if (!run)
            return FALSE;
        auto* frame = new CFrameWnd;
        frame->m_bAutoDelete = true;
        if (!frame->LoadFrame(0))
            return FALSE;
        m_pMainWnd = frame;
        // Arrive from the message loop: a worker's call, a timer, then the close.
        std::thread worker([] { PostToGui([] { order += "posted "; }); });
        worker.join();
        frame->SetTimer(1, 1);
        frame->PostMessage(WM_CLOSE);
        return TRUE;
    }
    int ExitInstance() override
    {
        order += "exit";
        return 3;
    }
    bool run = true;
    static inline std::string order;
};

class Application : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::PumpPosted();
        LoopApp::order.clear();
    }
    void TearDown() override { harness::UseVirtualClock(true); }
};

TEST_F(Application, MessageLoopRunsPostedCallsUntilTheMainWindowCloses)
{
    harness::UseVirtualClock(false);
    LoopApp app;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 3);
    EXPECT_EQ(LoopApp::order, "posted exit");
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(harness::PendingTimers(), 0); // the frame's timer went with it
}

TEST_F(Application, RefusedStartRunsNoLoop)
{
    LoopApp app;
    app.run = false;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 3);
    EXPECT_EQ(LoopApp::order, "exit");
    EXPECT_EQ(AfxGetApp(), &app);
}

} // namespace
