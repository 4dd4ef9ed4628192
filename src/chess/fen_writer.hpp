#pragma once

#include <cstdint>
#include <string>

#include "chess/board.hpp"

namespace tarnwick {

// The board as six-field FEN, with the full-move number given (the board does not keep it; 0 or
// less is written as 1). Castling rights and the en-passant square are written as the board
// holds them, so the text reads back into the same board.
std::string writeFen(const BoardBase& board, int32_t fullMoveNumber);

}  // namespace tarnwick
