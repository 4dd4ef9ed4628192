#include "engine/board_setup.hpp"

#include "chess/board.hpp"
#include "chess/squares.hpp"

namespace tarnwick {

namespace {

// One "Xe4" line for every piece of one colour, rank 1 to 8, file a to h.
void appendPieces(std::string& out, const Board& board, bool white) {
    for (int rank = 0; rank < 8; ++rank) {
        for (int file = 0; file < 8; ++file) {
            const int square = squareAt(rank, file);
            const int32_t piece = board.squares[static_cast<size_t>(square)];
            if (piece == Empty || isWhitePiece(piece) != white) continue;
            const char letter = pieceLetter(piece);
            out += letter == ' ' ? 'P' : letter;
            out += squareName(square);
            out += '\n';
        }
    }
}

void appendCastlingLine(std::string& out, bool held, std::string_view right) {
    out += held ? '+' : '-';
    out += right;
    out += '\n';
}

}  // namespace

std::string boardSetupText(BoardSetupMethod method, std::string_view fen) {
    std::string out;
    if (method != BoardSetupMethod::edit && method != BoardSetupMethod::cbedit) {
        out.reserve(fen.size() + 10);
        out.append("setboard ").append(fen).append("\n");
        return out;
    }

    Board board;
    board.setFromFen(fen);
    const bool whiteToMove = board.sideToMove == White;
    // With Black to move, a2a3 in force mode hands the move to Black before edit mode begins.
    out += whiteToMove ? "new\nedit\n#\n" : "new\nforce\na2a3\nedit\n#\n";
    appendPieces(out, board, true);
    out += "c\n";
    appendPieces(out, board, false);
    out += "c\n";
    if (method == BoardSetupMethod::cbedit) {
        appendCastlingLine(out, board.castlingRights & CastleWhiteKing, "w00");
        appendCastlingLine(out, board.castlingRights & CastleWhiteQueen, "w000");
        appendCastlingLine(out, board.castlingRights & CastleBlackKing, "b00");
        appendCastlingLine(out, board.castlingRights & CastleBlackQueen, "b000");
        if (board.epSquare != NoSquare) {
            out += "ep ";
            out += squareName(board.epSquare);
            out += '\n';
        }
    }
    if (whiteToMove) out += "c\n";
    out += ".\n";
    return out;
}

}  // namespace tarnwick
