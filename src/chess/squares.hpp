#pragma once

#include <cstdint>
#include <string>

// The 0x88 board: index = rank * 16 + file, a1 = 0, h8 = 119; an index is on the board when
// (index & 0x88) == 0. 136 stands for no square.
namespace tarnwick {

inline constexpr int32_t NoSquare = 136;
inline constexpr int kBoardEntries = 136;

constexpr bool onBoard(int square) {
    return (square & 0x88) == 0;
}
constexpr int squareAt(int rank, int file) {
    return rank * 16 + file;
}
constexpr int rankOf(int square) {
    return square >> 4;
}
constexpr int fileOf(int square) {
    return square & 7;
}
// "a1" to "h8".
inline std::string squareName(int square) {
    return {static_cast<char>('a' + fileOf(square)), static_cast<char>('1' + rankOf(square))};
}

// Piece codes: 0 empty, 1-6 white pawn, knight, bishop, rook, queen, king; black = white + 6.
inline constexpr int32_t Empty = 0;
inline constexpr int32_t WhitePawn = 1;
inline constexpr int32_t WhiteKnight = 2;
inline constexpr int32_t WhiteBishop = 3;
inline constexpr int32_t WhiteRook = 4;
inline constexpr int32_t WhiteQueen = 5;
inline constexpr int32_t WhiteKing = 6;
inline constexpr int32_t BlackPawn = 7;
inline constexpr int32_t BlackKnight = 8;
inline constexpr int32_t BlackBishop = 9;
inline constexpr int32_t BlackRook = 10;
inline constexpr int32_t BlackQueen = 11;
inline constexpr int32_t BlackKing = 12;

inline constexpr int32_t White = 0;
inline constexpr int32_t Black = 1;

// Castling bits.
inline constexpr int32_t CastleWhiteKing = 1;
inline constexpr int32_t CastleWhiteQueen = 2;
inline constexpr int32_t CastleBlackKing = 4;
inline constexpr int32_t CastleBlackQueen = 8;

constexpr bool isWhitePiece(int32_t code) {
    return code >= 1 && code <= 6;
}
constexpr bool isBlackPiece(int32_t code) {
    return code > 6;
}
// Colour-free kind: 1 pawn ... 6 king, 0 empty.
constexpr int32_t pieceKind(int32_t code) {
    return code > 6 ? code - 6 : code;
}

}  // namespace tarnwick
