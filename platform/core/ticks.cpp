#include "platform/core/ticks.h"

#include <chrono>
#include <thread>

uint64_t GetTickCount64()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t GetTickCount()
{
    return static_cast<uint32_t>(GetTickCount64());
}

void Sleep(uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
