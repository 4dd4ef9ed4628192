#pragma once

#include "chess/board.hpp"
#include "chess/move.hpp"

// The rules of chess on the 0x88 board: move generation, attack tests, making and unmaking.
// Odd positions are handled as they are: without an own king every pseudo-legal move is
// legal, castling trusts the rights, an en-passant square is used whatever its rank.
namespace tarnwick {

// Empties the list, then appends every pseudo-legal move of the side to move.
void generatePseudoLegal(const Board& board, MoveList& list);

// The legal moves of the side to move (in no particular order).
void generateLegal(const Board& board, MoveList& list);

// generateLegal for a caller that already knows the side to move's king square (the first
// from a1 to h8, NoSquare without a king) and whether it is attacked.
void generateLegalKnowing(const Board& board, MoveList& list, int king, bool checked);

// The first square from a1 to h8 holding side's king, or NoSquare.
int kingSquare(const Board& board, int side);

// Whether any piece of bySide (0 white, 1 black) attacks the square.
bool isAttacked(const Board& board, int square, int bySide);

// Whether side's king (the first one from a1 to h8) is attacked; false without a king.
bool inCheck(const Board& board, int side);

// Plays the move, saving what unmakeMove needs into the record.
void makeMove(Board& board, Move& move);
// Takes back a move made with makeMove, given the same record.
void unmakeMove(Board& board, const Move& move);

void makeNullMove(Board& board, Move& move);
void unmakeNullMove(Board& board, const Move& move);

// Whether the move can be played without leaving the mover's king attacked.
bool isLegal(const Board& board, const Move& move);

// isLegal for a move whose resulting position the caller has already made.
bool isLegalAfter(const Board& board, const Move& move, const Board& after);

// Plays a null move, or the move when checkLegal is off or it is legal; false (board
// unchanged) when it is not legal.
bool playMove(Board& board, const Move& move, bool checkLegal);

}  // namespace tarnwick
