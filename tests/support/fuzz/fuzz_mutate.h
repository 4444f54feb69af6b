#pragma once

// Small deterministic mutations for the short fuzz runs of the tests, where
// libFuzzer is not built: bit flips, boundary integers and doubles written
// over fields, hostile numbers in text, cuts, repeated and removed runs,
// and splices with another input.

#include <random>
#include <vector>

#include "tests/support/fuzz/fuzz_targets.h"

FuzzBytes MutateFuzzInput(const FuzzBytes& input, const std::vector<FuzzBytes>& others, std::mt19937& random);
