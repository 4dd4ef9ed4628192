#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scoring/verdict.hpp"

namespace tarnwick {

// One result file of a comparison: its name in the table and its records.
struct ComparedRun {
    std::string name;
    std::vector<ScoredRecord> results;
};

// For each record of the first run, in its order, the index of the record with the same
// position in each run (the first run matches itself); empty where a run has none. Records
// are matched as a resumed run sets them aside: each at most once, in file order.
std::vector<std::vector<std::optional<size_t>>> matchPositions(
    const std::vector<ComparedRun>& runs);

// The runs side by side: a row per position of the first run (its id, or its FEN without one)
// with each run's points and found time, marked "*" where the runs' points differ; then each
// run's score, full-score count and mean found time over the positions all runs solved; then
// the positions only one run solved.
std::string compareText(const std::vector<ComparedRun>& runs);

}  // namespace tarnwick
