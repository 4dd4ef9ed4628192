#include "chess/legality.hpp"

#include <vector>

#include "chess/board.hpp"
#include "chess/movegen.hpp"

namespace tarnwick {

namespace {

// The same blanks as the board reader's, so the fields are the ones it reads.
bool isBlank(char c) {
    return static_cast<signed char>(c) <= 32;
}

std::vector<std::string_view> fieldsOf(std::string_view fen) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < fen.size()) {
        if (isBlank(fen[pos])) {
            ++pos;
            continue;
        }
        size_t end = pos;
        while (end < fen.size() && !isBlank(fen[end])) ++end;
        fields.push_back(fen.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

bool isPieceLetter(char c) {
    return std::string_view("PNBRQKpnbrqk").find(c) != std::string_view::npos;
}

// The board reader takes almost anything; an engine needs eight ranks of eight squares.
bool placementReadable(std::string_view placement) {
    int ranks = 1;
    int files = 0;
    for (const char c : placement) {
        if (c == '/') {
            if (files != 8) return false;
            ++ranks;
            files = 0;
        } else if (c >= '1' && c <= '8') {
            files += c - '0';
        } else if (isPieceLetter(c)) {
            ++files;
        } else {
            return false;
        }
        if (files > 8) return false;
    }
    return ranks == 8 && files == 8;
}

const char* sideName(int side) {
    return side == White ? "White" : "Black";
}

std::string kingCountProblem(const Board& board, int side) {
    const int32_t king = side == White ? WhiteKing : BlackKing;
    int kings = 0;
    for (int sq = 0; sq < kBoardEntries; ++sq) {
        if (onBoard(sq) && board.squares[static_cast<size_t>(sq)] == king) ++kings;
    }
    if (kings == 1) return {};
    if (kings == 0) return std::string(sideName(side)) + " has no king";
    return std::string(sideName(side)) + " has " + std::to_string(kings) + " kings";
}

std::string backRankPawn(const Board& board) {
    for (const int rank : {0, 7}) {
        for (int file = 0; file < 8; ++file) {
            const int sq = squareAt(rank, file);
            const int32_t piece = board.squares[static_cast<size_t>(sq)];
            if (pieceKind(piece) != WhitePawn) continue;
            return std::string(sideName(isWhitePiece(piece) ? White : Black)) + " pawn on " +
                   squareName(sq);
        }
    }
    return {};
}

int32_t at(const Board& board, int square) {
    return board.squares[static_cast<size_t>(square)];
}

std::string castlingKept(const Board& board) {
    struct Right {
        int32_t bit;
        char letter;
        int kingSquare;
        int rookSquare;
        int32_t king;
        int32_t rook;
    };
    static constexpr Right kRights[] = {
        {CastleWhiteKing, 'K', squareAt(0, 4), squareAt(0, 7), WhiteKing, WhiteRook},
        {CastleWhiteQueen, 'Q', squareAt(0, 4), squareAt(0, 0), WhiteKing, WhiteRook},
        {CastleBlackKing, 'k', squareAt(7, 4), squareAt(7, 7), BlackKing, BlackRook},
        {CastleBlackQueen, 'q', squareAt(7, 4), squareAt(7, 0), BlackKing, BlackRook},
    };
    std::string kept;
    for (const Right& r : kRights) {
        if ((board.castlingRights & r.bit) && at(board, r.kingSquare) == r.king &&
            at(board, r.rookSquare) == r.rook) {
            kept += r.letter;
        }
    }
    return kept.empty() ? "-" : kept;
}

// Whether the side to move has a legal en-passant capture: the square lies behind an enemy
// pawn that has just moved two squares from an empty start, and an own pawn can take it.
bool enPassantPossible(Board board) {
    const int ep = board.epSquare;
    if (ep == NoSquare || !onBoard(ep)) return false;
    const bool white = board.sideToMove == White;
    if (rankOf(ep) != (white ? 5 : 2)) return false;
    const int step = white ? -16 : 16;  // from the square towards the pawn that moved
    if (at(board, ep) != Empty || at(board, ep - step) != Empty) return false;
    if (at(board, ep + step) != (white ? BlackPawn : WhitePawn)) return false;
    MoveList moves;
    generateLegal(board, moves);
    for (const Move& m : moves) {
        if (m.to == ep && (m.flags & MoveEnPassant)) return true;
    }
    return false;
}

}  // namespace

std::string whyNotLegal(std::string_view fen) {
    const std::vector<std::string_view> fields = fieldsOf(fen);
    if (fields.empty() || !placementReadable(fields[0])) return "board cannot be read";
    if (fields.size() < 2 || (fields[1] != "w" && fields[1] != "b")) {
        return "side to move cannot be read";
    }
    Board board;
    board.setFromFen(fen);
    for (const int side : {White, Black}) {
        if (std::string problem = kingCountProblem(board, side); !problem.empty()) return problem;
    }
    if (std::string pawn = backRankPawn(board); !pawn.empty()) return pawn;
    const int waiting = 1 - board.sideToMove;
    if (inCheck(board, waiting)) {
        return std::string(sideName(waiting)) + " is in check with " + sideName(board.sideToMove) +
               " to move";
    }
    return {};
}

std::string fenToSend(std::string_view fen) {
    std::vector<std::string_view> fields = fieldsOf(fen);
    // A board that cannot be read is never sent, and its fields may not even be the ones the
    // board reader finds: it is left as it is.
    if (fields.size() < 3 || !placementReadable(fields[0])) return std::string(fen);
    Board board;
    board.setFromFen(fen);
    const std::string castling = castlingKept(board);
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += ' ';
        if (i == 2) {
            text += castling;
        } else if (i == 3 && !enPassantPossible(board)) {
            text += '-';
        } else {
            text.append(fields[i]);
        }
    }
    return text;
}

}  // namespace tarnwick
