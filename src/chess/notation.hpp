#pragma once

#include <string>
#include <string_view>

#include "chess/board.hpp"
#include "chess/move.hpp"

namespace tarnwick {

// The one legal move of `legal` (the legal moves of board) that the text names; see
// Board::parseMove. Lets a caller that already holds the legal moves skip generating them.
Move parseMoveAmong(const Board& board, const MoveList& legal, std::string_view text);

// The SAN of a move taken from `legal` (the legal moves of board).
std::string sanAmong(const Board& board, const MoveList& legal, const Move& move);

// Reads the blank-separated tokens in turn on an advancing copy of the board: every token that
// names a legal move contributes its SAN and is played; other tokens are skipped. The SAN
// moves are joined by single blanks.
std::string sanVariation(const Board& start, std::string_view tokens);

// Rewrites the move texts of a test position in SAN. Words of am and bm that name no legal
// move are dropped, together with their number of the points list c1 (whose numbers belong
// to the am words and then the bm words), so later moves keep their points; pm keeps its text
// when it is no legal move; pv is read as a variation.
void normaliseMoves(std::string_view fen, std::string& am, std::string& bm, std::string& pm,
                    std::string& pv, std::string& c1);

}  // namespace tarnwick
