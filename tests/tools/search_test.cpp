#ifdef HAVE_BUNDLED_SEARCH

#include <gtest/gtest.h>

#include <atomic>

#include "chess/board.hpp"
#include "testengine/search.hpp"

namespace tarnwick::testengine {
namespace {

struct Solved {
    Move best;
    SearchReport last;
};

// Searches with a deadline far beyond need: a proven mate ends the search by itself.
Solved solve(std::string_view fen, bool stopAtOnce = false) {
    Board board;
    board.setFromFen(fen);
    SearchLimits limits;
    limits.time = std::chrono::seconds(120);
    const std::atomic<bool> stop{stopAtOnce};
    Solved solved;
    Search search;
    solved.best =
        search.run(board, limits, stop, [&](const SearchReport& report) { solved.last = report; });
    return solved;
}

TEST(BundledSearch, FindsShortMatesAndEndsOnceProven) {
    struct Case {
        const char* fen;
        const char* best;
        int plies;
    };
    const Case cases[] = {
        {"6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", "a1a8", 1},
        {"r5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", "a8a1", 1},
        {"r6k/6pp/7N/8/8/1Q6/8/7K w - - 0 1", "b3g8", 3},
        {"2r3k1/5ppp/8/8/8/8/4RPPP/4R1K1 w - - 0 1", "e2e8", 3},
        // Promotion with mate: the move text carries the promotion piece.
        {"7k/P7/7K/8/8/8/8/8 w - - 0 1", "a7a8q", 1},
    };
    for (const Case& c : cases) {
        const Solved solved = solve(c.fen);
        EXPECT_EQ(coordinateText(solved.best), c.best) << c.fen;
        EXPECT_EQ(solved.last.score, kMateScore - c.plies) << c.fen;
        ASSERT_FALSE(solved.last.pv.empty()) << c.fen;
        EXPECT_EQ(coordinateText(solved.last.pv.front()), c.best) << c.fen;
    }
}

TEST(BundledSearch, AlwaysAnswersWithALegalMoveOrNone) {
    // Stopped before it starts, the search still names a legal move.
    const Solved stopped = solve("4k3/8/8/8/8/8/8/4K2R w K - 0 1", true);
    EXPECT_NE(coordinateText(stopped.best), "0000");
    // Checkmated and stalemated sides have no move to give.
    EXPECT_EQ(coordinateText(solve("R5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1").best), "0000");
    EXPECT_EQ(coordinateText(solve("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1").best), "0000");
    // A fifty-move count already reached at the root still gives a move and a variation.
    const Solved late = solve("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 100 80");
    EXPECT_EQ(coordinateText(late.best), "a1a8");
    EXPECT_FALSE(late.last.pv.empty());
}

}  // namespace
}  // namespace tarnwick::testengine

#endif
