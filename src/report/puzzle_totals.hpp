#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "report/rating_fit.hpp"
#include "scoring/verdict.hpp"

namespace tarnwick {

struct PuzzleCount {
    int32_t solved = 0;
    int32_t tested = 0;
};

// The width of a rating band, and how many puzzles make a rating estimate worth giving.
inline constexpr int64_t kRatingBand = 200;
inline constexpr int32_t kPuzzlesForEstimate = 100;

// What the report says of the puzzles of a result list.
struct PuzzleTotals {
    PuzzleCount all;
    std::map<int64_t, PuzzleCount> byRating;     // by band of 200, from its lowest rating
    std::map<std::string, PuzzleCount> byTheme;  // a puzzle counts for each of its themes
    std::optional<RatingEstimate> estimate;      // empty when the fit has none to give

    // Whether there are enough puzzles for a rating estimate.
    bool estimated() const { return all.tested >= kPuzzlesForEstimate; }
};

PuzzleTotals puzzleTotals(const std::vector<ScoredRecord>& results);

// "Puzzles solved: <s> of <n> (<p>%)", the tables by rating and by theme and the rating
// estimate; "" when no record is a puzzle.
std::string puzzleText(const PuzzleTotals& totals);

}  // namespace tarnwick
