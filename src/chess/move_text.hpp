#pragma once

#include <string_view>

#include "chess/board.hpp"
#include "chess/move.hpp"

// The pieces of move reading and SAN writing. A text names one piece code, and reading,
// confirming and disambiguating a move only look at moves of that piece, so one generation of
// that piece's legal moves (generateLegalFor) serves all three.
namespace tarnwick {

// What a move text names: the wanted piece and promotion piece (coloured; promotion 0 when
// none) and the known files and ranks (0-7, or -1 when the text does not say).
struct MoveQuery {
    int32_t piece = Empty;
    int32_t promotion = Empty;
    int fromFile = -1;
    int fromRank = -1;
    int toFile = -1;
    int toRank = -1;
};

// Takes a move text apart for the side to move on board; false when too little is left after
// cleaning (the text names no move at all).
bool readMoveText(std::string_view text, const BoardBase& board, MoveQuery& query);

// The one move of `legal` that fits the query, with parseStatus 0, or the empty move with
// parseStatus 2.
Move findMove(const BoardBase& board, const MoveList& legal, const MoveQuery& query);

// The move as read back from its coordinate text (origin, destination, promotion letter), or
// the empty move when that text names no legal move.
Move confirmMove(const BoardBase& board, const MoveList& legal, const Move& move);

// Room for the longest SAN ("Qa1xb2#", "exd8=Q+") and a terminator.
inline constexpr int kSanBufferSize = 8;

// Writes the SAN of a confirmed legal move without its check mark; returns the length.
int writeSanBody(const BoardBase& board, const MoveList& legal, const Move& move, char* out);

// The check mark of a move, given the board after it: '+', '#' or 0. Castling gets '+' even
// when it mates. `scratch` holds the replies when a mate test needs them.
char checkMark(BoardBase& after, bool castling, MoveList& scratch);

// Whether a castling move writes as "O-O" or "O-O-O" (the king lands on the g- or c-file).
bool writesAsCastling(const BoardBase& board, const Move& move);

}  // namespace tarnwick
