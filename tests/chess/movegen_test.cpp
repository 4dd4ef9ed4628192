#include "chess/movegen.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "chess_test_util.hpp"

namespace tarnwick {
namespace {

using testutil::boardFrom;

uint64_t perft(BoardBase& b, int depth, std::vector<MoveList>& lists) {
    MoveList& list = lists[static_cast<size_t>(depth)];
    generateLegal(b, list);
    if (depth == 1) return static_cast<uint64_t>(list.count);
    uint64_t nodes = 0;
    for (int i = 0; i < list.count; ++i) {
        makeMove(b, list[i]);
        nodes += perft(b, depth - 1, lists);
        unmakeMove(b, list[i]);
    }
    return nodes;
}

uint64_t perft(std::string_view fen, int depth) {
    Board b = boardFrom(fen);
    std::vector<MoveList> lists(static_cast<size_t>(depth) + 1);
    return perft(b, depth, lists);
}

// Legal moves as the plain rule defines them: castling needs an unattacked king square and
// passed square, and every move is made and the king (or a moving king's destination) tested.
void referenceLegal(BoardBase& b, MoveList& out) {
    MoveList pseudo;
    generatePseudoLegal(b, pseudo);
    const int side = b.sideToMove;
    const int kingSquare = findKing(b, side);
    if (kingSquare == NoSquare) {
        out = pseudo;
        return;
    }
    out.clear();
    for (const Move& m : pseudo) {
        if ((m.flags & MoveCastle) && (isAttacked(b, kingSquare, 1 - side) ||
                                       isAttacked(b, std::max(m.from, m.to) - 1, 1 - side))) {
            continue;
        }
        const bool kingMoves = b.squares[m.from] == (side == White ? WhiteKing : BlackKing);
        Move trial = m;
        makeMove(b, trial);
        const bool attacked = isAttacked(b, kingMoves ? m.to : kingSquare, 1 - side);
        unmakeMove(b, trial);
        if (!attacked) out.add(m);
    }
}

using MoveKey = std::tuple<int, int, int, int, int>;

std::vector<MoveKey> keys(const MoveList& list) {
    std::vector<MoveKey> out;
    for (const Move& m : list) out.emplace_back(m.from, m.to, m.flags, m.promotion, m.captured);
    std::sort(out.begin(), out.end());
    return out;
}

// Compares fast and plain legality and checks that every pseudo-legal move unmakes exactly.
void checkPosition(Board b, const std::string& what) {
    const Board before = b;
    MoveList fast;
    MoveList plain;
    generateLegal(b, fast);
    ASSERT_EQ(b.compare(before), 0) << what;
    referenceLegal(b, plain);
    ASSERT_EQ(keys(fast), keys(plain)) << what;
    for (int32_t piece = WhitePawn; piece <= BlackKing; ++piece) {
        MoveList onePiece;
        MoveList expected;
        generateLegalFor(b, piece, onePiece);
        for (const Move& m : fast) {
            if (b.squares[m.from] == piece) expected.add(m);
        }
        ASSERT_EQ(keys(onePiece), keys(expected)) << what << " piece " << piece;
    }
    ASSERT_EQ(b.compare(before), 0) << what;
    MoveList pseudo;
    generatePseudoLegal(b, pseudo);
    for (Move m : pseudo) {
        makeMove(b, m);
        unmakeMove(b, m);
        ASSERT_EQ(b.compare(before), 0) << what << " move " << m.from << "-" << m.to;
        ASSERT_EQ(b.halfMoveClock, before.halfMoveClock) << what;
    }
}

TEST(MoveGen, PerftTable) {
    const auto& fens = testutil::perftFens();
    EXPECT_EQ(perft(fens[0], 5), 4865609u);
    EXPECT_EQ(perft(fens[1], 4), 4085603u);
    EXPECT_EQ(perft(fens[2], 5), 674624u);
    EXPECT_EQ(perft(fens[3], 4), 422333u);
    EXPECT_EQ(perft(fens[4], 4), 2103487u);
    EXPECT_EQ(perft(fens[5], 4), 3894594u);
}

// Walks two plies deep from every perft position and checks each field after each unmake.
TEST(MoveGen, MakeUnmakeRestoresEveryField) {
    for (const std::string& fen : testutil::perftFens()) {
        Board b = boardFrom(fen);
        b.halfMoveClock = 7;
        MoveList first;
        generateLegal(b, first);
        for (Move m : first) {
            const Board before = b;
            makeMove(b, m);
            MoveList second;
            generateLegal(b, second);
            for (Move reply : second) {
                const Board middle = b;
                makeMove(b, reply);
                unmakeMove(b, reply);
                ASSERT_EQ(b.compare(middle), 0) << fen;
                ASSERT_EQ(b.halfMoveClock, middle.halfMoveClock);
            }
            unmakeMove(b, m);
            ASSERT_EQ(b.compare(before), 0) << fen;
            ASSERT_EQ(b.halfMoveClock, 7);
        }
        Move pass;
        makeNullMove(b, pass);
        EXPECT_EQ(pass.flags, MoveNull);
        EXPECT_EQ(b.epSquare, NoSquare);
        EXPECT_EQ(b.halfMoveClock, 8);
        unmakeNullMove(b, pass);
        EXPECT_EQ(b.compare(boardFrom(fen)), 0);
        EXPECT_EQ(b.halfMoveClock, 7);
    }
}

TEST(MoveGen, FastLegalityEqualsMakeAndTestOnPlayouts) {
    int n = 0;
    for (const Board& b : testutil::playoutPositions(60, 80, 12345)) {
        checkPosition(b, "playout " + std::to_string(n++));
    }
}

TEST(MoveGen, FastLegalityEqualsMakeAndTestOnOddPositions) {
    const char* odd[] = {
        "8/8/8/3q4/8/8/PPP5/RN6 w - -",   // no king
        "4k3/8/8/8/3K4/8/8/4K2R w K -",   // two white kings
        "4k3/4r3/8/8/8/8/4K3/4K3 w - -",  // pinned second king
        "P3k2p/8/8/8/8/8/8/p3K2P w - -",  // pawns on the back ranks
        "P3k2p/8/8/8/8/8/8/p3K2P b - -",
        "r3k3/8/8/8/8/8/8/4K3 w KQkq -",  // rights without rooks
        "4k3/8/8/8/8/8/8/4K3 b KQkq -",
        "4k3/8/8/8/8/8/8/n3K2b w KQ -",  // enemy pieces in the corners
        "7K/8/8/8/8/8/8/k7 w KQkq -",    // kings on the edges with rights
        "K7/8/8/8/8/8/8/1K5k b KQkq -",
        "4k3/8/8/8/8/8/8/KR6 w KQ -",
        "4k3/8/8/8/8/8/8/6K1 w K -",
        "4k3/8/8/8/8/8/8/1K6 w Q -",
        "4k3/8/8/8/8/8/8/4k2K w KQkq -",  // a black king on e1
        "4K3/8/8/8/8/8/8/4k3 b KQkq -",
        "4k3/8/8/3pP3/8/8/8/4K3 w - e3",  // odd en-passant squares
        "4k3/8/8/8/3Pp3/8/8/4K3 w - d5",
        "4k3/8/8/8/8/8/8/4K3 w - h8",
        "4k3/8/4N3/3pP3/8/8/8/4K3 w - e6",
        "4k3/8/8/3P4/8/8/8/4K3 w - e6",
        "3k4/4P3/8/8/8/8/8/4K3 w - e8",
        "4k3/8/8/8/8/8/3p4/4K3 b - c1",
        "k7/8/8/1q1pP2K/8/8/8/8 w - d6",  // en passant along a pinned rank
        "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/8/8/QQQQQQQQ/QQQQQQQQ/QQQQQQQK w - -",
        "qqqqqqqq/8/q1q1q1q1/8/1Q1Q1Q1Q/8/Q1Q1Q1Q1/K7 w - -",
    };
    for (const char* fen : odd) checkPosition(boardFrom(fen), fen);
}

// Random placements with random rights, en-passant squares and sides exercise the odd cases
// the fixed list misses.
TEST(MoveGen, FastLegalityEqualsMakeAndTestOnRandomBoards) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 3000; ++round) {
        Board b;
        const int pieces = static_cast<int>(rng() % 24);
        for (int i = 0; i < pieces; ++i) {
            const int square = static_cast<int>(rng() % 64);
            b.setSquare((square / 8) * 16 + square % 8, static_cast<int32_t>(rng() % 12 + 1));
        }
        if (rng() % 2) b.setSquare(static_cast<int>(rng() % 8) * 16 + 4, WhiteKing);
        if (rng() % 4) b.setSquare(7 * 16 + 4, BlackKing);
        b.castlingRights = static_cast<int32_t>(rng() % 16);
        b.sideToMove = static_cast<int32_t>(rng() % 2);
        if (rng() % 2) {
            const int square = static_cast<int>(rng() % 64);
            b.epSquare = (square / 8) * 16 + square % 8;
        }
        checkPosition(b, "random " + std::to_string(round));
    }
}

TEST(MoveGen, RulesAtTheEdges) {
    MoveList list;
    Board start = boardFrom("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    generateLegal(start, list);
    EXPECT_EQ(list.count, 20);
    Move e4{20, 52, MovePawn | MoveDoublePush};
    makeMove(start, e4);
    EXPECT_EQ(start.epSquare, NoSquare);  // no black pawn beside e4
    generateLegal(start, list);
    EXPECT_EQ(list.count, 20);

    Board withPawn = boardFrom("rnbqkbnr/pppppppp/8/8/3p4/8/PPPPPPPP/RNBQKBNR w KQkq -");
    makeMove(withPawn, e4);
    EXPECT_EQ(withPawn.epSquare, 36);
    generateLegal(withPawn, list);
    const auto ep = std::find_if(list.begin(), list.end(),
                                 [](const Move& m) { return m.from == 51 && m.to == 36; });
    ASSERT_NE(ep, list.end());
    EXPECT_EQ(ep->flags, 0x0B);
    EXPECT_EQ(ep->captured, WhitePawn);
    Move take = *ep;
    makeMove(withPawn, take);
    EXPECT_EQ(withPawn.squares[52], Empty);
    EXPECT_EQ(withPawn.squares[36], BlackPawn);

    // Promotions come in the order queen, rook, bishop, knight, pushes before captures.
    Board promo = boardFrom("3r3k/4P3/8/8/8/8/8/K7 w - -");
    generatePseudoLegal(promo, list);
    std::vector<std::pair<int, int>> seen;
    for (const Move& m : list) {
        if (m.from == 100) seen.emplace_back(m.flags, m.promotion);
    }
    const std::vector<std::pair<int, int>> expected = {{0x28, 5}, {0x28, 4}, {0x28, 3}, {0x28, 2},
                                                       {0x29, 5}, {0x29, 4}, {0x29, 3}, {0x29, 2}};
    EXPECT_EQ(seen, expected);

    auto hasMove = [&](const char* fen, int from, int to) {
        Board b = boardFrom(fen);
        generateLegal(b, list);
        return std::any_of(list.begin(), list.end(),
                           [&](const Move& m) { return m.from == from && m.to == to; });
    };
    EXPECT_TRUE(hasMove("4k3/8/8/8/8/8/8/R3K2R w KQ -", 4, 6));
    EXPECT_TRUE(hasMove("4k3/8/8/8/8/8/8/R3K2R w KQ -", 4, 2));
    EXPECT_FALSE(hasMove("4k3/8/8/8/8/8/4r3/R3K2R w KQ -", 4, 6));  // in check
    EXPECT_FALSE(hasMove("4k3/8/8/8/8/8/5r2/R3K2R w KQ -", 4, 6));  // f1 attacked
    EXPECT_FALSE(hasMove("4k3/8/8/8/8/8/6r1/R3K2R w KQ -", 4, 6));  // g1 attacked
    EXPECT_TRUE(hasMove("4k3/8/8/8/8/8/1r6/R3K2R w KQ -", 4, 2));   // b1 may be attacked
    EXPECT_FALSE(hasMove("4k3/8/8/8/8/8/8/RN2K2R w KQ -", 4, 2));   // b1 must be empty
    EXPECT_TRUE(hasMove("4k3/8/8/8/8/8/8/4K3 w K -", 4, 6));        // rights are trusted

    // No own king: the pseudo-legal moves; inCheck is false.
    Board kingless = boardFrom("4k3/8/8/8/8/8/4r3/4R3 w - -");
    generateLegal(kingless, list);
    MoveList pseudo;
    generatePseudoLegal(kingless, pseudo);
    EXPECT_EQ(list.count, pseudo.count);
    EXPECT_FALSE(inCheck(kingless, White));

    // Corner captures and king moves clear rights.
    Board corner = boardFrom("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    Move rookTakes{7, 119, MoveCapture, 0, BlackRook};
    makeMove(corner, rookTakes);
    EXPECT_EQ(corner.castlingRights, CastleWhiteQueen | CastleBlackQueen);
    Move kingStep{116, 115, 0};
    makeMove(corner, kingStep);
    EXPECT_EQ(corner.castlingRights, CastleWhiteQueen);
    EXPECT_EQ(corner.halfMoveClock, 1);

    // Castling puts a rook beside the king even without one in the corner; unmaking restores
    // whatever stood there.
    Board rookless = boardFrom("4k3/8/8/8/8/8/8/4K2n w K -");
    const Board rooklessBefore = rookless;
    Move castle{4, 6, MoveCastle};
    makeMove(rookless, castle);
    EXPECT_EQ(rookless.squares[5], WhiteRook);
    EXPECT_EQ(rookless.squares[7], Empty);
    unmakeMove(rookless, castle);
    EXPECT_EQ(rookless.compare(rooklessBefore), 0);
}

TEST(MoveGen, PlayMoveRefusesIllegalMovesAndPlaysNullMoves) {
    Board b = boardFrom("4k3/8/8/8/8/8/4r3/4K3 w - -");
    Move intoCheck{4, 19, 0};
    const Board before = b;
    EXPECT_FALSE(playMove(b, intoCheck, true));
    EXPECT_EQ(b.compare(before), 0);
    Move takes{4, 20, MoveCapture, 0, BlackRook};
    EXPECT_TRUE(playMove(b, takes, true));
    EXPECT_EQ(b.squares[20], WhiteKing);
    Move pass;
    pass.flags = MoveNull;
    EXPECT_TRUE(playMove(b, pass, true));
    EXPECT_EQ(b.sideToMove, White);
    Move empty;
    EXPECT_FALSE(isLegal(b, empty));
    Move offBoard{4, 300, 0};
    EXPECT_FALSE(playMove(b, offBoard, false));
}

}  // namespace
}  // namespace tarnwick
