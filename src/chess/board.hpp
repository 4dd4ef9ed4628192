#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chess/move.hpp"
#include "chess/squares.hpp"

namespace tarnwick {

// The five fields of a position and the operations on them alone.
struct BoardBase {
    std::array<int32_t, kBoardEntries> squares{};
    int32_t castlingRights = 0;
    int32_t epSquare = NoSquare;
    int32_t sideToMove = White;
    int32_t halfMoveClock = 0;

    // First difference: 1 squares, 2 castling rights, 3 en-passant square, 4 side to move;
    // 0 when the positions agree (the half-move clock does not count).
    int compare(const BoardBase& other) const;
    void clear();
    void setSquare(int index, int32_t piece) { squares[static_cast<size_t>(index)] = piece; }
};

// A chess position that can be read from FEN and read and write move text.
struct Board : BoardBase {
    // Replaces the position by the one the (leniently read) FEN text describes.
    void setFromFen(std::string_view text);

    // The one legal move the text names in this position, or the empty move with
    // parseStatus 1 (too short) or 2 (no unique legal move). The board is unchanged.
    Move parseMove(std::string_view text) const;

    // The move in SAN, or the empty text when it is not legal here. The board is unchanged.
    std::string sanOf(const Move& move) const;
};

// A FEN's half-move clock and full-move number, its fifth and sixth fields read as atoi reads
// them (the board reader leaves them out). Kept from 0 (1 for the move number) to 2^30, far
// below the largest number, so that no count of the moves a line can hold takes them past it.
struct FenClocks {
    int32_t halfMoves = 0;
    int32_t fullMove = 1;
};
FenClocks readFenClocks(std::string_view fen);

// FEN from its six parts; a full-move number of 0 or less is written as 1.
std::string composeFen(std::string_view placement, std::string_view side, std::string_view castling,
                       std::string_view enPassant, int32_t halfMoveClock, int32_t fullMoveNumber);

// 'N', 'B', 'R', 'Q', 'K' for those pieces of either colour; ' ' for pawns and empty.
char pieceLetter(int32_t code);

}  // namespace tarnwick
