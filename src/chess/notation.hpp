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

// Rewrites the best and avoid moves of a position into SAN on its board, word by word: words
// that name no legal move stay as written, so the points of c1 keep their places. Single
// blanks separate the words; empty operations stay empty.
void normaliseNamedMoves(const BoardBase& board, std::string& am, std::string& bm);

// Rewrites the move operations of the position `fen` into SAN: am and bm as
// normaliseNamedMoves does, pm as one move (kept as it was when unreadable), pv as a variation.
void normaliseMoves(std::string_view fen, std::string& am, std::string& bm, std::string& pm,
                    std::string& pv);

}  // namespace tarnwick
