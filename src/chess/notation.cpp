#include "chess/notation.hpp"

#include <algorithm>
#include <vector>

#include "chess/movegen.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

constexpr size_t kWholeTextLimit = 19;
constexpr size_t kCutLength = 18;

bool isFileLetter(char c) {
    return c >= 'a' && c <= 'h';
}
bool isRankDigit(char c) {
    return c >= '1' && c <= '8';
}
bool isPieceLetter(char c) {
    return c == 'K' || c == 'Q' || c == 'R' || c == 'B' || c == 'N';
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

int32_t kindOfLetter(char c) {
    switch (c) {
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
        default:
            return Empty;
    }
}

int32_t colored(int32_t kind, int side) {
    return kind == Empty ? Empty : (side == White ? kind : kind + 6);
}

// What a move text says: the wanted piece and promotion (with colour) and whatever squares
// it names (-1 where unknown).
struct MoveQuery {
    int32_t piece = Empty;
    int32_t promotion = Empty;
    int fromFile = -1;
    int fromRank = -1;
    int toFile = -1;
    int toRank = -1;
};

// The text reduced to the characters that carry meaning, or "" when fewer than two remain.
std::string cleanMoveText(std::string_view text) {
    if (text.size() > kWholeTextLimit) text = text.substr(0, kCutLength);
    std::string cleaned;
    cleaned.reserve(text.size());
    bool started = false;
    for (char c : text) {
        if (c == '0' || c == 'o') c = 'O';
        if (!started) started = isFileLetter(c) || isPieceLetter(c) || c == 'O';
        if (!started) continue;
        if (isFileLetter(c) || isRankDigit(c) || isPieceLetter(upper(c)) || c == 'O') {
            cleaned += c;
        }
    }
    if (cleaned.size() < 2) return {};
    if (cleaned.size() > 2 && cleaned.back() == 'e') cleaned.pop_back();
    return cleaned;
}

MoveQuery castlingQuery(std::string_view cleaned, int side) {
    MoveQuery q;
    q.piece = colored(WhiteKing, side);
    q.fromFile = 4;
    q.fromRank = q.toRank = side == White ? 0 : 7;
    q.toFile = cleaned.starts_with("OOO") ? 2 : 6;
    return q;
}

MoveQuery squareQuery(const Board& board, std::string_view cleaned) {
    const int side = board.sideToMove;
    MoveQuery q;
    int32_t pieceKindNamed = isPieceLetter(cleaned.front()) ? kindOfLetter(cleaned.front()) : Empty;
    if (const char last = upper(cleaned.back()); isPieceLetter(last)) {
        q.promotion = kindOfLetter(last);
        cleaned.remove_suffix(1);
    }
    for (size_t i = cleaned.size(); i-- > 0;) {
        const char c = cleaned[i];
        if (isFileLetter(c)) {
            (q.toFile < 0 ? q.toFile : q.fromFile) = c - 'a';
        } else if (isRankDigit(c)) {
            (q.toRank < 0 ? q.toRank : q.fromRank) = c - '1';
        }
    }
    if (pieceKindNamed == Empty && q.fromFile < 0) q.fromFile = q.toFile;
    bool pawnOnOrigin = false;
    if (q.fromFile >= 0 && q.fromRank >= 0) {
        pieceKindNamed =
            pieceKind(board.squares[static_cast<size_t>(squareAt(q.fromRank, q.fromFile))]);
        pawnOnOrigin = pieceKindNamed == WhitePawn;
    }
    if (pieceKindNamed == Empty) {
        pieceKindNamed = WhitePawn;
        pawnOnOrigin = true;
    }
    if (pawnOnOrigin && (q.toRank == 0 || q.toRank == 7) && q.promotion == Empty) {
        q.promotion = WhiteQueen;
    }
    q.piece = colored(pieceKindNamed, side);
    q.promotion = colored(q.promotion, side);
    return q;
}

bool matches(const Board& board, const Move& m, const MoveQuery& q) {
    return board.squares[static_cast<size_t>(m.from)] == q.piece &&
           (q.fromFile < 0 || fileOf(m.from) == q.fromFile) &&
           (q.fromRank < 0 || rankOf(m.from) == q.fromRank) &&
           (q.toFile < 0 || fileOf(m.to) == q.toFile) &&
           (q.toRank < 0 || rankOf(m.to) == q.toRank) && m.promotion == q.promotion;
}

Move failedMove(int32_t status) {
    Move m;
    m.parseStatus = status;
    return m;
}

void appendSquare(std::string& out, int square) {
    out += static_cast<char>('a' + fileOf(square));
    out += static_cast<char>('1' + rankOf(square));
}

// "+" or "#" for a move that leads to the position after; castling never shows mate. replies
// receives the legal moves of after when the move gives check or when always is set.
void appendCheckMark(std::string& out, const Board& after, bool castling, MoveList& replies,
                     bool& repliesReady, bool always) {
    const int king = kingSquare(after, after.sideToMove);
    const bool check = king != NoSquare && isAttacked(after, king, after.sideToMove ^ 1);
    if (check || always) {
        generateLegalKnowing(after, replies, king, check);
        repliesReady = true;
    }
    if (check) out += (castling || replies.count > 0) ? '+' : '#';
}

// The origin file, rank or both, as far as needed to tell the move from the other moves of
// the same kind of piece to the same square.
void appendDisambiguation(std::string& out, const Board& board, const MoveList& legal,
                          const Move& move) {
    const int32_t piece = board.squares[static_cast<size_t>(move.from)];
    int candidates = 0;
    int sameFile = 0;
    int sameRank = 0;
    for (const Move& m : legal) {
        if (m.to != move.to || board.squares[static_cast<size_t>(m.from)] != piece) continue;
        ++candidates;
        sameFile += fileOf(m.from) == fileOf(move.from);
        sameRank += rankOf(m.from) == rankOf(move.from);
    }
    if (candidates < 2) return;
    if (sameFile == 1) {
        out += static_cast<char>('a' + fileOf(move.from));
    } else if (sameRank == 1) {
        out += static_cast<char>('1' + rankOf(move.from));
    } else {
        appendSquare(out, move.from);  // three or more pieces: neither alone is unique
    }
}

std::string coordinateText(const Move& move) {
    std::string text;
    appendSquare(text, move.from);
    appendSquare(text, move.to);
    if (move.promotion != Empty) {
        text += static_cast<char>(pieceLetter(move.promotion) - 'A' + 'a');
    }
    return text;
}

}  // namespace

Move parseMoveAmong(const Board& board, const MoveList& legal, std::string_view text) {
    const std::string cleaned = cleanMoveText(text);
    if (cleaned.empty()) return failedMove(ParseTooShort);
    const MoveQuery query = cleaned.starts_with("OO") ? castlingQuery(cleaned, board.sideToMove)
                                                      : squareQuery(board, cleaned);
    const Move* found = nullptr;
    for (const Move& m : legal) {
        if (!matches(board, m, query)) continue;
        if (found != nullptr) return failedMove(ParseNoUniqueMove);
        found = &m;
    }
    if (found == nullptr) return failedMove(ParseNoUniqueMove);
    Move result = *found;
    result.parseStatus = ParseFound;
    return result;
}

namespace {

// SAN of a legal move without its check mark; false in castled when it is written as castling.
void appendSanBody(std::string& san, const Board& board, const MoveList& legal, const Move& move,
                   bool& castled) {
    const int32_t kind = pieceKind(board.squares[static_cast<size_t>(move.from)]);
    const bool capture = (move.flags & MoveCapture) != 0;
    castled = kind == WhiteKing && (move.flags & MoveCastle) &&
              (fileOf(move.to) == 6 || fileOf(move.to) == 2);
    if (castled) {
        san += fileOf(move.to) == 6 ? "O-O" : "O-O-O";
        return;
    }
    if (kind == WhitePawn) {
        if (capture) san += static_cast<char>('a' + fileOf(move.from));
    } else {
        san += pieceLetter(board.squares[static_cast<size_t>(move.from)]);
        if (kind != WhiteKing) appendDisambiguation(san, board, legal, move);
    }
    if (capture) san += 'x';
    appendSquare(san, move.to);
    if (move.promotion != Empty) {
        san += '=';
        san += pieceLetter(move.promotion);
    }
}

// Appends the SAN of a legal move; after receives the position after it, and replies its
// legal moves when repliesReady comes back true.
void appendSan(std::string& san, const Board& board, const MoveList& legal, const Move& move,
               Board& after, MoveList& replies, bool& repliesReady, bool wantReplies) {
    bool castled = false;
    appendSanBody(san, board, legal, move, castled);
    after = board;
    Move made = move;
    makeMove(after, made);
    repliesReady = false;
    appendCheckMark(san, after, castled, replies, repliesReady, wantReplies);
}

}  // namespace

std::string sanAmong(const Board& board, const MoveList& legal, const Move& move) {
    std::string san;
    Board after;
    MoveList replies;
    bool repliesReady = false;
    appendSan(san, board, legal, move, after, replies, repliesReady, false);
    return san;
}

Move Board::parseMove(std::string_view text) const {
    MoveList legal;
    generateLegal(*this, legal);
    return parseMoveAmong(*this, legal, text);
}

std::string Board::sanOf(const Move& move) const {
    if (!onBoard(move.from) || !onBoard(move.to) || move.isNull()) return {};
    MoveList legal;
    generateLegal(*this, legal);
    // The move is confirmed by reading its coordinate text back among the legal moves.
    const Move confirmed = parseMoveAmong(*this, legal, coordinateText(move));
    if (!confirmed.isValid()) return {};
    return sanAmong(*this, legal, confirmed);
}

std::string sanVariation(const Board& start, std::string_view tokens) {
    Board board = start;
    Board after;
    MoveList lists[2];
    MoveList* legal = &lists[0];
    MoveList* replies = &lists[1];
    generateLegal(board, *legal);
    std::string out;
    out.reserve(tokens.size() + 16);
    forEachToken(tokens, [&](std::string_view token) {
        const Move move = parseMoveAmong(board, *legal, token);
        if (!move.isValid()) return true;
        if (!out.empty()) out += ' ';
        bool repliesReady = false;
        appendSan(out, board, *legal, move, after, *replies, repliesReady, true);
        // The move is played only when legal by the make-and-test rule, as playMove does.
        if (!isLegalAfter(board, move, after)) return true;
        board = after;
        if (repliesReady) {
            std::swap(legal, replies);
        } else {
            generateLegal(board, *legal);
        }
        return true;
    });
    return out;
}

void normaliseMoves(std::string_view fen, std::string& am, std::string& bm, std::string& pm,
                    std::string& pv, std::string& c1) {
    Board board;
    board.setFromFen(fen);
    MoveList legal;
    generateLegal(board, legal);

    int running = 0;
    std::vector<int> dropped;  // running places (from 1) of words that name no legal move
    auto rewrite = [&](std::string& moves) {
        if (moves.empty()) return;
        std::string out;
        forEachToken(moves, [&](std::string_view word) {
            ++running;
            const Move move = parseMoveAmong(board, legal, word);
            if (!move.isValid()) {
                dropped.push_back(running);
                return true;
            }
            if (!out.empty()) out += ' ';
            out += sanAmong(board, legal, move);
            return true;
        });
        moves = out;
    };
    rewrite(am);
    rewrite(bm);

    if (!dropped.empty()) {
        std::string points;
        int place = 0;
        bool changed = false;
        forEachToken(c1, [&](std::string_view number) {
            ++place;
            if (std::find(dropped.begin(), dropped.end(), place) != dropped.end()) {
                changed = true;
                return true;
            }
            if (!points.empty()) points += ' ';
            points += number;
            return true;
        });
        if (changed) c1 = points;
    }

    if (!pm.empty()) {
        const Move move = parseMoveAmong(board, legal, pm);
        if (move.isValid()) pm = sanAmong(board, legal, move);
    }
    if (!pv.empty()) pv = sanVariation(board, pv);
}

}  // namespace tarnwick
