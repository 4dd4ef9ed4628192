#include "epd/puzzle_entry.hpp"

#include <algorithm>
#include <string>

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

// One of the FEN's clocks: the board reader leaves them out, and the entry keeps them. Far below
// the largest number, so that no count of the moves a line can hold takes them past it.
int32_t clockField(std::string_view fen, int n, int32_t least) {
    constexpr int32_t kMostClock = int32_t{1} << 30;
    return std::clamp(atoiValue(nthTokenView(fen, n)), least, kMostClock);
}

}  // namespace

bool makePuzzleEntry(const PuzzleRow& row, TestPosition& entry) {
    if (!whyNotLegal(row.fen).empty()) return false;
    Board board;
    // Castling rights without their king and rook, and en-passant squares no pawn can take on,
    // would let the table's moves use rights an engine is never sent.
    board.setFromFen(fenToSend(row.fen));
    board.halfMoveClock = clockField(row.fen, 5, 0);
    const int32_t fullMoveNumber = clockField(row.fen, 6, 1);
    std::string entryFen;
    std::string firstSolverMove;
    int count = 0;
    TokenCursor moves(row.moves);
    for (std::string_view word = moves.next(); !word.empty(); word = moves.next(), ++count) {
        if (!isUciMove(word)) return false;
        Move move = board.parseMove(word);
        if (count == 1) firstSolverMove = board.sanOf(move);
        const bool blackMoves = board.sideToMove == Black;
        if (!move.isValid() || !playMove(board, move, true)) return false;
        if (count == 0) entryFen = writeFen(board, fullMoveNumber + (blackMoves ? 1 : 0));
    }
    if (count < 2) return false;
    // The row's texts with single blanks between their words, which is how a record reads back.
    entry.parseEpd(entryFen);
    entry.id = collapseBlanks(row.id);
    entry.bm = firstSolverMove;
    entry.puzzle_fen = collapseBlanks(row.fen);
    entry.puzzle_moves = collapseBlanks(row.moves);
    entry.puzzle_rating = row.rating;
    entry.puzzle_themes = collapseBlanks(row.themes);
    return true;
}

}  // namespace tarnwick
