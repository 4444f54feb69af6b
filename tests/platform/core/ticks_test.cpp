#include "platform/core/ticks.h"

#include <gtest/gtest.h>

TEST(Ticks, AdvanceAcrossASleep)
{
    const uint64_t before = GetTickCount64();
    Sleep(20);
    EXPECT_GE(GetTickCount64() - before, 20u);
}
