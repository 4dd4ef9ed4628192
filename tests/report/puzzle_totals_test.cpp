#include "report/puzzle_totals.hpp"

#include <gtest/gtest.h>

#include <climits>

#include "scoring/position_scorer.hpp"

namespace tarnwick {
namespace {

// A mate-in-one puzzle of the given rating and themes, solved or failed at its one step.
ScoredRecord puzzle(int32_t rating, const std::string& themes, bool solved) {
    TestPosition record;
    record.parseEpd(
        "6k1/5ppp/p7/8/8/8/5PPP/3R2K1 w - - bm Rd8#; puzzle_fen \"6k1/p4ppp/8/8/8/8/"
        "5PPP/3R2K1 b - - 0 30\"; puzzle_moves a7a6 d1d8;");
    record.puzzle_rating = rating;
    record.puzzle_themes = themes;
    record.puzzle_played = solved ? "Rd8#" : "Rd7";
    record.puzzle_failed = solved ? 0 : 1;
    return scoreRecord(record);
}

TEST(PuzzleTotals, ByRatingBandByThemeAndTheEstimateFromAHundred) {
    std::vector<ScoredRecord> results = {puzzle(1399, "mate fork", true),
                                         puzzle(1400, "mate", false), puzzle(1599, "fork", true)};
    EXPECT_EQ(puzzleText(puzzleTotals(results)),
              "\nPuzzles solved: 2 of 3 (66.7%)\n"
              "By rating (solved of tested):\n"
              "  1200-1399: 1 of 1\n"
              "  1400-1599: 1 of 2\n"
              "By theme (solved of tested):\n"
              "  fork: 2 of 2\n"
              "  mate: 1 of 2\n");
    // Solved up to 1800 and failed from there on, but for a few each way.
    for (int i = 0; i < 97; ++i) {
        const int32_t rating = 1000 + 16 * i;
        results.push_back(puzzle(rating, "", (rating < 1800) != (i % 7 == 0)));
    }
    const std::string text = puzzleText(puzzleTotals(results));
    EXPECT_NE(text.find("\nRating estimate: 17"), std::string::npos) << text;
    EXPECT_EQ(puzzleText(puzzleTotals({})), "");
    const std::string edges =
        puzzleText(puzzleTotals({puzzle(-5, "", true), puzzle(INT32_MAX, "", false)}));
    EXPECT_NE(edges.find("  -200--1: 1 of 1\n  2147483600-2147483799: 0 of 1\n"), std::string::npos)
        << edges;
}

}  // namespace
}  // namespace tarnwick
