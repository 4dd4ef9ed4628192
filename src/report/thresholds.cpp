#include "report/thresholds.hpp"

#include <cstdio>

#include "text/text.hpp"

namespace tarnwick {

std::vector<std::string> thresholdShortfalls(const ReportTotals& totals,
                                             const Thresholds& thresholds) {
    std::vector<std::string> lines;
    if (thresholds.minScorePercent) {
        const double percent = totals.maxSum <= 0 ? 0.0 : 100.0 * totals.engineSum / totals.maxSum;
        if (percent < *thresholds.minScorePercent) {
            char wanted[32];
            std::snprintf(wanted, sizeof wanted, "%g", *thresholds.minScorePercent);
            lines.push_back("Below threshold: score " + percentOf(totals.engineSum, totals.maxSum) +
                            "% < " + wanted + "%");
        }
    }
    if (thresholds.minSolved && totals.fullScore < *thresholds.minSolved) {
        lines.push_back("Below threshold: solved " + std::to_string(totals.fullScore) + " < " +
                        std::to_string(*thresholds.minSolved));
    }
    return lines;
}

}  // namespace tarnwick
