// Writes the seed corpora: fuzz_seeds <folder> [target...] makes
// <folder>/<target>/seed-<n> from the programs' own writers.

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/fuzz/fuzz_targets.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder> [target...]\n");
        return 2;
    }
    InitFuzzProcess();
    const std::filesystem::path root = argv[1];
    for (const FuzzTarget& target : FuzzTargets()) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i)
            wanted = wanted || target.name == std::string(argv[i]);
        if (!wanted)
            continue;
        const std::filesystem::path folder = root / target.name;
        std::filesystem::create_directories(folder);
        int n = 0;
        for (const FuzzBytes& seed : target.seeds()) {
            const std::string path = (folder / ("seed-" + std::to_string(n++))).string();
            WriteFuzzFile(path, seed.data(), seed.size());
        }
        std::printf("%s: %d seeds\n", target.name, n);
    }
    return 0;
}
