#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, wrapping like a 32-bit tick counter.
uint32_t GetTickCount();
uint64_t GetTickCount64();
void Sleep(uint32_t milliseconds);
