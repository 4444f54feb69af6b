// One libFuzzer program per entry: ZORVA_FUZZ_TARGET names it.

#include <cstdio>
#include <cstdlib>

#include "tests/support/fuzz/fuzz_targets.h"

namespace {

const FuzzTarget* g_target = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzProcess();
    g_target = FindFuzzTarget(ZORVA_FUZZ_TARGET);
    if (g_target == nullptr) {
        std::fprintf(stderr, "no fuzz entry named %s\n", ZORVA_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    g_target->run(data, size);
    return 0;
}
