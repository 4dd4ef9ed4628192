#include "chess/fen_writer.hpp"

#include <string_view>

namespace tarnwick {

namespace {

// Ranks 8 to 1, runs of empty squares as digits.
std::string placementOf(const BoardBase& board) {
    static constexpr std::string_view kLetters = ".PNBRQKpnbrqk";
    std::string placement;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            const int32_t piece = board.squares[static_cast<size_t>(squareAt(rank, file))];
            if (piece < WhitePawn || piece > BlackKing) {
                ++empty;
                continue;
            }
            if (empty > 0) placement += static_cast<char>('0' + empty);
            empty = 0;
            placement += kLetters[static_cast<size_t>(piece)];
        }
        if (empty > 0) placement += static_cast<char>('0' + empty);
        if (rank > 0) placement += '/';
    }
    return placement;
}

std::string castlingOf(const BoardBase& board) {
    std::string rights;
    if (board.castlingRights & CastleWhiteKing) rights += 'K';
    if (board.castlingRights & CastleWhiteQueen) rights += 'Q';
    if (board.castlingRights & CastleBlackKing) rights += 'k';
    if (board.castlingRights & CastleBlackQueen) rights += 'q';
    return rights.empty() ? "-" : rights;
}

std::string enPassantOf(const BoardBase& board) {
    return onBoard(board.epSquare) ? squareName(board.epSquare) : "-";
}

}  // namespace

std::string writeFen(const BoardBase& board, int32_t fullMoveNumber) {
    return composeFen(placementOf(board), board.sideToMove == Black ? "b" : "w", castlingOf(board),
                      enPassantOf(board), board.halfMoveClock, fullMoveNumber);
}

}  // namespace tarnwick
