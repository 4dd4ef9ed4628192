#include "chess/movegen.hpp"

#include <array>
#include <bit>
#include <cstdint>

namespace tarnwick {

namespace {

constexpr std::array<int, 8> kKnightOffsets = {14, 31, 33, 18, -14, -31, -33, -18};
constexpr std::array<int, 8> kKingSteps = {-1, 15, 16, 17, 1, -15, -16, -17};
constexpr std::array<int, 4> kDiagonals = {15, 17, -15, -17};
constexpr std::array<int, 4> kOrthogonals = {-1, 16, 1, -16};

// Squares reached by a knight from each 0x88 index, in offset order, ended by NoSquare.
using KnightTable = std::array<std::array<uint8_t, 8>, 128>;

constexpr KnightTable buildKnightTable() {
    KnightTable table{};
    for (int from = 0; from < 128; ++from) {
        int n = 0;
        for (int offset : kKnightOffsets) {
            const int to = from + offset;
            if (onBoard(from) && to >= 0 && onBoard(to))
                table[from][n++] = static_cast<uint8_t>(to);
        }
        for (; n < 8; ++n) table[from][n] = NoSquare;
    }
    return table;
}

constexpr KnightTable kKnightTargets = buildKnightTable();

// Whether an index is a real square (squares computed by offsets may fall below 0 or past 127).
constexpr bool valid(int square) {
    return static_cast<unsigned>(square) < 128u && (square & 0x88) == 0;
}

int32_t colourBase(int side) {
    return side == White ? 0 : 6;
}

// The pieces of the side to move as seen by the generator.
struct Side {
    int side;

    bool own(int32_t code) const { return side == White ? isWhitePiece(code) : isBlackPiece(code); }
    bool enemy(int32_t code) const {
        return side == White ? isBlackPiece(code) : isWhitePiece(code);
    }
};

void add(MoveList& list, int from, int to, int32_t flags, int32_t promotion = 0,
         int32_t captured = 0) {
    if (list.count >= MoveList::kCapacity) return;
    list.moves[list.count++] = Move{from, to, flags, promotion, captured};
}

void addPromotions(MoveList& list, int side, int from, int to, int32_t flags, int32_t captured) {
    const int32_t base = colourBase(side);
    for (int32_t kind : {5, 4, 3, 2}) add(list, from, to, flags, base + kind, captured);
}

void stepMoves(const BoardBase& board, Side us, MoveList& list, int from,
               const std::array<int, 8>& offsets) {
    for (int step : offsets) {
        const int to = from + step;
        if (!valid(to)) continue;
        const int32_t piece = board.squares[to];
        if (piece == Empty) {
            add(list, from, to, 0);
        } else if (us.enemy(piece)) {
            add(list, from, to, MoveCapture, 0, piece);
        }
    }
}

void knightMoves(const BoardBase& board, Side us, MoveList& list, int from) {
    for (uint8_t to : kKnightTargets[from]) {
        if (to == NoSquare) return;
        const int32_t piece = board.squares[to];
        if (piece == Empty) {
            add(list, from, to, 0);
        } else if (us.enemy(piece)) {
            add(list, from, to, MoveCapture, 0, piece);
        }
    }
}

void slideMoves(const BoardBase& board, Side us, MoveList& list, int from,
                const std::array<int, 4>& directions) {
    for (int direction : directions) {
        for (int to = from + direction; valid(to); to += direction) {
            const int32_t piece = board.squares[to];
            if (piece == Empty) {
                add(list, from, to, 0);
                continue;
            }
            if (us.enemy(piece)) add(list, from, to, MoveCapture, 0, piece);
            break;
        }
    }
}

bool emptySquares(const BoardBase& board, int from, int direction, int count) {
    for (int i = 1; i <= count; ++i) {
        const int square = from + direction * i;
        if (!valid(square) || board.squares[square] != Empty) return false;
    }
    return true;
}

// King steps, then castling on trust of the rights alone; only squares on the board count.
void kingMoves(const BoardBase& board, Side us, MoveList& list, int from) {
    stepMoves(board, us, list, from, kKingSteps);
    const int32_t rights = us.side == White ? board.castlingRights : (board.castlingRights >> 2);
    if ((rights & 1) && emptySquares(board, from, 1, 2)) add(list, from, from + 2, MoveCastle);
    if ((rights & 2) && emptySquares(board, from, -1, 3)) add(list, from, from - 2, MoveCastle);
}

// Pushes, captures toward the a- then the h-file, then the double push. En passant needs an
// empty target with an enemy pawn behind it, so that unmaking can put back what it took.
void pawnMoves(const BoardBase& board, Side us, MoveList& list, int from) {
    const int direction = us.side == White ? 16 : -16;
    const int32_t enemyPawn = us.side == White ? BlackPawn : WhitePawn;
    const int ahead = from + direction;
    if (valid(ahead) && board.squares[ahead] == Empty) {
        if (ahead < 16 || ahead > 103) {
            addPromotions(list, us.side, from, ahead, MovePawn | MovePromotion, 0);
        } else {
            add(list, from, ahead, MovePawn);
        }
    }
    for (int to : {ahead - 1, ahead + 1}) {
        if (!valid(to)) continue;
        const int32_t piece = board.squares[to];
        if (us.enemy(piece)) {
            if (to < 16 || to > 103) {
                addPromotions(list, us.side, from, to, MovePawn | MovePromotion | MoveCapture,
                              piece);
            } else {
                add(list, from, to, MovePawn | MoveCapture, 0, piece);
            }
        } else if (to == board.epSquare && piece == Empty) {
            const int behind = to - direction;
            if (valid(behind) && board.squares[behind] == enemyPawn) {
                add(list, from, to, MovePawn | MoveCapture | MoveEnPassant, 0, enemyPawn);
            }
        }
    }
    const int startRank = us.side == White ? 1 : 6;
    if (rankOf(from) == startRank && board.squares[ahead] == Empty &&
        board.squares[ahead + direction] == Empty) {
        add(list, from, ahead + direction, MovePawn | MoveDoublePush);
    }
}

// Where a sliding piece pins an own piece to the king: the pinned square, the direction from
// the king, and the pinner's square.
struct Pin {
    int square;
    int direction;
    int pinner;
};

struct Pins {
    std::array<Pin, 8> pins;
    int count = 0;
};

void findPins(const BoardBase& board, Side us, int kingSquare, Pins& out) {
    const int32_t base = colourBase(1 - us.side);
    const int32_t queen = base + 5;
    auto scan = [&](const std::array<int, 4>& directions, int32_t slider) {
        for (int direction : directions) {
            int square = kingSquare + direction;
            while (valid(square) && board.squares[square] == Empty) square += direction;
            if (!valid(square) || !us.own(board.squares[square])) continue;
            const int pinned = square;
            square += direction;
            while (valid(square) && board.squares[square] == Empty) square += direction;
            if (!valid(square)) continue;
            const int32_t piece = board.squares[square];
            if (piece == slider || piece == queen)
                out.pins[out.count++] = {pinned, direction, square};
        }
    };
    scan(kDiagonals, base + 3);
    scan(kOrthogonals, base + 4);
}

// Whether a move from `from` to `to` keeps a pinned piece between its king and its pinner.
bool staysOnPinLine(const Pins& pins, int from, int to, int kingSquare) {
    for (int i = 0; i < pins.count; ++i) {
        const Pin& pin = pins.pins[i];
        if (pin.square != from) continue;
        for (int square = kingSquare + pin.direction;; square += pin.direction) {
            if (square == to) return true;
            if (square == pin.pinner) return false;
        }
    }
    return true;
}

// Whether the opponent attacks the king square once the move's pieces have left and arrived;
// only squares change, which is all an attack test reads.
bool exposesKing(BoardBase& board, const Move& move, int kingSquare, int opponent) {
    const int32_t mover = board.squares[move.from];
    const int32_t target = board.squares[move.to];
    int behind = NoSquare;
    int32_t behindPiece = Empty;
    if (move.flags & MoveEnPassant) {
        behind = move.to - (board.sideToMove == White ? 16 : -16);
        behindPiece = board.squares[behind];
        board.squares[behind] = Empty;
    }
    board.squares[move.from] = Empty;
    board.squares[move.to] = mover;
    const bool attacked = isAttacked(board, kingSquare, opponent);
    board.squares[move.to] = target;
    board.squares[move.from] = mover;
    if (behind != NoSquare) board.squares[behind] = behindPiece;
    return attacked;
}

// Appends the pseudo-legal moves of the own piece on `from`.
void pieceMoves(const BoardBase& board, Side us, MoveList& list, int from, int32_t piece) {
    switch (pieceKind(piece)) {
        case 1:
            pawnMoves(board, us, list, from);
            break;
        case 2:
            knightMoves(board, us, list, from);
            break;
        case 3:
            slideMoves(board, us, list, from, kDiagonals);
            break;
        case 4:
            slideMoves(board, us, list, from, kOrthogonals);
            break;
        case 5:
            slideMoves(board, us, list, from, kDiagonals);
            slideMoves(board, us, list, from, kOrthogonals);
            break;
        case 6:
            kingMoves(board, us, list, from);
            break;
        default:
            break;
    }
}

// Keeps the moves that leave the first own king unattacked; king moves test their destination
// instead. Pinned pieces are found once; check, en passant, king moves and castling fall back
// to trying the move, so the result equals making and testing every move.
void keepLegal(BoardBase& board, MoveList& list) {
    const int side = board.sideToMove == Black ? Black : White;
    const int kingSquare = findKing(board, side);
    if (kingSquare == NoSquare || list.count == 0) return;
    const int opponent = 1 - side;
    const Side us{side};
    const int32_t ownKing = colourBase(side) + 6;
    const bool checked = isAttacked(board, kingSquare, opponent);
    Pins pins;
    if (!checked) findPins(board, us, kingSquare, pins);

    int kept = 0;
    for (int i = 0; i < list.count; ++i) {
        const Move& move = list.moves[i];
        bool legal;
        if (move.flags & MoveCastle) {
            legal = !checked &&
                    !isAttacked(board, (move.from > move.to ? move.from : move.to) - 1, opponent);
            if (legal) {
                Move trial = move;
                makeMove(board, trial);
                legal = !isAttacked(board, move.to, opponent);
                unmakeMove(board, trial);
            }
        } else if (board.squares[move.from] == ownKing) {
            board.squares[move.from] = Empty;
            legal = !isAttacked(board, move.to, opponent);
            board.squares[move.from] = ownKing;
        } else if (checked || (move.flags & MoveEnPassant)) {
            legal = !exposesKing(board, move, kingSquare, opponent);
        } else {
            legal = staysOnPinLine(pins, move.from, move.to, kingSquare);
        }
        if (legal) {
            if (kept != i) list.moves[kept] = move;
            ++kept;
        }
    }
    list.count = kept;
}

// With this many own pieces or fewer (each with at most 27 moves) a list never fills up.
constexpr int kPiecesThatNeverFillAList = MoveList::kCapacity / 27;

int countOwn(const BoardBase& board, Side us) {
    int count = 0;
    for (int32_t piece : board.squares) count += us.own(piece);
    return count;
}

}  // namespace

void generatePseudoLegal(const BoardBase& board, MoveList& list) {
    list.clear();
    const Side us{board.sideToMove == Black ? Black : White};
    for (int rank = 0; rank < 8; ++rank) {
        for (int from = rank * 16; from < rank * 16 + 8; ++from) {
            const int32_t piece = board.squares[from];
            if (us.own(piece)) pieceMoves(board, us, list, from, piece);
        }
    }
}

void generateLegal(BoardBase& board, MoveList& list) {
    generatePseudoLegal(board, list);
    keepLegal(board, list);
}

// Generates only the given piece's moves unless the side has so many pieces that the full list
// could fill up, in which case the full list is cut first and then filtered, as it would be.
void generateLegalFor(BoardBase& board, int32_t piece, MoveList& list) {
    list.clear();
    const Side us{board.sideToMove == Black ? Black : White};
    if (!us.own(piece)) return;
    int pieces = 0;
    for (int rank = 0; rank < 8; ++rank) {
        for (int from = rank * 16; from < rank * 16 + 8; ++from) {
            const int32_t here = board.squares[from];
            pieces += here != Empty;
            if (here == piece) pieceMoves(board, us, list, from, piece);
        }
    }
    if (pieces > kPiecesThatNeverFillAList && countOwn(board, us) > kPiecesThatNeverFillAList) {
        generatePseudoLegal(board, list);
        int kept = 0;
        for (int i = 0; i < list.count; ++i) {
            if (board.squares[list.moves[i].from] == piece) list.moves[kept++] = list.moves[i];
        }
        list.count = kept;
    }
    keepLegal(board, list);
}

bool isAttacked(const BoardBase& board, int square, int bySide) {
    if (!valid(square)) return false;
    const int32_t base = colourBase(bySide);
    const auto& s = board.squares;
    if (bySide == White) {
        if (valid(square - 17) && s[square - 17] == WhitePawn) return true;
        if (valid(square - 15) && s[square - 15] == WhitePawn) return true;
    } else {
        if (valid(square + 15) && s[square + 15] == BlackPawn) return true;
        if (valid(square + 17) && s[square + 17] == BlackPawn) return true;
    }
    const int32_t knight = base + 2;
    for (uint8_t from : kKnightTargets[square]) {
        if (from == NoSquare) break;
        if (s[from] == knight) return true;
    }
    const int32_t king = base + 6;
    for (int step : kKingSteps) {
        if (valid(square + step) && s[square + step] == king) return true;
    }
    const int32_t queen = base + 5;
    const int32_t bishop = base + 3;
    for (int direction : kDiagonals) {
        for (int from = square + direction; valid(from); from += direction) {
            const int32_t piece = s[from];
            if (piece == Empty) continue;
            if (piece == bishop || piece == queen) return true;
            break;
        }
    }
    const int32_t rook = base + 4;
    for (int direction : kOrthogonals) {
        for (int from = square + direction; valid(from); from += direction) {
            const int32_t piece = s[from];
            if (piece == Empty) continue;
            if (piece == rook || piece == queen) return true;
            break;
        }
    }
    return false;
}

// Compares a whole rank at a time, which the compiler turns into a few vector instructions.
int findKing(const BoardBase& board, int side) {
    const int32_t king = colourBase(side) + 6;
    for (int rank = 0; rank < 8; ++rank) {
        const int32_t* row = &board.squares[static_cast<size_t>(rank) * 16];
        unsigned found = 0;
        for (int file = 0; file < 8; ++file)
            found |= static_cast<unsigned>(row[file] == king) << file;
        if (found != 0) return rank * 16 + std::countr_zero(found);
    }
    return NoSquare;
}

bool inCheck(const BoardBase& board, int side) {
    const int square = findKing(board, side);
    return square != NoSquare && isAttacked(board, square, 1 - side);
}

bool isCheckmate(BoardBase& board) {
    if (!inCheck(board, board.sideToMove)) return false;
    MoveList replies;
    generateLegal(board, replies);
    return replies.size() == 0;
}

namespace {

// The rook's corner and the square the king passes over for a castling destination, or
// false when the destination moves no rook.
bool castlingRookSquares(int to, int& corner, int& passed, int32_t& rook) {
    switch (to) {
        case 6:
            corner = 7, passed = 5, rook = WhiteRook;
            return true;
        case 2:
            corner = 0, passed = 3, rook = WhiteRook;
            return true;
        case 118:
            corner = 119, passed = 117, rook = BlackRook;
            return true;
        case 114:
            corner = 112, passed = 115, rook = BlackRook;
            return true;
        default:
            return false;
    }
}

int32_t cornerRightsLost(int square) {
    switch (square) {
        case 0:
            return CastleWhiteQueen;
        case 7:
            return CastleWhiteKing;
        case 112:
            return CastleBlackQueen;
        case 119:
            return CastleBlackKing;
        default:
            return 0;
    }
}

}  // namespace

void makeMove(BoardBase& board, Move& move) {
    move.prevCastling = board.castlingRights;
    move.prevEpSquare = board.epSquare;
    move.prevHalfMoveClock = board.halfMoveClock;
    auto& s = board.squares;
    const int direction = board.sideToMove == White ? 16 : -16;
    const int32_t piece = s[move.from];
    s[move.to] = (move.flags & MovePromotion) ? move.promotion : piece;
    s[move.from] = Empty;
    if ((move.flags & MoveEnPassant) && valid(move.to - direction)) s[move.to - direction] = Empty;

    board.epSquare = NoSquare;
    if (move.flags & MoveDoublePush) {
        const int32_t enemyPawn = board.sideToMove == White ? BlackPawn : WhitePawn;
        const int left = move.to - 1;
        const int right = move.to + 1;
        if ((valid(left) && s[left] == enemyPawn) || (valid(right) && s[right] == enemyPawn)) {
            board.epSquare = move.to - direction;
        }
    }

    int corner = 0;
    int passed = 0;
    int32_t rook = Empty;
    if ((move.flags & MoveCastle) && castlingRookSquares(move.to, corner, passed, rook)) {
        move.prevRookSquares = s[corner] | (s[passed] << 8);
        s[passed] = rook;
        s[corner] = Empty;
    }

    board.halfMoveClock = (move.flags & (MoveCapture | MovePawn)) ? 0 : board.halfMoveClock + 1;

    int32_t rights = board.castlingRights;
    if (s[move.to] == WhiteKing) rights &= ~(CastleWhiteKing | CastleWhiteQueen);
    if (s[move.to] == BlackKing) rights &= ~(CastleBlackKing | CastleBlackQueen);
    rights &= ~(cornerRightsLost(move.from) | cornerRightsLost(move.to));
    board.castlingRights = rights;
    board.sideToMove ^= 1;
}

// Undoes makeMove step by step in reverse order, so odd castling and promotions come back too.
void unmakeMove(BoardBase& board, const Move& move) {
    auto& s = board.squares;
    const int mover = board.sideToMove ^ 1;
    const int direction = mover == White ? 16 : -16;

    int corner = 0;
    int passed = 0;
    int32_t rook = Empty;
    if ((move.flags & MoveCastle) && castlingRookSquares(move.to, corner, passed, rook)) {
        s[corner] = move.prevRookSquares & 0xFF;
        s[passed] = (move.prevRookSquares >> 8) & 0xFF;
    }

    s[move.from] = (move.flags & MovePromotion) ? colourBase(mover) + WhitePawn : s[move.to];
    const bool enPassant = (move.flags & MoveEnPassant) != 0;
    s[move.to] = ((move.flags & MoveCapture) && !enPassant) ? move.captured : Empty;
    if (enPassant && valid(move.to - direction)) {
        s[move.to - direction] = mover == White ? BlackPawn : WhitePawn;
    }

    board.epSquare = move.prevEpSquare;
    board.castlingRights = move.prevCastling;
    board.halfMoveClock = move.prevHalfMoveClock;
    board.sideToMove ^= 1;
}

void makeNullMove(BoardBase& board, Move& move) {
    move.prevCastling = board.castlingRights;
    move.prevEpSquare = board.epSquare;
    move.prevHalfMoveClock = board.halfMoveClock;
    move.flags = MoveNull;
    board.epSquare = NoSquare;
    board.halfMoveClock += 1;
    board.sideToMove ^= 1;
}

void unmakeNullMove(BoardBase& board, const Move& move) {
    board.castlingRights = move.prevCastling;
    board.epSquare = move.prevEpSquare;
    board.halfMoveClock = move.prevHalfMoveClock;
    board.sideToMove ^= 1;
}

bool castlingPathSafe(const BoardBase& board, const Move& move) {
    if (!(move.flags & MoveCastle)) return true;
    const int side = board.sideToMove == Black ? Black : White;
    const int kingSquare = findKing(board, side);
    return !isAttacked(board, kingSquare == NoSquare ? move.from : kingSquare, 1 - side) &&
           !isAttacked(board, (move.from > move.to ? move.from : move.to) - 1, 1 - side);
}

bool isLegal(BoardBase& board, const Move& move) {
    if (move.isNull()) return true;
    if (move.from == move.to || !valid(move.from) || !valid(move.to)) return false;
    if (!castlingPathSafe(board, move)) return false;
    const int side = board.sideToMove == Black ? Black : White;
    Move trial = move;
    makeMove(board, trial);
    const bool legal = !inCheck(board, side);
    unmakeMove(board, trial);
    return legal;
}

bool playMove(BoardBase& board, Move& move, bool checkLegal) {
    if (move.isNull()) {
        makeNullMove(board, move);
        return true;
    }
    if (!valid(move.from) || !valid(move.to)) return false;
    if (checkLegal && !isLegal(board, move)) return false;
    makeMove(board, move);
    return true;
}

}  // namespace tarnwick
