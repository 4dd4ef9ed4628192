#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "chess/board.hpp"

// Shared by the fuzz targets: a finding is an abort with a message, so libFuzzer keeps the input.
namespace tarnwick::fuzz {

inline void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline std::string_view textOf(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The placement, side, castling and en-passant fields of a board, as FEN.
inline std::string fenOf(const BoardBase& board) {
    static constexpr char kLetters[] = " PNBRQKpnbrqk";
    std::string fen;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            const int32_t piece = board.squares[static_cast<size_t>(squareAt(rank, file))];
            if (piece < 1 || piece > 12) {
                ++empty;
                continue;
            }
            if (empty > 0) fen += static_cast<char>('0' + empty);
            empty = 0;
            fen += kLetters[piece];
        }
        if (empty > 0) fen += static_cast<char>('0' + empty);
        if (rank > 0) fen += '/';
    }
    fen += board.sideToMove == Black ? " b " : " w ";
    const std::string castling = std::string(board.castlingRights & CastleWhiteKing ? "K" : "") +
                                 (board.castlingRights & CastleWhiteQueen ? "Q" : "") +
                                 (board.castlingRights & CastleBlackKing ? "k" : "") +
                                 (board.castlingRights & CastleBlackQueen ? "q" : "");
    fen += castling.empty() ? "-" : castling;
    fen += ' ';
    if (onBoard(board.epSquare)) {
        fen += static_cast<char>('a' + fileOf(board.epSquare));
        fen += static_cast<char>('1' + rankOf(board.epSquare));
    } else {
        fen += '-';
    }
    return fen;
}

}  // namespace tarnwick::fuzz
