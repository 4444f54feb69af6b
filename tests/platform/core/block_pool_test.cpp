#include "platform/core/block_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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
