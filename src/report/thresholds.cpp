#include "report/thresholds.hpp"

#include <cstdio>

namespace tarnwick {

std::vector<std::string> thresholdShortfalls(const ReportTotals& totals,
                                             const RunSettings& settings) {
    std::vector<std::string> lines;
    if (settings.minScorePercent) {
        const double percent = totals.maxSum <= 0 ? 0.0 : 100.0 * totals.engineSum / totals.maxSum;
        if (percent < *settings.minScorePercent) {
            char wanted[32];
            std::snprintf(wanted, sizeof wanted, "%g", *settings.minScorePercent);
            lines.push_back("Below threshold: score " + percentOf(totals.engineSum, totals.maxSum) +
                            "% < " + wanted + "%");
        }
    }
    if (settings.minSolved && totals.fullScore < *settings.minSolved) {
        lines.push_back("Below threshold: solved " + std::to_string(totals.fullScore) + " < " +
                        std::to_string(*settings.minSolved));
    }
    return lines;
}

}  // namespace tarnwick
