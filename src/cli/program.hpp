#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// The whole program: reads the command line's words (the program's name excluded), then prints
// the usage, help or version, compares result files, or tests the suite and reports; returns the
// exit status.
int runTests(const std::vector<std::string>& words);

}  // namespace tarnwick
