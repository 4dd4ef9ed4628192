#pragma once

#include <string>
#include <string_view>

#include "chess/board.hpp"
#include "chess/move.hpp"

// Move text in bulk: variations and the move operations of a test position in SAN.
namespace tarnwick {

// Reads blank-separated move texts in turn on an advancing copy of `start`: each that names a
// legal move adds its SAN (single blanks between) and is played; the others are skipped on the
// unchanged board. The appending form adds to `out` (a blank first when out is not empty).
std::string sanVariation(const BoardBase& start, std::string_view tokens);
void appendSanVariation(std::string& out, const BoardBase& start, std::string_view tokens);

// Rewrites the best and avoid moves of a position into SAN on its board, word by word (am
// first, then bm): unreadable words are dropped together with the c1 points at the same running
// position. Empty operations stay empty; c1 is untouched when nothing is dropped.
void normaliseNamedMoves(const BoardBase& board, std::string& am, std::string& bm, std::string& c1);

// Rewrites the move operations of the position `fen` into SAN: am and bm as
// normaliseNamedMoves does, pm as one move (kept as it was when unreadable), pv as a variation.
void normaliseMoves(std::string_view fen, std::string& am, std::string& bm, std::string& pm,
                    std::string& pv, std::string& c1);

}  // namespace tarnwick
