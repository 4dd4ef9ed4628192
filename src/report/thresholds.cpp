#include "report/thresholds.hpp"

#include <cstdio>
#include <cstdlib>

#include "text/text.hpp"

namespace tarnwick {

std::vector<std::string> thresholdShortfalls(const ReportTotals& totals,
                                             const Thresholds& thresholds) {
    std::vector<std::string> lines;
    if (thresholds.minScorePercent) {
        // Judged as shown, so that a score shown equal to the threshold is never said below it.
        const std::string shown = percentOf(totals.engineSum, totals.maxSum);
        if (std::strtod(shown.c_str(), nullptr) < *thresholds.minScorePercent) {
            char wanted[32];
            std::snprintf(wanted, sizeof wanted, "%g", *thresholds.minScorePercent);
            lines.push_back("Below threshold: score " + shown + "% < " + wanted + "%");
        }
    }
    if (thresholds.minSolved && totals.fullScore < *thresholds.minSolved) {
        lines.push_back("Below threshold: solved " + std::to_string(totals.fullScore) + " < " +
                        std::to_string(*thresholds.minSolved));
    }
    return lines;
}

}  // namespace tarnwick
