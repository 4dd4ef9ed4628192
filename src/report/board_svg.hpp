#pragma once

#include <optional>
#include <string>

#include "chess/board.hpp"
#include "chess/move.hpp"
#include "epd/test_position.hpp"

// Chess diagrams as inline SVG for an HTML page. Each board only places pieces: the squares and
// the pieces' shapes are drawn once in the page (boardDefinitions) and each board <use>s them,
// so that a page of a thousand boards stays small.
namespace tarnwick {

// The shared drawings, as one hidden <svg> to put in the page before its first board.
std::string boardDefinitions();

// The board seen from White's side, with a mark beside the edge of the side to move and, when
// given, an arrow along the move.
std::string boardSvg(const BoardBase& board, const std::optional<Move>& arrow);

// The move a record's diagram points at: the first bm that names a legal move on board; none for
// a mate test, whose bm is only one of the mating moves, or without bm.
std::optional<Move> expectedMove(const Board& board, const TestPosition& record, bool mateTest);

}  // namespace tarnwick
