#include "scoring/puzzle.hpp"

#include <algorithm>

#include "chess/board.hpp"
#include "chess/fen_writer.hpp"
#include "chess/legality.hpp"
#include "chess/movegen.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

int32_t wordCount(std::string_view text) {
    int32_t count = 0;
    forEachToken(text, [&](std::string_view) { return ++count > 0; });
    return count;
}

}  // namespace

int32_t solverMoves(const TestPosition& puzzle) {
    return wordCount(puzzle.puzzle_moves) / 2;
}

std::vector<PuzzleStep> puzzleSteps(const TestPosition& puzzle) {
    std::vector<PuzzleStep> steps;
    Board board;
    board.setFromFen(fenToSend(puzzle.puzzle_fen));
    board.halfMoveClock = std::max(atoiValue(nthTokenView(puzzle.puzzle_fen, 5)), 0);
    int32_t fullMove = std::max(atoiValue(nthTokenView(puzzle.puzzle_fen, 6)), 1);
    std::string movesSoFar;
    std::string opponentMove;
    int32_t ply = 0;
    TokenCursor words(puzzle.puzzle_moves);
    for (std::string_view word = words.next(); !word.empty(); word = words.next(), ++ply) {
        Move move = board.parseMove(word);
        if (!move.isValid() || move.isNull()) return {};
        if (ply % 2 == 1) {
            PuzzleStep& step = steps.emplace_back();
            step.movesSoFar = movesSoFar;
            step.position.parseEpd(writeFen(board, fullMove));
            step.position.id = puzzle.id;
            step.position.bm = board.sanOf(move);
            step.expected = move;
            step.opponentMove = opponentMove;
        } else {
            opponentMove = board.sanOf(move);
        }
        const bool blackMoved = board.sideToMove == Black;
        if (!playMove(board, move, true)) return {};
        if (blackMoved) ++fullMove;
        if (!movesSoFar.empty()) movesSoFar += ' ';
        movesSoFar += word;
    }
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
    return record.puzzle_failed == 0 && wordCount(record.puzzle_played) >= solverMoves(record);
}

}  // namespace tarnwick
