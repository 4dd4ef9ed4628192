#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tarnwick {

// Where a logistic curve fitted to solved-or-not against puzzle rating crosses 50 %: the rating
// of the puzzles the engine solves half the time, with its interval of two standard errors.
struct RatingEstimate {
    double rating = 0;
    double low = 0;
    double high = 0;
};

// Fits P(solved | rating) = 1 / (1 + exp(-(a + b (rating - mean)))) by maximum likelihood to
// (rating, solved) pairs. Empty when the fit has no crossing to give: fewer than two distinct
// ratings, every puzzle solved or none, or solving that does not fall as ratings rise.
std::optional<RatingEstimate> fitRating(const std::vector<std::pair<int32_t, bool>>& results);

}  // namespace tarnwick
