#include "view_fixture.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

// The render reads the drawing list under the document's list lock, so a
// structural change on another thread (the path worker) never meets a
// frame half way.
TEST_F(ViewTest, RenderWaitsForTheListLock)
{
    AddLine(0, 0, 10, 0);
    std::atomic<bool> rendered{false};
    std::unique_lock<std::recursive_mutex> hold(drv->doc->m_listMutex);
    std::thread worker([&] {
        drv->view->RedrawNow();
        rendered = true;
    });
    // Long enough for an unguarded render of one line to have finished.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(rendered.load());
    hold.unlock();
    worker.join();
    EXPECT_TRUE(rendered.load());
}
