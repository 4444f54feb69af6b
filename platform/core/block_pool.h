#pragma once

#include <cstddef>

// Blocks for objects that come by the hundred thousand (the units of a
// drawing), carved from large chunks in which the system may use huge
// pages. A fresh small page costs a page fault; filling a large drawing
// from the general heap was mostly page faults. Thread-safe. Blocks of up
// to kPoolLargestBlock bytes, 16-byte aligned; larger sizes go to the
// general heap. Free with the size that was allocated.
constexpr std::size_t kPoolLargestBlock = 1024;

void* PoolAllocate(std::size_t size);
void PoolFree(void* block, std::size_t size) noexcept;
