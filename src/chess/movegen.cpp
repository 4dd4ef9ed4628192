#include "chess/movegen.hpp"

#include <algorithm>
#include <array>

namespace tarnwick {

namespace {

constexpr std::array<int, 8> kKnightOffsets = {14, 31, 33, 18, -14, -31, -33, -18};
constexpr std::array<int, 8> kKingOffsets = {-1, 15, 16, 17, 1, -15, -16, -17};
constexpr std::array<int, 4> kDiagonals = {15, 17, -15, -17};
constexpr std::array<int, 4> kOrthogonals = {-1, 16, 1, -16};

// For every square, the knight targets that stay on the board, in offset order, ended by
// NoSquare. Built at compile time, so no thread can see it half made.
using KnightTargets = std::array<std::array<uint8_t, 9>, 128>;
constexpr KnightTargets buildKnightTargets() {
    KnightTargets table{};
    for (int from = 0; from < 128; ++from) {
        int n = 0;
        if (onBoard(from)) {
            for (const int offset : kKnightOffsets) {
                if (onBoard(from + offset)) table[from][n++] = static_cast<uint8_t>(from + offset);
            }
        }
        for (; n < 9; ++n) table[from][n] = NoSquare;
    }
    return table;
}
constexpr KnightTargets kKnightTargets = buildKnightTargets();

int32_t at(const Board& board, int square) {
    return board.squares[static_cast<size_t>(square)];
}

bool isOwn(int32_t piece, int side) {
    return piece != Empty && (side == White ? piece <= 6 : piece > 6);
}
bool isEnemy(int32_t piece, int side) {
    return piece != Empty && (side == White ? piece > 6 : piece <= 6);
}
int32_t colored(int32_t kind, int side) {
    return side == White ? kind : kind + 6;
}

// Builds moves of the piece on one square into the list.
class Generator {
  public:
    Generator(const Board& board, MoveList& list)
        : board_(board), out_(list.data()), side_(board.sideToMove) {}

    // Moves written so far; the count lives here, not in the list, so that writing moves does
    // not make the compiler reload it.
    int count() const { return count_; }

    void piece(int from) {
        switch (pieceKind(at(board_, from))) {
            case 1:
                pawn(from);
                break;
            case 2:
                knight(from);
                break;
            case 3:
                slide(from, kDiagonals);
                break;
            case 4:
                slide(from, kOrthogonals);
                break;
            case 5:
                slide(from, kDiagonals);
                slide(from, kOrthogonals);
                break;
            case 6:
                king(from);
                break;
            default:
                break;
        }
    }

  private:
    void add(int from, int to, int32_t flags, int32_t captured, int32_t promotion = Empty) {
        if (count_ >= MoveList::kCapacity) return;
        Move& m = out_[count_++];
        m = Move{};
        m.from = from;
        m.to = to;
        m.flags = flags;
        m.captured = captured;
        m.promotion = promotion;
    }

    void addPromotions(int from, int to, int32_t flags, int32_t captured) {
        for (const int32_t kind : {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight}) {
            add(from, to, flags, captured, colored(kind, side_));
        }
    }

    void step(int from, int to) {
        const int32_t target = at(board_, to);
        if (target == Empty) {
            add(from, to, 0, 0);
        } else if (isEnemy(target, side_)) {
            add(from, to, MoveCapture, target);
        }
    }

    void knight(int from) {
        for (const uint8_t to : kKnightTargets[static_cast<size_t>(from)]) {
            if (to == NoSquare) break;
            step(from, to);
        }
    }

    template <size_t N>
    void slide(int from, const std::array<int, N>& directions) {
        for (const int d : directions) {
            for (int to = from + d; onBoard(to); to += d) {
                const int32_t target = at(board_, to);
                if (target == Empty) {
                    add(from, to, 0, 0);
                    continue;
                }
                if (isEnemy(target, side_)) add(from, to, MoveCapture, target);
                break;
            }
        }
    }

    void pawn(int from) {
        const int dir = side_ == White ? 16 : -16;
        const int ahead = from + dir;
        if (!onBoard(ahead)) return;
        const bool lastRank = ahead < 16 || ahead > 103;
        if (at(board_, ahead) == Empty) {
            if (lastRank) {
                addPromotions(from, ahead, MovePawn | MovePromotion, 0);
            } else {
                add(from, ahead, MovePawn, 0);
            }
        }
        for (const int to : {ahead - 1, ahead + 1}) {
            if (!onBoard(to)) continue;
            const int32_t target = at(board_, to);
            if (isEnemy(target, side_)) {
                if (lastRank) {
                    addPromotions(from, to, MovePawn | MovePromotion | MoveCapture, target);
                } else {
                    add(from, to, MovePawn | MoveCapture, target);
                }
            } else if (to == board_.epSquare) {
                add(from, to, MovePawn | MoveCapture | MoveEnPassant,
                    side_ == White ? BlackPawn : WhitePawn);
            }
        }
        const int startRank = side_ == White ? 1 : 6;
        const int twoAhead = ahead + dir;
        if (rankOf(from) == startRank && at(board_, ahead) == Empty && onBoard(twoAhead) &&
            at(board_, twoAhead) == Empty) {
            add(from, twoAhead, MovePawn | MoveDoublePush, 0);
        }
    }

    void king(int from) {
        for (const int d : kKingOffsets) {
            if (onBoard(from + d)) step(from, from + d);
        }
        const int rights = side_ == White ? board_.castlingRights : board_.castlingRights >> 2;
        auto empty = [&](int sq) { return onBoard(sq) && at(board_, sq) == Empty; };
        if ((rights & 1) && empty(from + 1) && empty(from + 2)) add(from, from + 2, MoveCastle, 0);
        if ((rights & 2) && empty(from - 1) && empty(from - 2) && empty(from - 3)) {
            add(from, from - 2, MoveCastle, 0);
        }
    }

    const Board& board_;
    Move* out_;
    int count_ = 0;
    int side_;
};

// The first square from a1 to h8 holding side's king, or NoSquare.
int findKing(const Board& board, int side) {
    const int32_t king = colored(WhiteKing, side);
    const auto first = board.squares.begin();
    for (auto it = std::find(first, first + 120, king); it != first + 120;
         it = std::find(it + 1, first + 120, king)) {
        if (onBoard(static_cast<int>(it - first))) return static_cast<int>(it - first);
    }
    return NoSquare;
}

// Whether bySide attacks square when the piece on `ignored` is taken off the board: the test of
// a king move, whose own king must not shield the square it moves to.
bool isAttackedWithout(const Board& board, int square, int bySide, int ignored) {
    auto blocks = [&](int sq) { return sq != ignored && at(board, sq) != Empty; };
    const int32_t bishop = colored(WhiteBishop, bySide);
    const int32_t rook = colored(WhiteRook, bySide);
    const int32_t queen = colored(WhiteQueen, bySide);
    for (const int d : kDiagonals) {
        int sq = square + d;
        while (onBoard(sq) && !blocks(sq)) sq += d;
        if (onBoard(sq) && (at(board, sq) == bishop || at(board, sq) == queen)) return true;
    }
    for (const int d : kOrthogonals) {
        int sq = square + d;
        while (onBoard(sq) && !blocks(sq)) sq += d;
        if (onBoard(sq) && (at(board, sq) == rook || at(board, sq) == queen)) return true;
    }
    return isAttacked(board, square, bySide);
}

// Marks the own pieces that stand between the king and an enemy slider on one line: moving
// them may expose the king, so only their moves need the full test.
void markPinned(const Board& board, int king, int side, std::array<bool, 128>& pinned) {
    auto scan = [&](int d, int32_t slider) {
        int blocker = NoSquare;
        for (int sq = king + d; onBoard(sq); sq += d) {
            const int32_t piece = at(board, sq);
            if (piece == Empty) continue;
            if (blocker == NoSquare) {
                if (!isOwn(piece, side)) return;
                blocker = sq;
                continue;
            }
            const int32_t kind = pieceKind(piece);
            if (isEnemy(piece, side) && (kind == slider || kind == 5)) {
                pinned[static_cast<size_t>(blocker)] = true;
            }
            return;
        }
    };
    for (const int d : kDiagonals) scan(d, 3);
    for (const int d : kOrthogonals) scan(d, 4);
}

// The full test of one move: castling through attacked squares, then whether the king's
// square (the destination for a king move) is attacked after the move.
bool passesFullTest(Board& scratch, const Move& move, int king, int side) {
    const int enemy = side ^ 1;
    if (move.flags & MoveCastle) {
        const int passed = std::max(move.from, move.to) - 1;
        if (isAttacked(scratch, move.from, enemy) || isAttacked(scratch, passed, enemy)) {
            return false;
        }
    }
    const bool kingMoves = at(scratch, move.from) == colored(WhiteKing, side);
    Move made = move;
    makeMove(scratch, made);
    const bool attacked = isAttacked(scratch, kingMoves ? move.to : king, enemy);
    unmakeMove(scratch, made);
    return !attacked;
}

}  // namespace

void generatePseudoLegal(const Board& board, MoveList& list) {
    Generator generator(board, list);
    for (int sq = 0; sq < 120; ++sq) {
        if (onBoard(sq) && isOwn(at(board, sq), board.sideToMove)) generator.piece(sq);
    }
    list.count = generator.count();
}

void generateLegal(const Board& board, MoveList& list) {
    const int king = findKing(board, board.sideToMove);
    generateLegalKnowing(board, list, king,
                         king != NoSquare && isAttacked(board, king, board.sideToMove ^ 1));
}

void generateLegalKnowing(const Board& board, MoveList& list, int king, bool checked) {
    generatePseudoLegal(board, list);
    const int side = board.sideToMove;
    if (king == NoSquare) return;
    std::array<bool, 128> pinned{};
    if (!checked) markPinned(board, king, side, pinned);

    Board scratch;
    bool scratchReady = false;
    int kept = 0;
    for (int i = 0; i < list.count; ++i) {
        const Move& m = list[i];
        const bool kingMove = pieceKind(at(board, m.from)) == 6;
        bool legal = false;
        if (!checked && !kingMove && !pinned[static_cast<size_t>(m.from)] &&
            (m.flags & MoveEnPassant) == 0) {
            // Out of check, a move that is no king move, no en-passant capture and not made
            // by a pinned piece cannot expose the king.
            legal = true;
        } else if (kingMove && (m.flags & MoveCastle) == 0) {
            // After a king move only its destination matters; the king no longer shields it.
            legal = !isAttackedWithout(board, m.to, side ^ 1, m.from);
        } else {
            if (!scratchReady) scratch = board;
            scratchReady = true;
            legal = passesFullTest(scratch, m, king, side);
        }
        if (legal) list[kept++] = m;
    }
    list.count = kept;
}

bool isAttacked(const Board& board, int square, int bySide) {
    const int32_t bishop = colored(WhiteBishop, bySide);
    const int32_t rook = colored(WhiteRook, bySide);
    const int32_t queen = colored(WhiteQueen, bySide);
    for (const int d : kDiagonals) {
        for (int sq = square + d; onBoard(sq); sq += d) {
            const int32_t piece = at(board, sq);
            if (piece == Empty) continue;
            if (piece == bishop || piece == queen) return true;
            break;
        }
    }
    for (const int d : kOrthogonals) {
        for (int sq = square + d; onBoard(sq); sq += d) {
            const int32_t piece = at(board, sq);
            if (piece == Empty) continue;
            if (piece == rook || piece == queen) return true;
            break;
        }
    }
    const int32_t knight = colored(WhiteKnight, bySide);
    for (const int d : kKnightOffsets) {
        if (onBoard(square + d) && at(board, square + d) == knight) return true;
    }
    const int32_t king = colored(WhiteKing, bySide);
    for (const int d : kKingOffsets) {
        if (onBoard(square + d) && at(board, square + d) == king) return true;
    }
    const int32_t pawn = colored(WhitePawn, bySide);
    const std::array<int, 2> pawnFrom =
        bySide == Black ? std::array<int, 2>{15, 17} : std::array<int, 2>{-17, -15};
    for (const int d : pawnFrom) {
        if (onBoard(square + d) && at(board, square + d) == pawn) return true;
    }
    return false;
}

int kingSquare(const Board& board, int side) {
    return findKing(board, side);
}

bool inCheck(const Board& board, int side) {
    const int king = findKing(board, side);
    return king != NoSquare && isAttacked(board, king, side ^ 1);
}

void makeMove(Board& board, Move& move) {
    move.prevCastling = board.castlingRights;
    move.prevEpSquare = board.epSquare;
    move.prevHalfMoveClock = board.halfMoveClock;
    const int side = board.sideToMove;
    const int dir = side == White ? 16 : -16;
    const int32_t piece = at(board, move.from);

    board.setSquare(move.to, move.promotion != Empty ? move.promotion : piece);
    board.setSquare(move.from, Empty);
    if (move.flags & MoveEnPassant) board.setSquare(move.to - dir, Empty);

    board.epSquare = NoSquare;
    if (move.flags & MoveDoublePush) {
        const int32_t enemyPawn = side == White ? BlackPawn : WhitePawn;
        for (const int beside : {move.to - 1, move.to + 1}) {
            if (onBoard(beside) && at(board, beside) == enemyPawn) board.epSquare = move.to - dir;
        }
    }

    if (move.flags & MoveCastle) {
        // The rook is placed by the king's destination, whatever stood in the corner.
        auto rook = [&](int square, int32_t code, int corner) {
            board.setSquare(square, code);
            board.setSquare(corner, Empty);
        };
        switch (move.to) {
            case 6:
                rook(5, WhiteRook, 7);
                break;
            case 2:
                rook(3, WhiteRook, 0);
                break;
            case 118:
                rook(117, BlackRook, 119);
                break;
            case 114:
                rook(115, BlackRook, 112);
                break;
            default:
                break;
        }
    }

    board.halfMoveClock = (move.flags & (MoveCapture | MovePawn)) ? 0 : board.halfMoveClock + 1;

    const int32_t moved = at(board, move.to);
    if (moved == WhiteKing) board.castlingRights &= ~(CastleWhiteKing | CastleWhiteQueen);
    if (moved == BlackKing) board.castlingRights &= ~(CastleBlackKing | CastleBlackQueen);
    auto touches = [&](int square) { return move.from == square || move.to == square; };
    if (touches(0)) board.castlingRights &= ~CastleWhiteQueen;
    if (touches(7)) board.castlingRights &= ~CastleWhiteKing;
    if (touches(112)) board.castlingRights &= ~CastleBlackQueen;
    if (touches(119)) board.castlingRights &= ~CastleBlackKing;

    board.sideToMove ^= 1;
}

void unmakeMove(Board& board, const Move& move) {
    const bool blackNowToMove = board.sideToMove == Black;
    board.setSquare(move.from, at(board, move.to));
    const bool normalCapture = (move.flags & MoveCapture) && !(move.flags & MoveEnPassant);
    board.setSquare(move.to, normalCapture ? move.captured : Empty);
    if (move.flags & MoveEnPassant) {
        if (blackNowToMove) {
            board.setSquare(move.to - 16, BlackPawn);
        } else {
            board.setSquare(move.to + 16, WhitePawn);
        }
    }
    if (move.flags & MovePromotion)
        board.setSquare(move.from, blackNowToMove ? WhitePawn : BlackPawn);
    if (move.flags & MoveCastle) {
        auto back = [&](int rookNow, int corner) {
            board.setSquare(corner, at(board, rookNow));
            board.setSquare(rookNow, Empty);
        };
        switch (move.to) {
            case 6:
                back(5, 7);
                break;
            case 2:
                back(3, 0);
                break;
            case 118:
                back(117, 119);
                break;
            case 114:
                back(115, 112);
                break;
            default:
                break;
        }
    }
    board.epSquare = move.prevEpSquare;
    board.castlingRights = move.prevCastling;
    board.halfMoveClock = move.prevHalfMoveClock;
    board.sideToMove ^= 1;
}

void makeNullMove(Board& board, Move& move) {
    move.prevCastling = board.castlingRights;
    move.prevEpSquare = board.epSquare;
    move.prevHalfMoveClock = board.halfMoveClock;
    move.flags = MoveNull;
    board.epSquare = NoSquare;
    ++board.halfMoveClock;
    board.sideToMove ^= 1;
}

void unmakeNullMove(Board& board, const Move& move) {
    board.castlingRights = move.prevCastling;
    board.epSquare = move.prevEpSquare;
    board.halfMoveClock = move.prevHalfMoveClock;
    board.sideToMove ^= 1;
}

bool isLegalAfter(const Board& board, const Move& move, const Board& after) {
    if (move.isNull()) return true;
    if (move.from == move.to) return false;
    const int side = board.sideToMove;
    if (move.flags & MoveCastle) {
        const int passed = std::max(move.from, move.to) - 1;
        if (isAttacked(board, move.from, side ^ 1) || isAttacked(board, passed, side ^ 1)) {
            return false;
        }
    }
    return !inCheck(after, side);
}

bool isLegal(const Board& board, const Move& move) {
    if (move.isNull()) return true;
    Board after = board;
    Move made = move;
    if (move.from != move.to) makeMove(after, made);
    return isLegalAfter(board, move, after);
}

bool playMove(Board& board, const Move& move, bool checkLegal) {
    Move made = move;
    if (move.isNull()) {
        makeNullMove(board, made);
        return true;
    }
    if (checkLegal && !isLegal(board, move)) return false;
    makeMove(board, made);
    return true;
}

}  // namespace tarnwick
