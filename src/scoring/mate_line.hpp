#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "chess/board.hpp"

namespace tarnwick {

// How the line an engine gave with a mate score stands against the mate it claims.
enum class MateLine {
    proved,       // it plays out the claimed mate
    shortLine,    // fewer moves than the claim needs
    longLine,     // more moves than the claim needs
    noMate,       // the right length, but no checkmate at its end
    illegalMove,  // a move that cannot be played
    draw,         // the losing side could claim a draw on the way
};

// Checks a mate claim (signed moves, positive: the side to move mates) against its line (move
// words in any notation; move numbers are passed over), played from start: every move legal,
// exactly 2N-1 plies for a mate in N and 2N for being mated in N, checkmate at its end, and no
// position on the way where the losing side, to move, could claim a draw by the fifty-move rule
// (counted from start's half-move clock) or a threefold repetition.
MateLine checkMateLine(const Board& start, int32_t mate, std::string_view line);

// The word a result record keeps for it ("ok", "short", "long", "nomate", "illegal", "draw"),
// and back; empty for a word that is none of them.
std::string_view mateLineWord(MateLine kind);
std::optional<MateLine> mateLineOfWord(std::string_view word);
// How the JSON lines name it: "proved", "short", "long", "no mate", "illegal move", "draw".
std::string_view mateLineName(MateLine kind);

}  // namespace tarnwick
