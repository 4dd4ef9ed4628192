#pragma once

#include "chess/board.hpp"
#include "chess/move.hpp"

// The rules of chess on the 0x88 board: generating, testing and playing moves. Positions are
// taken as they are, however odd (no king, two kings, pawns on the back ranks, castling rights
// without rooks); nothing here fails or allocates.
namespace tarnwick {

// Empties the list and appends every pseudo-legal move of the side to move, squares a1 to h8.
void generatePseudoLegal(const BoardBase& board, MoveList& list);

// The legal moves of the side to move; with no own king, the pseudo-legal ones. The board may
// be changed while testing but is restored before returning.
void generateLegal(BoardBase& board, MoveList& list);

// The legal moves made by pieces of the given code (the side to move's own): the entries of
// generateLegal whose origin holds that piece, generated without the others.
void generateLegalFor(BoardBase& board, int32_t piece, MoveList& list);

// Whether any piece of bySide attacks the square.
bool isAttacked(const BoardBase& board, int square, int bySide);

// Whether side's first king (scanning a1 to h8) is attacked; false when it has none.
bool inCheck(const BoardBase& board, int side);

// Whether the side to move is in check and has no legal move. The board may be changed while
// testing but is restored before returning.
bool isCheckmate(BoardBase& board);

// The square of side's first king, scanning a1 to h8, or NoSquare.
int findKing(const BoardBase& board, int side);

// Plays a move, filling the record's prev* fields; unmakeMove needs that same record.
void makeMove(BoardBase& board, Move& move);
void unmakeMove(BoardBase& board, const Move& move);

// Passes the turn, and takes the pass back.
void makeNullMove(BoardBase& board, Move& move);
void unmakeNullMove(BoardBase& board, const Move& move);

// For castling, whether the first own king's square (the move's origin when there is no own
// king) and the square passed over are unattacked; true for every other move.
bool castlingPathSafe(const BoardBase& board, const Move& move);

// Whether the move can be played without leaving the mover's king attacked; the board is
// unchanged afterwards.
bool isLegal(BoardBase& board, const Move& move);

// Plays a null move, or a move (when checkLegal is set, only a legal one); false when the move
// was refused and the board left as it was.
bool playMove(BoardBase& board, Move& move, bool checkLegal);

}  // namespace tarnwick
