#include "chess/movegen.hpp"

#include <gtest/gtest.h>

#include <random>

#include "chess/perft.hpp"

namespace tarnwick {
namespace {

Board fromFen(std::string_view fen) {
    Board b;
    b.setFromFen(fen);
    return b;
}

struct PerftCase {
    const char* fen;
    int depth;
    uint64_t nodes;
};

TEST(Perft, PublishedCounts) {
    const PerftCase cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5, 4865609},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
        {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 4, 3894594},
    };
    for (const PerftCase& c : cases) {
        Board board = fromFen(c.fen);
        EXPECT_EQ(perft(board, c.depth), c.nodes) << c.fen;
    }
}

// The legal filter defined move by move: make, test the king (or the moving king's
// destination), unmake; castling also needs its start and passed squares unattacked.
std::vector<Move> referenceLegal(const Board& board) {
    MoveList pseudo;
    generatePseudoLegal(board, pseudo);
    const int side = board.sideToMove;
    const int32_t ownKing = side == White ? WhiteKing : BlackKing;
    int king = NoSquare;
    for (int sq = 0; sq < 120 && king == NoSquare; ++sq) {
        if (onBoard(sq) && board.squares[sq] == ownKing) king = sq;
    }
    std::vector<Move> legal;
    for (const Move& m : pseudo) {
        if (king == NoSquare) {
            legal.push_back(m);
            continue;
        }
        if ((m.flags & MoveCastle) && (isAttacked(board, m.from, side ^ 1) ||
                                       isAttacked(board, std::max(m.from, m.to) - 1, side ^ 1))) {
            continue;
        }
        Board after = board;
        Move made = m;
        const bool kingMoves = board.squares[m.from] == ownKing;
        makeMove(after, made);
        if (!isAttacked(after, kingMoves ? m.to : king, side ^ 1)) legal.push_back(m);
    }
    return legal;
}

bool sameSet(std::vector<Move> a, const MoveList& b) {
    if (a.size() != static_cast<size_t>(b.count)) return false;
    for (const Move& m : b) {
        auto it = std::find_if(a.begin(), a.end(), [&](const Move& x) {
            return sameMove(x, m) && x.flags == m.flags && x.captured == m.captured;
        });
        if (it == a.end()) return false;
        a.erase(it);
    }
    return true;
}

TEST(MoveGeneration, FastFilterEqualsTheMoveByMoveFilter) {
    const char* starts[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        // Odd positions: no king, two kings, pawns on the back ranks, rights without rooks,
        // en-passant squares on any rank.
        "8/8/8/3q4/8/8/8/8 w - -",
        "4k3/8/8/8/8/8/8/K3K2r w K -",
        "P3k2p/8/8/8/8/8/8/p3K2P w KQkq e6",
        "4k3/8/8/3pP3/8/8/8/4K3 w - d6",
        "4k3/8/8/8/2pP4/8/8/4K3 b - d3",
        "4k3/8/8/8/8/8/8/r3K2R w KQ h8",
        "8/8/8/KPp4r/8/8/8/7k w - c6",
    };
    std::mt19937 random(12345);
    int positions = 0;
    for (const char* fen : starts) {
        for (int game = 0; game < 20; ++game) {
            Board board = fromFen(fen);
            for (int ply = 0; ply < 60; ++ply) {
                MoveList legal;
                generateLegal(board, legal);
                ASSERT_TRUE(sameSet(referenceLegal(board), legal)) << fen << " ply " << ply;
                ++positions;
                if (legal.count == 0) break;
                Move m = legal[static_cast<int>(random() % static_cast<unsigned>(legal.count))];
                const Board before = board;
                makeMove(board, m);
                Board undone = board;
                unmakeMove(undone, m);
                // Castling without its rook puts a rook in the corner when taken back.
                const int corner = m.to > m.from ? m.to + 1 : m.to - 2;
                const int32_t rook = before.sideToMove == White ? WhiteRook : BlackRook;
                if (!(m.flags & MoveCastle) || before.squares[corner] == rook) {
                    ASSERT_EQ(undone.compare(before), 0) << fen << " ply " << ply;
                    ASSERT_EQ(undone.halfMoveClock, before.halfMoveClock);
                }
            }
        }
    }
    EXPECT_GT(positions, 1000);
}

TEST(MoveGeneration, MakingMovesKeepsTheFields) {
    Board board = fromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    MoveList moves;
    generateLegal(board, moves);
    EXPECT_EQ(moves.count, 20);

    // e4 without a black pawn beside the destination leaves no en-passant square.
    Move e4 = board.parseMove("e4");
    makeMove(board, e4);
    EXPECT_EQ(board.epSquare, NoSquare);
    generateLegal(board, moves);
    EXPECT_EQ(moves.count, 20);

    Board ep = fromFen("4k3/8/8/8/3p4/8/4P3/4K3 w - -");
    Move push = ep.parseMove("e2e4");
    makeMove(ep, push);
    EXPECT_EQ(ep.epSquare, 36);
    const Move capture = ep.parseMove("dxe3");
    EXPECT_EQ(capture.flags, 0x0B);
    EXPECT_EQ(capture.captured, WhitePawn);
    Move made = capture;
    makeMove(ep, made);
    EXPECT_EQ(ep.squares[52], Empty);
    EXPECT_EQ(ep.squares[36], BlackPawn);
    unmakeMove(ep, made);
    EXPECT_EQ(ep.squares[52], WhitePawn);
    EXPECT_EQ(ep.epSquare, 36);

    // Promotions come in the order queen, rook, bishop, knight.
    Board promo = fromFen("3n3k/4P3/8/8/8/8/8/K7 w - -");
    generatePseudoLegal(promo, moves);
    std::vector<int32_t> pushes;
    std::vector<int32_t> captures;
    for (const Move& m : moves) {
        if (m.to == 116) pushes.push_back(m.promotion);
        if (m.to == 115) {
            captures.push_back(m.promotion);
            EXPECT_EQ(m.flags, 0x29);
        }
    }
    EXPECT_EQ(pushes, (std::vector<int32_t>{5, 4, 3, 2}));
    EXPECT_EQ(captures, (std::vector<int32_t>{5, 4, 3, 2}));

    // Capturing the h8 rook clears Black's king-side right; a king move clears both of its own.
    Board rights = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    Move rxh8 = rights.parseMove("Rxh8+");
    makeMove(rights, rxh8);
    EXPECT_EQ(rights.castlingRights, CastleWhiteQueen | CastleBlackQueen);
    Move kd7 = rights.parseMove("Kd7");
    makeMove(rights, kd7);
    EXPECT_EQ(rights.castlingRights, CastleWhiteQueen);

    Move pass;
    makeNullMove(rights, pass);
    EXPECT_EQ(pass.flags, MoveNull);
    EXPECT_EQ(rights.sideToMove, Black);
    unmakeNullMove(rights, pass);
    EXPECT_EQ(rights.sideToMove, White);
}

TEST(MoveGeneration, CastlingRules) {
    auto castles = [](std::string_view fen) {
        Board b = fromFen(fen);
        MoveList moves;
        generateLegal(b, moves);
        std::string found;
        for (const Move& m : moves) {
            if (m.flags & MoveCastle) found += m.to > m.from ? "K" : "Q";
        }
        return found;
    };
    EXPECT_EQ(castles("4k3/8/8/8/8/8/8/R3K2R w KQ -"), "KQ");
    EXPECT_EQ(castles("4k3/8/8/8/8/8/8/RN2K2R w KQ -"), "K");  // b1 must be empty
    EXPECT_EQ(castles("4k3/8/8/8/8/8/8/R3K2R w - -"), "");
    EXPECT_EQ(castles("4k3/8/8/8/8/8/4r3/R3K2R w KQ -"), "");    // in check
    EXPECT_EQ(castles("4k3/8/8/8/8/8/5r2/R3K2R w KQ -"), "Q");   // f1 attacked
    EXPECT_EQ(castles("4k3/8/8/8/8/8/6r1/R3K2R w KQ -"), "Q");   // g1 attacked
    EXPECT_EQ(castles("4k3/8/8/8/8/8/1r6/R3K2R w KQ -"), "KQ");  // b1 may be attacked
    EXPECT_EQ(castles("4k3/8/8/8/8/8/8/4K3 w KQ -"), "KQ");      // rights are trusted

    // Without a king every pseudo-legal move counts; inCheck is false.
    Board noKing = fromFen("8/8/8/3q4/8/8/8/4r3 w - -");
    EXPECT_FALSE(inCheck(noKing, White));
    noKing.sideToMove = Black;
    MoveList moves;
    generateLegal(noKing, moves);
    MoveList pseudo;
    generatePseudoLegal(noKing, pseudo);
    EXPECT_EQ(moves.count, pseudo.count);
}

}  // namespace
}  // namespace tarnwick
