#pragma once

#include <vector>

#include "chess/move.hpp"
#include "epd/puzzle_entry.hpp"
#include "epd/test_position.hpp"

namespace tarnwick {

// Whether a record is a puzzle's: one that holds the puzzle's moves.
inline bool isPuzzle(const TestPosition& record) {
    return !record.puzzle_moves.empty();
}

// The steps of a puzzle, its moves played out from its FEN, each position with the puzzle's id;
// none when they cannot be.
std::vector<PuzzleStep> puzzleSteps(const TestPosition& puzzle);

// Whether the engine's move solves a step: the listed move, or on the last step any move that
// mates, as the puzzles' own site accepts.
bool solvesStep(const PuzzleStep& step, const Move& move, bool last);

// Whether a finished puzzle's record says it was solved: every solver move found.
bool puzzleSolved(const TestPosition& record);

}  // namespace tarnwick
