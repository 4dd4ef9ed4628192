#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

// Where a run stands, for the line at the bottom of a terminal.
struct Progress {
    size_t done = 0;
    size_t total = 0;
    size_t solved = 0;
    int64_t elapsedMs = 0;
    std::vector<size_t> searching;  // suite numbers, from 1
};

// "12/300 done, 10 solved, 0:42 elapsed, about 9:58 left; searching 13, 14": the estimate
// follows the pace so far and is left out until a position is done.
std::string progressText(const Progress& progress);

}  // namespace tarnwick
