// Every fuzz entry over the inputs that once broke it (kept under
// tests/<folder>/data/fuzz/<target>/), over the seeds its programs write,
// and over a short run of mutations of those seeds. A fault ends the
// process (sanitizers, FuzzCheck); the input being run is in the file
// named at the start of each target. ZORVA_FUZZ_RUNS sets the number of
// mutations per target.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "platform/core/files.h"
#include "tests/robustness/memory_home.h"
#include "tests/support/fuzz/fuzz_mutate.h"
#include "tests/support/fuzz/fuzz_targets.h"

namespace {

constexpr int kDefaultRuns = 2000;

int MutationRuns()
{
    const char* text = std::getenv("ZORVA_FUZZ_RUNS");
    return text != nullptr && *text != '\0' ? std::atoi(text) : kDefaultRuns;
}

std::vector<std::filesystem::path> KeptInputs(const FuzzTarget& target)
{
    const std::filesystem::path folder =
        std::filesystem::path(ZORVA_SOURCE_DIR) / "tests" / target.folder / "data" / "fuzz" / target.name;
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class FuzzInputs : public testing::TestWithParam<FuzzTarget> {
protected:
    void SetUp() override
    {
        InitFuzzProcess();
        current = NativePath(DataRoot()) + "/current-input";
        std::printf("input being run: %s\n", current.c_str());
    }

    // The input is kept on disk first: a fault ends the process here.
    void Run(const FuzzBytes& input)
    {
        WriteFuzzFile(current, input.data(), input.size());
        GetParam().run(input.data(), input.size());
    }

    MemoryHome home;
    std::string current;
};

std::string TargetName(const testing::TestParamInfo<FuzzTarget>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(FuzzInputs, KeptInputsRunClean)
{
    for (const auto& file : KeptInputs(GetParam())) {
        SCOPED_TRACE(file.string());
        Run(ReadFuzzFile(file.string()));
    }
}

TEST_P(FuzzInputs, SeedsAndTheirMutationsRunClean)
{
    const std::vector<FuzzBytes> seeds = GetParam().seeds();
    ASSERT_FALSE(seeds.empty());
    for (const FuzzBytes& seed : seeds)
        Run(seed);
    std::mt19937 random(20260);
    const int runs = MutationRuns();
    for (int i = 0; i < runs; ++i)
        Run(MutateFuzzInput(seeds[static_cast<std::size_t>(i) % seeds.size()], seeds, random));
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs, testing::ValuesIn(FuzzTargets()), TargetName);
