#include "chess/move_text.hpp"

#include "chess/movegen.hpp"

namespace tarnwick {

namespace {

// Move texts longer than 19 characters are cut to their first 18.
constexpr size_t kWholeTextLimit = 19;
constexpr size_t kCutLength = 18;

bool isFileLetter(char c) {
    return c >= 'a' && c <= 'h';
}

bool isRankDigit(char c) {
    return c >= '1' && c <= '8';
}

// The colour-free kind an upper-case piece letter names, or 0.
int32_t pieceKindOfLetter(char c) {
    switch (c) {
        case 'N':
            return 2;
        case 'B':
            return 3;
        case 'R':
            return 4;
        case 'Q':
            return 5;
        case 'K':
            return 6;
        default:
            return 0;
    }
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isPieceLetterEitherCase(char c) {
    return pieceKindOfLetter(upper(c)) != 0;
}

bool isOnBoard(int square) {
    return static_cast<unsigned>(square) < 128u && onBoard(square);
}

}  // namespace

bool readMoveText(std::string_view text, const BoardBase& board, MoveQuery& query) {
    const size_t length = text.size() <= kWholeTextLimit ? text.size() : kCutLength;
    char kept[kWholeTextLimit];
    int count = 0;
    bool started = false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '0' || c == 'o') c = 'O';
        if (!started) {
            if (!isFileLetter(c) && pieceKindOfLetter(c) == 0 && c != 'O') continue;
            started = true;
        }
        if (isFileLetter(c) || isRankDigit(c) || isPieceLetterEitherCase(c) || c == 'O') {
            kept[count++] = c;
        }
    }
    if (count < 2) return false;
    if (count > 2 && kept[count - 1] == 'e') --count;

    const int32_t base = board.sideToMove == Black ? 6 : 0;
    query = MoveQuery{};
    if (kept[0] == 'O' && kept[1] == 'O') {
        const bool queenSide = count >= 3 && kept[2] == 'O';
        query.piece = base + WhiteKing;
        query.fromFile = 4;
        query.fromRank = board.sideToMove == Black ? 7 : 0;
        query.toFile = queenSide ? 2 : 6;
        query.toRank = query.fromRank;
        return true;
    }

    int32_t kind = pieceKindOfLetter(kept[0]);
    int32_t promotion = pieceKindOfLetter(upper(kept[count - 1]));
    const int end = promotion != 0 ? count - 1 : count;
    for (int i = end - 1; i >= 0; --i) {
        const char c = kept[i];
        if (isFileLetter(c)) {
            (query.toFile < 0 ? query.toFile : query.fromFile) = c - 'a';
        } else if (isRankDigit(c)) {
            (query.toRank < 0 ? query.toRank : query.fromRank) = c - '1';
        }
    }
    if (kind == 0 && query.fromFile < 0) query.fromFile = query.toFile;
    if (query.fromFile >= 0 && query.fromRank >= 0) {
        kind = pieceKind(board.squares[squareAt(query.fromRank, query.fromFile)]);
    }
    if (kind == 0) kind = WhitePawn;
    if (kind == WhitePawn && promotion == 0 && (query.toRank == 0 || query.toRank == 7)) {
        promotion = WhiteQueen;
    }
    query.piece = base + kind;
    query.promotion = promotion != 0 ? base + promotion : Empty;
    return true;
}

Move findMove(const BoardBase& board, const MoveList& legal, const MoveQuery& query) {
    const Move* found = nullptr;
    int matches = 0;
    for (const Move& m : legal) {
        if (board.squares[m.from] != query.piece || m.promotion != query.promotion) continue;
        if (query.fromFile >= 0 && fileOf(m.from) != query.fromFile) continue;
        if (query.fromRank >= 0 && rankOf(m.from) != query.fromRank) continue;
        if (query.toFile >= 0 && fileOf(m.to) != query.toFile) continue;
        if (query.toRank >= 0 && rankOf(m.to) != query.toRank) continue;
        found = &m;
        ++matches;
    }
    Move result;
    if (matches == 1) {
        result = *found;
        result.parseStatus = ParseFound;
    } else {
        result.parseStatus = ParseNoUniqueMove;
    }
    return result;
}

Move confirmMove(const BoardBase& board, const MoveList& legal, const Move& move) {
    if (!isOnBoard(move.from) || !isOnBoard(move.to)) {
        Move none;
        none.parseStatus = ParseNoUniqueMove;
        return none;
    }
    std::string text = squareName(move.from) + squareName(move.to);
    const char letter = pieceLetter(move.promotion);
    if (letter != ' ') text += static_cast<char>(letter - 'A' + 'a');
    MoveQuery query;
    readMoveText(text, board, query);
    return findMove(board, legal, query);
}

bool writesAsCastling(const BoardBase& board, const Move& move) {
    return (move.flags & MoveCastle) && pieceKind(board.squares[move.from]) == WhiteKing &&
           (fileOf(move.to) == 6 || fileOf(move.to) == 2);
}

// Piece letter, disambiguation, capture mark, destination and promotion; pieces of one kind
// reaching the same square are told apart by file, else rank, else both.
int writeSanBody(const BoardBase& board, const MoveList& legal, const Move& move, char* out) {
    int n = 0;
    if (writesAsCastling(board, move)) {
        for (char c : fileOf(move.to) == 6 ? std::string_view("O-O") : std::string_view("O-O-O")) {
            out[n++] = c;
        }
        return n;
    }
    const int32_t piece = board.squares[move.from];
    const int32_t kind = pieceKind(piece);
    const bool capture = (move.flags & MoveCapture) != 0;
    if (kind == WhitePawn) {
        if (capture) out[n++] = static_cast<char>('a' + fileOf(move.from));
    } else {
        out[n++] = pieceLetter(piece);
    }
    if (kind >= WhiteKnight && kind <= WhiteQueen) {
        int rivals = 0;
        int onFile = 0;
        int onRank = 0;
        for (const Move& m : legal) {
            if (m.to != move.to || board.squares[m.from] != piece) continue;
            ++rivals;
            if (fileOf(m.from) == fileOf(move.from)) ++onFile;
            if (rankOf(m.from) == rankOf(move.from)) ++onRank;
        }
        if (rivals > 1) {
            const bool byFile = onFile == 1;
            const bool byRank = !byFile;
            if (byFile || onRank != 1) out[n++] = static_cast<char>('a' + fileOf(move.from));
            if (byRank) out[n++] = static_cast<char>('1' + rankOf(move.from));
        }
    }
    if (capture) out[n++] = 'x';
    out[n++] = static_cast<char>('a' + fileOf(move.to));
    out[n++] = static_cast<char>('1' + rankOf(move.to));
    if (move.flags & MovePromotion) {
        out[n++] = '=';
        out[n++] = pieceLetter(move.promotion);
    }
    return n;
}

char checkMark(BoardBase& after, bool castling, MoveList& scratch) {
    if (!inCheck(after, after.sideToMove)) return 0;
    if (castling) return '+';
    generateLegal(after, scratch);
    return scratch.count == 0 ? '#' : '+';
}

}  // namespace tarnwick
