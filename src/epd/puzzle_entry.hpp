#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chess/move.hpp"
#include "epd/test_position.hpp"

namespace tarnwick {

// The fields of a puzzle row that make its suite entry.
struct PuzzleRow {
    std::string_view id;
    std::string_view fen;    // the position before the opponent's first move
    std::string_view moves;  // UCI, the opponent's first
    int32_t rating = 0;
    std::string_view themes;
};

// One move the solver of a puzzle has to find.
struct PuzzleStep {
    std::string movesSoFar;    // from the puzzle's FEN to this step: UCI, blank-separated
    TestPosition position;     // what the solver faces, with its move as bm
    Move expected;             // that move, on position's board
    std::string opponentMove;  // the opponent's move just before, in SAN
};

// A puzzle's moves played out from its FEN (with its clocks), a step for every second move: the
// position after the opponent's move before it. None when a move names no legal move where it
// is played; a last opponent move without a solver move after it is played but makes no step.
std::vector<PuzzleStep> replayPuzzle(std::string_view fen, std::string_view moves);

// Fills entry with the puzzle as a suite position: the position after the opponent's first move
// (with its clocks), the puzzle's id, its solver's first move in SAN as bm, and the puzzle's own
// fields as given, with single blanks between their words. False, with entry unspecified, when the
// row is no puzzle: its FEN cannot be read or is no legal position, it has fewer than two moves, or
// a move is not a UCI move that is legal where it is played.
bool makePuzzleEntry(const PuzzleRow& row, TestPosition& entry);

}  // namespace tarnwick
