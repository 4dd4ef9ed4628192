#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/report.hpp"

namespace tarnwick {

// The results a run must reach: below either, its exit status is 3.
struct Thresholds {
    std::optional<double> minScorePercent;  // of the maximum score
    std::optional<int32_t> minSolved;       // full-score positions
};

// The lines for each threshold the totals fall below, in the order score, solved:
// "Below threshold: score 41.5% < 50%", "Below threshold: solved 12 < 20".
std::vector<std::string> thresholdShortfalls(const ReportTotals& totals,
                                             const Thresholds& thresholds);

}  // namespace tarnwick
