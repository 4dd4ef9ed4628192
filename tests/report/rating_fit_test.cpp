#include "report/rating_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tarnwick {
namespace {

// Results drawn from a known curve come back as its 50 % point; results with no crossing give
// no estimate.
TEST(RatingFit, FindsWhereHalfTheKnownCurveIsSolved) {
    std::vector<std::pair<int32_t, bool>> results;
    for (int32_t rating = 800; rating <= 2800; rating += 50) {
        // Twenty puzzles per rating, solved as often as the curve through 1750 says.
        const double p = 1 / (1 + std::exp((rating - 1750) / 150.0));
        const int solved = static_cast<int>(std::lround(20 * p));
        for (int i = 0; i < 20; ++i) results.emplace_back(rating, i < solved);
    }
    const std::optional<RatingEstimate> estimate = fitRating(results);
    ASSERT_TRUE(estimate);
    EXPECT_NEAR(estimate->rating, 1750, 10);
    EXPECT_LT(estimate->low, 1750);
    EXPECT_GT(estimate->high, 1750);
    EXPECT_LT(estimate->high - estimate->low, 100);

    EXPECT_FALSE(fitRating({{1500, true}, {1900, true}, {2300, true}}));
    EXPECT_FALSE(fitRating({{1500, true}, {1500, false}}));
    EXPECT_FALSE(fitRating({{1500, false}, {1900, true}}));  // harder solved: no crossing
}

}  // namespace
}  // namespace tarnwick
