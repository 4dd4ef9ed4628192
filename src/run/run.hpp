#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// Exit statuses of a run.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;         // engine failed to start or answer, exited early, or
                                               // there was nothing to test
inline constexpr int kExitUsage = 2;           // unusable command line
inline constexpr int kExitBelowThreshold = 3;  // the results fell below --min-score or --min-solved

// The whole program: reads the command line's words (the program's name excluded), tests the
// suite and reports; returns the exit status.
int runTests(const std::vector<std::string>& words);

}  // namespace tarnwick
