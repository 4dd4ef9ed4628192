#include "scoring/puzzle.hpp"

#include <cstdint>
#include <string_view>

#include "chess/board.hpp"
#include "chess/movegen.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

int32_t wordCount(std::string_view text) {
    int32_t count = 0;
    forEachToken(text, [&](std::string_view) { return ++count > 0; });
    return count;
}

// How many moves the solver of a puzzle has to find.
int32_t solverMoves(const TestPosition& puzzle) {
    return wordCount(puzzle.puzzle_moves) / 2;
}

}  // namespace

std::vector<PuzzleStep> puzzleSteps(const TestPosition& puzzle) {
    std::vector<PuzzleStep> steps = replayPuzzle(puzzle.puzzle_fen, puzzle.puzzle_moves);
    for (PuzzleStep& step : steps) step.position.id = puzzle.id;
    return steps;
}

bool solvesStep(const PuzzleStep& step, const Move& move, bool last) {
    if (sameMove(move, step.expected)) return true;
    if (!last || !move.isValid() || move.isNull()) return false;
    Board after;
    after.setFromFen(step.position.fenText());
    Move played = move;
    return playMove(after, played, true) && isCheckmate(after);
}

bool puzzleSolved(const TestPosition& record) {
    // A puzzle with no move for the solver was never searched, so it cannot have been solved.
    const int32_t needed = solverMoves(record);
    return needed > 0 && record.puzzle_failed == 0 && wordCount(record.puzzle_played) >= needed;
}

}  // namespace tarnwick
