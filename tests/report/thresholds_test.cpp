#include "report/thresholds.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(Thresholds, EachOneBelowIsSaidAndMeetingOneIsEnough) {
    ReportTotals totals;
    totals.maxSum = 200;
    totals.engineSum = 83;
    totals.fullScore = 12;
    Thresholds settings;
    EXPECT_TRUE(thresholdShortfalls(totals, settings).empty());

    settings.minScorePercent = 50;
    settings.minSolved = 20;
    EXPECT_EQ(thresholdShortfalls(totals, settings),
              (std::vector<std::string>{"Below threshold: score 41.5% < 50%",
                                        "Below threshold: solved 12 < 20"}));

    settings.minScorePercent = 41.5;
    settings.minSolved = 12;
    EXPECT_TRUE(thresholdShortfalls(totals, settings).empty());

    // The score is judged as shown: 49.96% shows as 50.0%, which meets 50%.
    totals.maxSum = 10000;
    totals.engineSum = 4996;
    settings.minScorePercent = 50;
    EXPECT_TRUE(thresholdShortfalls(totals, settings).empty());

    // Nothing to score is a score of 0%.
    settings.minScorePercent = 0.5;
    EXPECT_EQ(thresholdShortfalls(ReportTotals{}, settings),
              (std::vector<std::string>{"Below threshold: score 0.0% < 0.5%",
                                        "Below threshold: solved 0 < 12"}));
}

}  // namespace
}  // namespace tarnwick
