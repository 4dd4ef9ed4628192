#pragma once

#include <string>
#include <string_view>

// What an engine may be given. Engines trust the positions they are sent: an empty board, a
// second king or a king that can be captured crash some of them, and a castling right or
// en-passant square the board cannot have confuses others.
namespace tarnwick {

// Why the position the FEN describes cannot be given to an engine: the board or side to move
// cannot be read, a side has no king or more than one, a pawn stands on the first or last
// rank, or the side not to move is in check. The empty text when it can.
std::string whyNotLegal(std::string_view fen);

// The FEN without the castling rights whose king or rook is not on its square and without an
// en-passant square no pawn can capture onto; the other fields as written.
std::string fenToSend(std::string_view fen);

}  // namespace tarnwick
