#include "platform/core/block_pool.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = kPoolLargestBlock / kGranule;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kChunkBytes = 2 * kHugePage;

struct FreeBlock {
    FreeBlock* next;
};

// A chunk starts with its link; blocks follow, one granule in.
struct Chunk {
    Chunk* next;
};
static_assert(sizeof(Chunk) <= kGranule);

// The pool's lock: one atomic exchange to take it. A drawing takes it for
// every unit it reads, where a mutex's calls cost more than the block's
// bookkeeping; the critical sections are a few instructions, so a waiter
// yields rather than sleeps.
class PoolLock {
public:
    void lock() noexcept
    {
        while (m_taken.exchange(true, std::memory_order_acquire))
            while (m_taken.load(std::memory_order_relaxed))
                std::this_thread::yield();
    }
    void unlock() noexcept { m_taken.store(false, std::memory_order_release); }

private:
    std::atomic<bool> m_taken{false};
};

// Trivially destructible, so that units freed while static objects are
// destroyed at exit still find it.
struct Pool {
    PoolLock lock;
    FreeBlock* free[kClasses] = {};
    Chunk* chunks = nullptr;            // newest first
    std::byte* next = nullptr;          // bump region of the newest chunk
    std::byte* end = nullptr;
    std::size_t live = 0;
};

constinit Pool pool;

// Aligned to a huge page, so that the whole chunk can be backed by them.
Chunk* MapChunk()
{
    const std::size_t span = kChunkBytes + kHugePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto base = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (base + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > base)
        munmap(raw, aligned - base);
    const std::uintptr_t tail = base + span - (aligned + kChunkBytes);
    if (tail > 0)
        munmap(reinterpret_cast<void*>(aligned + kChunkBytes), tail);
    // Fails harmlessly where huge pages are off.
    madvise(reinterpret_cast<void*>(aligned), kChunkBytes, MADV_HUGEPAGE);
    return reinterpret_cast<Chunk*>(aligned);
}

void StartBumpRegion(Chunk* chunk)
{
    pool.next = reinterpret_cast<std::byte*>(chunk) + kGranule;
    pool.end = reinterpret_cast<std::byte*>(chunk) + kChunkBytes;
}

// When the last block is freed (a drawing closed, nothing else alive),
// every chunk but the first goes back to the system.
void ReleaseSpareChunks()
{
    Chunk* first = pool.chunks;
    while (first->next != nullptr)
        first = first->next;
    for (Chunk* c = pool.chunks; c != first;) {
        Chunk* next = c->next;
        munmap(c, kChunkBytes);
        c = next;
    }
    pool.chunks = first;
    for (FreeBlock*& head : pool.free)
        head = nullptr;
    StartBumpRegion(first);
}

bool UseGeneralHeap(std::size_t size)
{
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer watches the general heap's blocks, not ours.
    (void)size;
    return true;
#else
    return size == 0 || size > kPoolLargestBlock;
#endif
}

} // namespace

void* PoolAllocate(std::size_t size)
{
    if (UseGeneralHeap(size))
        return ::operator new(size);
    const std::size_t cls = (size - 1) / kGranule;
    const std::size_t bytes = (cls + 1) * kGranule;
    std::lock_guard<PoolLock> hold(pool.lock);
    if (FreeBlock* block = pool.free[cls]) {
        pool.free[cls] = block->next;
        ++pool.live;
        return block;
    }
    if (static_cast<std::size_t>(pool.end - pool.next) < bytes) {
        Chunk* chunk = MapChunk();
        if (chunk == nullptr)
            throw std::bad_alloc();
        chunk->next = pool.chunks;
        pool.chunks = chunk;
        StartBumpRegion(chunk);
    }
    void* block = pool.next;
    pool.next += bytes;
    ++pool.live;
    return block;
}

void PoolFree(void* block, std::size_t size) noexcept
{
    if (block == nullptr)
        return;
    if (UseGeneralHeap(size)) {
        ::operator delete(block, size);
        return;
    }
    const std::size_t cls = (size - 1) / kGranule;
    std::lock_guard<PoolLock> hold(pool.lock);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = pool.free[cls];
    pool.free[cls] = freed;
    if (--pool.live == 0)
        ReleaseSpareChunks();
}
