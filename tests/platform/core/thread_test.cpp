#include "platform/core/thread.h"

#include "platform/core/ticks.h"

#include <gtest/gtest.h>

#include <atomic>

TEST(CWorkerThread, StopRequestEndsAWaitingLoopAtOnce)
{
    std::atomic<int> rounds{0};
    std::atomic<uint32_t> idInBody{0};
    CWorkerThread worker;
    ASSERT_TRUE(worker.Start([&] {
        idInBody = CurrentThreadId();
        // A long poll period: the stop must not wait it out.
        while (!worker.WaitForStop(60000))
            ++rounds;
    }));
    EXPECT_FALSE(worker.Start([] {})); // one body at a time
    while (idInBody == 0)
        Sleep(1);
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_EQ(worker.ThreadId(), idInBody.load());
    EXPECT_NE(worker.ThreadId(), CurrentThreadId());

    const uint64_t before = GetTickCount64();
    worker.RequestStop();
    worker.Join();
    // Far below the 60 s period; generous for a loaded machine.
    EXPECT_LT(GetTickCount64() - before, 5000u);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(rounds, 0);
}

TEST(CWorkerThread, DestructorStopsAndJoinsAPollingBody)
{
    std::atomic<bool> ended{false};
    {
        CWorkerThread worker;
        ASSERT_TRUE(worker.Start([&] {
            while (!worker.StopRequested())
                Sleep(1);
            ended = true;
        }));
    }
    EXPECT_TRUE(ended);

    // After a join the same object starts again.
    CWorkerThread worker;
    std::atomic<int> runs{0};
    ASSERT_TRUE(worker.Start([&] { ++runs; }));
    worker.Join();
    ASSERT_TRUE(worker.Start([&] { ++runs; }));
    worker.Join();
    EXPECT_EQ(runs, 2);
}

TEST(CWorkerThread, BodyMayDestroyItsOwnWrapper)
{
    std::atomic<bool> done{false};
    auto* worker = new CWorkerThread;
    CWorkerThread* self = worker;
    ASSERT_TRUE(worker->Start([self, &done] {
        delete self;
        done = true;
    }));
    while (!done)
        Sleep(1);
}
