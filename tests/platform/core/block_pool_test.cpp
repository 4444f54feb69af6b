#include "platform/core/block_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

struct Block {
    unsigned char* p;
    std::size_t size;
    unsigned char fill;
};

Block Allocate(std::size_t size, unsigned char fill)
{
    auto* p = static_cast<unsigned char*>(PoolAllocate(size));
    std::memset(p, fill, size);
    return {p, size, fill};
}

bool Intact(const Block& b)
{
    for (std::size_t i = 0; i < b.size; ++i)
        if (b.p[i] != b.fill)
            return false;
    return true;
}

} // namespace

// Every block is aligned and its own: after all are written, each still
// holds its pattern, also after half were freed and the space was reused.
TEST(BlockPool, BlocksAreAlignedAndDisjointAcrossReuse)
{
    const std::size_t sizes[] = {1, 16, 17, 448, 1000, kPoolLargestBlock, kPoolLargestBlock + 1, 5000};
    std::vector<Block> blocks;
    for (int i = 0; i < 24000; ++i)   // several chunks
        blocks.push_back(Allocate(sizes[i % std::size(sizes)], static_cast<unsigned char>(i)));
    for (const Block& b : blocks) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b.p) % 16, 0u);
        ASSERT_TRUE(Intact(b)) << b.size;
    }
    for (std::size_t i = 0; i < blocks.size(); i += 2)
        PoolFree(blocks[i].p, blocks[i].size);
    for (std::size_t i = 0; i < blocks.size(); i += 2)
        blocks[i] = Allocate(blocks[i].size, static_cast<unsigned char>(~blocks[i].fill));
    for (const Block& b : blocks)
        ASSERT_TRUE(Intact(b)) << b.size;
    for (const Block& b : blocks)
        PoolFree(b.p, b.size);
    // All freed: the pool starts over and still hands out good blocks.
    const Block again = Allocate(448, 0x5A);
    EXPECT_TRUE(Intact(again));
    PoolFree(again.p, again.size);
}

// Threads that allocate, write, check and free at the same time (a worker
// builds paths while the GUI thread edits) never share a block.
TEST(BlockPool, ThreadsAtOnceGetBlocksOfTheirOwn)
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    std::vector<std::thread> threads;
    std::atomic<int> broken{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &broken] {
            std::vector<Block> held;
            for (int i = 0; i < kRounds; ++i) {
                held.push_back(Allocate(16 + 16 * (i % 28), static_cast<unsigned char>(t * 64 + i % 61)));
                if (held.size() > 64 || i % 3 == 0) {
                    const Block b = held[static_cast<std::size_t>(i) % held.size()];
                    broken += Intact(b) ? 0 : 1;
                    PoolFree(b.p, b.size);
                    held[static_cast<std::size_t>(i) % held.size()] = held.back();
                    held.pop_back();
                }
            }
            for (const Block& b : held) {
                broken += Intact(b) ? 0 : 1;
                PoolFree(b.p, b.size);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(broken.load(), 0);
}
