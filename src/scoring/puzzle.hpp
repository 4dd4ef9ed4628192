#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chess/move.hpp"
#include "epd/test_position.hpp"

namespace tarnwick {

// One move the solver of a puzzle has to find.
struct PuzzleStep {
    std::string movesSoFar;    // from the puzzle's FEN to this step: UCI, blank-separated
    TestPosition position;     // what the solver faces, with the puzzle's id and bm its move
    Move expected;             // that move, on position's board
    std::string opponentMove;  // the opponent's move just before, in SAN
};

// Whether a record is a puzzle's: one that holds the puzzle's moves.
inline bool isPuzzle(const TestPosition& record) {
    return !record.puzzle_moves.empty();
}

// How many moves the solver of a puzzle has to find.
int32_t solverMoves(const TestPosition& puzzle);

// The steps of a puzzle, its moves played out from its FEN; none when they cannot be.
std::vector<PuzzleStep> puzzleSteps(const TestPosition& puzzle);

// Whether the engine's move solves a step: the listed move, or on the last step any move that
// mates, as the puzzles' own site accepts.
bool solvesStep(const PuzzleStep& step, const Move& move, bool last);

// Whether a finished puzzle's record says it was solved: every solver move found.
bool puzzleSolved(const TestPosition& record);

}  // namespace tarnwick
