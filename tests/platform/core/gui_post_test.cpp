#include "platform/core/gui_post.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Stands in for the GUI layer: keeps the calls until the test runs them.
class RecordingPoster : public IGuiPoster {
public:
    void Post(std::function<void()> call) override { calls.push_back(std::move(call)); }
    void RunAll()
    {
        for (auto& c : calls)
            c();
        calls.clear();
    }
    std::vector<std::function<void()>> calls;
};

} // namespace

TEST(GuiPost, CallsFromManyThreadsAllArriveInPerThreadOrder)
{
    constexpr int kThreads = 4;
    constexpr int kCallsEach = 2000;
    std::vector<std::vector<int>> seen(kThreads); // touched only by this thread
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([t, &seen] {
            for (int i = 0; i < kCallsEach; ++i)
                PostToGui([t, i, &seen] { seen[t].push_back(i); });
        });
    }
    // Drain while the posters run, as the GUI thread would.
    size_t ran = 0;
    while (ran < size_t{kThreads} * kCallsEach)
        ran += RunPostedCalls();
    for (auto& p : posters)
        p.join();
    EXPECT_EQ(RunPostedCalls(), 0u);

    for (int t = 0; t < kThreads; ++t) {
        SCOPED_TRACE(t);
        ASSERT_EQ(seen[t].size(), size_t{kCallsEach});
        for (int i = 0; i < kCallsEach; ++i)
            ASSERT_EQ(seen[t][i], i);
    }
}

TEST(GuiPost, CallsPostedWhileDrainingRunInTheSameDrain)
{
    std::vector<int> order;
    PostToGui([&] {
        order.push_back(1);
        PostToGui([&] { order.push_back(3); });
    });
    PostToGui([&] { order.push_back(2); });
    EXPECT_EQ(RunPostedCalls(), 3u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(GuiPost, InstalledPosterTakesQueuedCallsFirst)
{
    std::vector<int> order;
    PostToGui([&] { order.push_back(1); });
    RecordingPoster poster;
    SetGuiPoster(&poster);
    EXPECT_EQ(PendingPostedCalls(), 0u);
    PostToGui([&] { order.push_back(2); });
    EXPECT_EQ(RunPostedCalls(), 0u); // the GUI layer runs them now
    EXPECT_TRUE(order.empty());
    SetGuiPoster(nullptr);
    PostToGui([&] { order.push_back(3); });

    poster.RunAll();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(RunPostedCalls(), 1u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}
