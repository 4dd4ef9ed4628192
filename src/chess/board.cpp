#include "chess/board.hpp"

#include <algorithm>

#include "text/text.hpp"

namespace tarnwick {

namespace {

// FEN reading treats every byte whose signed value is at most 32 as a blank: controls,
// space, and the bytes 128 to 255.
bool isFenBlank(char c) {
    return static_cast<signed char>(c) <= 32;
}

int32_t pieceFromLetter(char c) {
    switch (c) {
        case 'P':
            return WhitePawn;
        case 'N':
            return WhiteKnight;
        case 'B':
            return WhiteBishop;
        case 'R':
            return WhiteRook;
        case 'Q':
            return WhiteQueen;
        case 'K':
            return WhiteKing;
        case 'p':
            return BlackPawn;
        case 'n':
            return BlackKnight;
        case 'b':
            return BlackBishop;
        case 'r':
            return BlackRook;
        case 'q':
            return BlackQueen;
        case 'k':
            return BlackKing;
        default:
            return Empty;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A cursor over the at most 255 characters the reader considers.
struct FenCursor {
    std::string_view text;
    size_t pos = 0;

    bool atEnd() const { return pos >= text.size(); }
    char peek() const { return text[pos]; }
    // Skips blanks; false when the text has ended.
    bool skipBlanks() {
        while (!atEnd() && isFenBlank(peek())) ++pos;
        return !atEnd();
    }
};

void readPlacement(FenCursor& in, BoardBase& board) {
    int rank = 7;
    int file = 0;
    while (!in.atEnd() && !isFenBlank(in.peek())) {
        const char c = in.text[in.pos++];
        if (const int32_t piece = pieceFromLetter(c); piece != Empty) {
            board.setSquare(squareAt(rank, file), piece);
            ++file;
        } else if (c == '.') {
            ++file;
        } else if (isDigit(c)) {
            int count = c - '0';
            if (!in.atEnd() && isDigit(in.peek())) count = count * 10 + (in.text[in.pos++] - '0');
            file += count;
        } else if (c == '/') {
            if (file > 0) file = 8;
        }
        if (file > 7) {
            rank -= file / 8;
            file %= 8;
        }
        if (rank < 0) return;
    }
}

}  // namespace

int BoardBase::compare(const BoardBase& other) const {
    if (squares != other.squares) return 1;
    if (castlingRights != other.castlingRights) return 2;
    if (epSquare != other.epSquare) return 3;
    if (sideToMove != other.sideToMove) return 4;
    return 0;
}

void BoardBase::clear() {
    squares.fill(Empty);
    castlingRights = 0;
    epSquare = NoSquare;
    sideToMove = White;
    halfMoveClock = 0;
}

void Board::setFromFen(std::string_view text) {
    clear();
    FenCursor in{text.substr(0, std::min<size_t>(text.size(), 255))};

    if (!in.skipBlanks()) return;
    readPlacement(in, *this);

    if (!in.skipBlanks()) return;
    const char side = in.text[in.pos++];
    sideToMove = (side == 'b' || side == 'B') ? Black : White;

    if (!in.skipBlanks()) return;
    while (!in.atEnd() && !isFenBlank(in.peek())) {
        switch (in.text[in.pos++]) {
            case 'K':
                castlingRights |= CastleWhiteKing;
                break;
            case 'Q':
                castlingRights |= CastleWhiteQueen;
                break;
            case 'k':
                castlingRights |= CastleBlackKing;
                break;
            case 'q':
                castlingRights |= CastleBlackQueen;
                break;
            default:
                break;
        }
    }

    if (!in.skipBlanks()) return;
    const char fileChar = in.text[in.pos];
    const int file = (fileChar >= 'a' && fileChar <= 'h') ? fileChar - 'a' : 0;
    const char rankChar = in.pos + 1 < in.text.size() ? in.text[in.pos + 1] : '\0';
    epSquare = (rankChar >= '2' && rankChar <= '8') ? (rankChar - '1') * 16 + file : NoSquare;
}

FenClocks readFenClocks(std::string_view fen) {
    constexpr int32_t kMostClock = int32_t{1} << 30;
    return {std::clamp(atoiValue(nthTokenView(fen, 5)), 0, kMostClock),
            std::clamp(atoiValue(nthTokenView(fen, 6)), 1, kMostClock)};
}

std::string composeFen(std::string_view placement, std::string_view side, std::string_view castling,
                       std::string_view enPassant, int32_t halfMoveClock, int32_t fullMoveNumber) {
    std::string fen;
    fen.reserve(placement.size() + side.size() + castling.size() + enPassant.size() + 16);
    fen.append(placement).append(" ").append(side).append(" ").append(castling).append(" ");
    fen.append(enPassant).append(" ").append(std::to_string(halfMoveClock)).append(" ");
    fen.append(fullMoveNumber > 0 ? std::to_string(fullMoveNumber) : "1");
    return fen;
}

char pieceLetter(int32_t code) {
    switch (pieceKind(code)) {
        case 2:
            return 'N';
        case 3:
            return 'B';
        case 4:
            return 'R';
        case 5:
            return 'Q';
        case 6:
            return 'K';
        default:
            return ' ';
    }
}

}  // namespace tarnwick
