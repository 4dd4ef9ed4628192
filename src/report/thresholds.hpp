#pragma once

#include <string>
#include <vector>

#include "report/report.hpp"
#include "run/run_settings.hpp"

namespace tarnwick {

// The lines for each threshold of the settings the totals fall below, in the order score,
// solved: "Below threshold: score 41.5% < 50%", "Below threshold: solved 12 < 20".
std::vector<std::string> thresholdShortfalls(const ReportTotals& totals,
                                             const RunSettings& settings);

}  // namespace tarnwick
