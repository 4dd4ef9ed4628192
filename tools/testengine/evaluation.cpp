#include "testengine/search.hpp"

namespace tarnwick::testengine {

namespace {

constexpr int kPieceValue[7] = {0, 100, 320, 330, 500, 900, 0};

// Piece-square bonuses for White, a1 first (rank 1 .. rank 8); Black reads them mirrored.
constexpr int kPawnTable[64] = {0,  0,  0,   0,  0,  0,   0,  0,  5,  10, 10, -20, -20, 10, 10, 5,
                                5,  -5, -10, 0,  0,  -10, -5, 5,  0,  0,  0,  20,  20,  0,  0,  0,
                                5,  5,  10,  25, 25, 10,  5,  5,  10, 10, 20, 30,  30,  20, 10, 10,
                                50, 50, 50,  50, 50, 50,  50, 50, 0,  0,  0,  0,   0,   0,  0,  0};
constexpr int kKnightTable[64] = {-50, -40, -30, -30, -30, -30, -40, -50, -40, -20, 0,   5,   5,
                                  0,   -20, -40, -30, 5,   10,  15,  15,  10,  5,   -30, -30, 0,
                                  15,  20,  20,  15,  0,   -30, -30, 5,   15,  20,  20,  15,  5,
                                  -30, -30, 0,   10,  15,  15,  10,  0,   -30, -40, -20, 0,   0,
                                  0,   0,   -20, -40, -50, -40, -30, -30, -30, -30, -40, -50};
constexpr int kBishopTable[64] = {-20, -10, -10, -10, -10, -10, -10, -20, -10, 5,   0,   0,   0,
                                  0,   5,   -10, -10, 10,  10,  10,  10,  10,  10,  -10, -10, 0,
                                  10,  10,  10,  10,  0,   -10, -10, 5,   5,   10,  10,  5,   5,
                                  -10, -10, 0,   5,   10,  10,  5,   0,   -10, -10, 0,   0,   0,
                                  0,   0,   0,   -10, -20, -10, -10, -10, -10, -10, -10, -20};
constexpr int kRookTable[64] = {0,  0,  0,  5,  5,  0,  0,  0,  -5, 0, 0, 0, 0, 0, 0, -5,
                                -5, 0,  0,  0,  0,  0,  0,  -5, -5, 0, 0, 0, 0, 0, 0, -5,
                                -5, 0,  0,  0,  0,  0,  0,  -5, -5, 0, 0, 0, 0, 0, 0, -5,
                                5,  10, 10, 10, 10, 10, 10, 5,  0,  0, 0, 0, 0, 0, 0, 0};
constexpr int kQueenTable[64] = {-20, -10, -10, -5,  -5,  -10, -10, -20, -10, 0,   5,   0,  0,
                                 0,   0,   -10, -10, 5,   5,   5,   5,   5,   0,   -10, 0,  0,
                                 5,   5,   5,   5,   0,   -5,  -5,  0,   5,   5,   5,   5,  0,
                                 -5,  -10, 0,   5,   5,   5,   5,   0,   -10, -10, 0,   0,  0,
                                 0,   0,   0,   -10, -20, -10, -10, -5,  -5,  -10, -10, -20};
constexpr int kKingTable[64] = {20,  30,  10,  0,   0,   10,  30,  20,  20,  20,  0,   0,   0,
                                0,   20,  20,  -10, -20, -20, -20, -20, -20, -20, -10, -20, -30,
                                -30, -40, -40, -30, -30, -20, -30, -40, -40, -50, -50, -40, -40,
                                -30, -30, -40, -40, -50, -50, -40, -40, -30, -30, -40, -40, -50,
                                -50, -40, -40, -30, -30, -40, -40, -50, -50, -40, -40, -30};

constexpr const int* kTables[7] = {nullptr,    kPawnTable,  kKnightTable, kBishopTable,
                                   kRookTable, kQueenTable, kKingTable};

}  // namespace

int evaluate(const Board& board) {
    int score = 0;  // from White's side
    for (int rank = 0; rank < 8; ++rank) {
        for (int file = 0; file < 8; ++file) {
            const int32_t piece = board.squares[static_cast<size_t>(squareAt(rank, file))];
            if (piece == Empty) continue;
            const int kind = pieceKind(piece);
            if (isWhitePiece(piece)) {
                score += kPieceValue[kind] + kTables[kind][rank * 8 + file];
            } else {
                score -= kPieceValue[kind] + kTables[kind][(7 - rank) * 8 + file];
            }
        }
    }
    return board.sideToMove == White ? score : -score;
}

std::string coordinateText(const Move& move) {
    if (move.isNull() || move.from == move.to) return "0000";
    std::string text;
    text += static_cast<char>('a' + fileOf(move.from));
    text += static_cast<char>('1' + rankOf(move.from));
    text += static_cast<char>('a' + fileOf(move.to));
    text += static_cast<char>('1' + rankOf(move.to));
    if (move.promotion != Empty) {
        text += static_cast<char>(pieceLetter(move.promotion) - 'A' + 'a');
    }
    return text;
}

}  // namespace tarnwick::testengine
