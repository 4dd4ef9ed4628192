#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/verdict.hpp"

namespace tarnwick {

// One result file of a comparison: its name in the table and its records.
struct ComparedRun {
    std::string name;
    std::vector<ScoredRecord> results;
};

// A found time as a comparison shows it: "-" when not solved, "?" when not known, else seconds
// with two decimals followed by unit.
std::string foundTimeText(bool solved, int32_t foundTime, std::string_view unit);

// A row per position that any run holds, with the index of its record in each run; empty where
// a run lacks it. The first run's positions come first, in its order; a position it lacks
// follows in the order of the first run that holds it. Records are matched as a resumed run sets
// them aside: each at most once, in file order.
std::vector<std::vector<std::optional<size_t>>> matchPositions(
    const std::vector<ComparedRun>& runs);

// Whether the runs part on a row of matchPositions: a run lacks the position, or their points
// differ. The comparison marks such rows.
bool rowDiffers(const std::vector<ComparedRun>& runs,
                const std::vector<std::optional<size_t>>& row);

// The runs side by side: a row per position of matchPositions (its id, or its FEN without one)
// with each run's points and found time, "-" where a run lacks it, marked "*" where the runs'
// points differ or a run lacks it; then each run's positions, score and full-score count over its
// own positions; then score, full-score count and mean found time over the positions all runs
// hold (the time over those all runs solved); then the positions only one run solved.
std::string compareText(const std::vector<ComparedRun>& runs);

}  // namespace tarnwick
