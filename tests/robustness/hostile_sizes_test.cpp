// Every reader over a valid input of its own writer, cut short at every
// offset and with a hostile size written over every offset (evenly spread
// ones in a long input): four-byte
// counts and lengths of 4 billion and 2 GB, and numbers in text raised to
// 4294967295. Each is refused or read cleanly (a fault ends the process),
// and no single allocation grows with the claimed size: the largest one
// stays within a small multiple of the input plus a fixed allowance.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "link/packets.h"
#include "platform/core/files.h"
#include "tests/robustness/memory_home.h"
#include "tests/support/fuzz/fuzz_targets.h"

namespace {

std::atomic<bool> g_watching{false};
std::atomic<std::size_t> g_largest{0};

void* Allocate(std::size_t size)
{
    if (g_watching.load(std::memory_order_relaxed)) {
        std::size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

// Every plain form is replaced, so new and delete stay one pair under the
// sanitizers too.
void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

namespace {

// Offsets where an input is cut or overwritten: every one up to this
// length (the runs grow with the square of it), else this many spread
// evenly.
constexpr std::size_t kEveryOffsetUpTo = 4096;
constexpr std::size_t kSpreadOffsets = 1024;
// A reader may hold a few copies of its input (raw bytes, decoded text,
// records) and fixed buffers of its own, and drawing it flattens a curve
// into at most kMaxFlattenPoints points (3 MB with the array's growth);
// all far below what a 4-billion count would ask for.
constexpr std::size_t kCopiesOfInput = 16;
constexpr std::size_t kFixedAllowance = 4u << 20;

// The dispatcher sizes its receive buffer from a file header, up to the
// largest file the protocol carries.
std::size_t FixedAllowance(const FuzzTarget& target)
{
    return std::string_view(target.name) == "dispatch" ? kFixedAllowance + kMaxFileSize : kFixedAllowance;
}

// The longest seed within the limit, as it holds the most record kinds;
// else the shortest.
FuzzBytes ValidInput(const FuzzTarget& target)
{
    const std::vector<FuzzBytes> seeds = target.seeds();
    FuzzBytes best;
    for (const FuzzBytes& seed : seeds)
        if (seed.size() <= kEveryOffsetUpTo && seed.size() > best.size())
            best = seed;
    if (best.empty())
        for (const FuzzBytes& seed : seeds)
            if (best.empty() || seed.size() < best.size())
                best = seed;
    return best;
}

std::vector<std::size_t> Offsets(std::size_t size)
{
    std::vector<std::size_t> offsets;
    const std::size_t count = size <= kEveryOffsetUpTo ? size : kSpreadOffsets;
    for (std::size_t i = 0; i < count; ++i)
        offsets.push_back(i * size / count);
    return offsets;
}

std::vector<FuzzBytes> HostileVariants(const FuzzBytes& valid)
{
    std::vector<FuzzBytes> variants;
    for (std::size_t cut : Offsets(valid.size()))
        variants.emplace_back(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(cut));
    // Little-endian 0xFFFFFFFF and 0x7FFFFFFF.
    const std::uint8_t kWords[][4] = {{0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0x7F}};
    for (const auto& word : kWords)
        for (std::size_t at : Offsets(valid.size() - 3)) {
            FuzzBytes v = valid;
            std::copy(word, word + 4, v.begin() + static_cast<std::ptrdiff_t>(at));
            variants.push_back(std::move(v));
        }
    // Numbers in text, one at a time.
    const std::string kHugeNumber = "4294967295";
    std::size_t numbers = 0;
    for (std::size_t at = 0; at < valid.size() && numbers < kSpreadOffsets;) {
        if (!std::isdigit(valid[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < valid.size() && std::isdigit(valid[end]))
            ++end;
        FuzzBytes v(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(at));
        v.insert(v.end(), kHugeNumber.begin(), kHugeNumber.end());
        v.insert(v.end(), valid.begin() + static_cast<std::ptrdiff_t>(end), valid.end());
        variants.push_back(std::move(v));
        ++numbers;
        at = end;
    }
    return variants;
}

class HostileSizes : public testing::TestWithParam<FuzzTarget> {
protected:
    void SetUp() override { InitFuzzProcess(); }
    MemoryHome home;
};

std::string TargetName(const testing::TestParamInfo<FuzzTarget>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(HostileSizes, CutAndOversizedInputsAllocateNoMoreThanTheirSize)
{
    const FuzzBytes valid = ValidInput(GetParam());
    ASSERT_GT(valid.size(), 16u);
    const std::size_t allowance = FixedAllowance(GetParam());
    const std::string current = NativePath(DataRoot()) + "/current-input";
    std::size_t worst = 0;
    for (const FuzzBytes& input : HostileVariants(valid)) {
        // Kept on disk first: a fault ends the process here.
        WriteFuzzFile(current, input.data(), input.size());
        g_largest = 0;
        g_watching = true;
        GetParam().run(input.data(), input.size());
        g_watching = false;
        const std::size_t largest = g_largest;
        EXPECT_LE(largest, kCopiesOfInput * input.size() + allowance) << "input in " << current;
        if (largest > kCopiesOfInput * input.size() + allowance)
            break;
        worst = std::max(worst, largest);
    }
    RecordProperty("largest_allocation", static_cast<int>(worst));
}

INSTANTIATE_TEST_SUITE_P(Targets, HostileSizes, testing::ValuesIn(FuzzTargets()), TargetName);
