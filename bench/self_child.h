#pragma once

// Benchmarks that time work in a fresh process start themselves again as a
// child ("--child ...") and read what it prints.

#include <optional>
#include <string>
#include <vector>

// The path of this program's executable.
std::string SelfExecutable();

// Runs this program again with args; its standard output when it exited
// with 0, else nothing.
std::optional<std::string> RunSelf(const std::vector<std::string>& args);

// The last line of a child's output (messages of libraries may come first).
std::string LastLine(const std::string& text);
