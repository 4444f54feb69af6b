#include "tests/support/fuzz/fuzz_mutate.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::size_t Pick(std::mt19937& random, std::size_t n)
{
    return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

void FlipBits(FuzzBytes& b, std::mt19937& random)
{
    for (std::size_t i = 0, n = 1 + Pick(random, 4); i < n && !b.empty(); ++i)
        b[Pick(random, b.size())] ^= std::uint8_t(1u << Pick(random, 8));
}

// Counts, lengths and coordinates at their edges.
void OverwriteWithBoundary(FuzzBytes& b, std::mt19937& random)
{
    static const std::uint64_t kIntegers[] = {0, 1, 0x7F, 0x80, 0xFF, 0xFFFE, 0xFFFF, 0x10000, 0x7FFFFFFF,
                                              0x80000000, 0xFFFFFFFE, 0xFFFFFFFF, 4000000000u,
                                              0xFFFFFFFFFFFFFFFFull};
    static const double kDoubles[] = {1e11, -1e11, 1e300, -1e308, std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN(), 0.0, -0.0, 5e-324, 2147483648.0};
    if (b.empty())
        return;
    std::uint8_t bytes[8];
    std::size_t width;
    if (Pick(random, 3) == 0) {
        const double d = kDoubles[Pick(random, std::size(kDoubles))];
        std::memcpy(bytes, &d, 8);
        width = 8;
    } else {
        const std::uint64_t v = kIntegers[Pick(random, std::size(kIntegers))];
        std::memcpy(bytes, &v, 8);
        static const std::size_t kWidths[] = {1, 2, 4, 8};
        width = kWidths[Pick(random, 4)];
    }
    const std::size_t at = Pick(random, b.size());
    for (std::size_t i = 0; i < width && at + i < b.size(); ++i)
        b[at + i] = bytes[i];
}

// A run of digits in text replaced by a number at the edge of its kind.
bool ReplaceNumberText(FuzzBytes& b, std::mt19937& random)
{
    static const char* kNumbers[] = {"1e309", "-1e309", "nan", "inf", "4294967296", "-2147483649",
                                     "99999999999999999999", "1e11", "0", "-0", "1e-320", "0x7fffffff"};
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < b.size(); ++i)
        if (b[i] >= '0' && b[i] <= '9' && (i == 0 || b[i - 1] < '0' || b[i - 1] > '9'))
            starts.push_back(i);
    if (starts.empty())
        return false;
    const std::size_t from = starts[Pick(random, starts.size())];
    std::size_t to = from;
    while (to < b.size() && ((b[to] >= '0' && b[to] <= '9') || b[to] == '.'))
        ++to;
    const std::string text = kNumbers[Pick(random, std::size(kNumbers))];
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to));
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(from), text.begin(), text.end());
    return true;
}

void Truncate(FuzzBytes& b, std::mt19937& random)
{
    b.resize(Pick(random, b.size() + 1));
}

void RepeatRun(FuzzBytes& b, std::mt19937& random)
{
    if (b.empty())
        return;
    const std::size_t from = Pick(random, b.size());
    const std::size_t n = 1 + Pick(random, std::min<std::size_t>(b.size() - from, 64));
    const FuzzBytes run(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
    const std::size_t times = 1 + Pick(random, 8);
    for (std::size_t i = 0; i < times; ++i)
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(from), run.begin(), run.end());
}

void RemoveRun(FuzzBytes& b, std::mt19937& random)
{
    if (b.empty())
        return;
    const std::size_t from = Pick(random, b.size());
    const std::size_t n = 1 + Pick(random, std::min<std::size_t>(b.size() - from, 64));
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

void Splice(FuzzBytes& b, const std::vector<FuzzBytes>& others, std::mt19937& random)
{
    if (others.empty())
        return;
    const FuzzBytes& other = others[Pick(random, others.size())];
    b.resize(Pick(random, b.size() + 1));
    b.insert(b.end(), other.begin() + static_cast<std::ptrdiff_t>(Pick(random, other.size() + 1)), other.end());
}

} // namespace

FuzzBytes MutateFuzzInput(const FuzzBytes& input, const std::vector<FuzzBytes>& others, std::mt19937& random)
{
    FuzzBytes b = input;
    for (std::size_t step = 0, steps = 1 + Pick(random, 3); step < steps; ++step) {
        switch (Pick(random, 8)) {
        case 0: FlipBits(b, random); break;
        case 1:
        case 2: OverwriteWithBoundary(b, random); break;
        case 3:
            if (!ReplaceNumberText(b, random))
                OverwriteWithBoundary(b, random);
            break;
        case 4: Truncate(b, random); break;
        case 5: RepeatRun(b, random); break;
        case 6: RemoveRun(b, random); break;
        default: Splice(b, others, random); break;
        }
    }
    return b;
}
