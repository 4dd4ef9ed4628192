#include "scoring/puzzle.hpp"

#include <gtest/gtest.h>

#include "chess/board.hpp"

namespace tarnwick {
namespace {

// A puzzle replayed into steps, and the engine's answer on its last step. White's Rd8 and Re8
// both mate after Black's first move.
TEST(Puzzle, StepsReplayAndTheLastStepTakesAnyMate) {
    constexpr std::string_view kFen = "6k1/p4ppp/8/8/8/8/5PPP/3RR1K1 b - - 0 30";
    const struct {
        std::string_view fen;
        std::string_view moves;
        size_t steps;
        std::string_view step;  // the last one: moves so far, the opponent's move, FEN and bm
        std::string_view answer;
        bool last;
        bool solved;
    } cases[] = {
        {kFen, "a7a6 d1d8", 1, "a7a6, a6: 6k1/5ppp/p7/8/8/8/5PPP/3RR1K1 w - - 0 31 bm Rd8#", "d1d8",
         true, true},
        {kFen, "a7a6 d1d8", 1, "", "e1e8", true, true},
        {kFen, "a7a6 d1d8", 1, "", "e1e8", false, false},
        {kFen, "a7a6 d1d8", 1, "", "d1d7", true, false},
        // A last opponent move is played, and makes no step.
        {kFen, "a7a6 d1d7 a6a5", 1, "a7a6, a6: 6k1/5ppp/p7/8/8/8/5PPP/3RR1K1 w - - 0 31 bm Rd7",
         "d1d7", true, true},
        {kFen, "a7a6 d1d7 a6a4", 0, "", "", true, false},
        // Clocks as large as a number can be would overflow as the moves are counted.
        {"6k1/p4ppp/8/8/8/8/5PPP/3RR1K1 b - - 2147483647 2147483647", "g8f8 e1e7", 1,
         "g8f8, Kf8: 5k2/p4ppp/8/8/8/8/5PPP/3RR1K1 w - - 1073741825 1073741825 bm Re7", "e1e7",
         true, true},
    };
    for (const auto& [fen, moves, count, expected, answer, last, solved] : cases) {
        TestPosition puzzle;
        puzzle.id = "p";
        puzzle.puzzle_fen = fen;
        puzzle.puzzle_moves = moves;
        const std::vector<PuzzleStep> steps = puzzleSteps(puzzle);
        ASSERT_EQ(steps.size(), count) << moves;
        if (count == 0) continue;
        const PuzzleStep& step = steps.back();
        if (!expected.empty()) {
            EXPECT_EQ(step.movesSoFar + ", " + step.opponentMove + ": " + step.position.fenText() +
                          " bm " + step.position.bm,
                      expected);
        }
        EXPECT_EQ(step.position.id, "p");
        Board board;
        board.setFromFen(step.position.fenText());
        EXPECT_EQ(solvesStep(step, board.parseMove(answer), last), solved) << moves << answer;
    }
    TestPosition lone;
    lone.puzzle_moves = "a7a6";
    EXPECT_FALSE(puzzleSolved(lone));
}

}  // namespace
}  // namespace tarnwick
