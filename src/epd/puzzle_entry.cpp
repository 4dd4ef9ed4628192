#include "epd/puzzle_entry.hpp"

#include <utility>

#include "chess/board.hpp"
#include "chess/fen_writer.hpp"
#include "chess/legality.hpp"
#include "chess/movegen.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// Origin, destination and an optional promotion letter, as UCI writes moves: the move reader
// takes looser text (SAN, capitals), which a puzzle table never holds.
bool isUciMove(std::string_view word) {
    const auto file = [](char c) { return c >= 'a' && c <= 'h'; };
    const auto rank = [](char c) { return c >= '1' && c <= '8'; };
    if (word.size() != 4 && word.size() != 5) return false;
    return file(word[0]) && rank(word[1]) && file(word[2]) && rank(word[3]) &&
           (word.size() == 4 || std::string_view("qrbn").find(word[4]) != std::string_view::npos);
}

}  // namespace

std::vector<PuzzleStep> replayPuzzle(std::string_view fen, std::string_view moves) {
    std::vector<PuzzleStep> steps;
    Board board;
    // Castling rights without their king and rook, and en-passant squares no pawn can take on,
    // would let the moves use rights an engine is never sent.
    board.setFromFen(fenToSend(fen));
    const FenClocks clocks = readFenClocks(fen);
    board.halfMoveClock = clocks.halfMoves;
    int32_t fullMove = clocks.fullMove;
    std::string movesSoFar;
    std::string opponentMove;
    int32_t ply = 0;
    TokenCursor words(moves);
    for (std::string_view word = words.next(); !word.empty(); word = words.next(), ++ply) {
        Move move = board.parseMove(word);
        if (!move.isValid() || move.isNull()) return {};
        if (ply % 2 == 1) {
            PuzzleStep& step = steps.emplace_back();
            step.movesSoFar = movesSoFar;
            step.position.parseEpd(writeFen(board, fullMove));
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

bool makePuzzleEntry(const PuzzleRow& row, TestPosition& entry) {
    if (!whyNotLegal(row.fen).empty()) return false;
    bool uci = true;
    forEachToken(row.moves, [&](std::string_view word) { return uci = isUciMove(word); });
    if (!uci) return false;
    std::vector<PuzzleStep> steps = replayPuzzle(row.fen, row.moves);
    if (steps.empty()) return false;
    // The row's texts with single blanks between their words, which is how a record reads back.
    entry = std::move(steps.front().position);
    entry.id = collapseBlanks(row.id);
    entry.puzzle_fen = collapseBlanks(row.fen);
    entry.puzzle_moves = collapseBlanks(row.moves);
    entry.puzzle_rating = row.rating;
    entry.puzzle_themes = collapseBlanks(row.themes);
    return true;
}

}  // namespace tarnwick
