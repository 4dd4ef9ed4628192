#include "chess/notation.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "chess/movegen.hpp"
#include "chess_test_util.hpp"
#include "text/text.hpp"

namespace tarnwick {
namespace {

using testutil::boardFrom;

const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

int sq(const char* name) {
    return squareAt(name[1] - '1', name[0] - 'a');
}

// "from-to" (with the promotion code) of a parsed move, or "status N" when none was found.
std::string parsed(const Board& b, std::string_view text) {
    const Move m = b.parseMove(text);
    if (!m.isValid()) return "status " + std::to_string(m.parseStatus);
    std::string out = squareName(m.from) + "-" + squareName(m.to);
    if (m.promotion != 0) out += "=" + std::to_string(m.promotion);
    return out;
}

std::string sanOfMove(const Board& b, const char* from, const char* to, int32_t promotion = 0) {
    Move m;
    m.from = sq(from);
    m.to = sq(to);
    m.promotion = promotion;
    return b.sanOf(m);
}

TEST(ParseMove, StartPositionNotations) {
    const Board b = boardFrom(kStart);
    for (const char* text : {"Nf3", "Ng1f3", "Ng1-f3", "g1f3", "1.Nf3", "Nf3!?", "1...Nf3"}) {
        EXPECT_EQ(parsed(b, text), "g1-f3") << text;
    }
    EXPECT_EQ(parsed(b, "nf3"), "f2-f3");
    for (const char* text : {"e4", "e2e4", "e2-e4", "Pe4", "12. e4!"}) {
        EXPECT_EQ(parsed(b, text), "e2-e4") << text;
    }
    const Move push = b.parseMove("e4");
    EXPECT_EQ(push.flags, MovePawn | MoveDoublePush);
    EXPECT_EQ(push.parseStatus, ParseFound);

    EXPECT_EQ(parsed(b, "Nd2"), "status 2");
    EXPECT_EQ(parsed(b, "Qh5"), "status 2");
    EXPECT_EQ(parsed(b, "O-O"), "status 2");
    EXPECT_EQ(parsed(b, "N3"), "status 2");  // four knight moves reach rank 3
    EXPECT_EQ(parsed(b, ""), "status 1");
    EXPECT_EQ(parsed(b, "x"), "status 1");
    EXPECT_EQ(parsed(b, "--"), "status 1");
    EXPECT_EQ(parsed(b, "1."), "status 1");

    // 19 characters are read whole; longer texts keep only their first 18.
    EXPECT_EQ(parsed(b, std::string(17, ' ') + "e4"), "e2-e4");
    EXPECT_EQ(parsed(b, std::string(20, ' ') + "e4"), "status 1");
    EXPECT_EQ(parsed(b, std::string(16, ' ') + "e4xyz"), "e2-e4");

    const Move none = b.parseMove("zz");
    EXPECT_EQ(none.from, 0);
    EXPECT_EQ(none.to, 0);
    EXPECT_EQ(none.flags, 0);
    EXPECT_EQ(none.prevEpSquare, NoSquare);
}

TEST(ParseMove, CastlingPromotionAndEnPassant) {
    const Board castle = boardFrom("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    for (const char* text : {"O-O", "0-0", "o-o", "OO", "O-O+", "e1g1", "Ke1-g1"}) {
        EXPECT_EQ(parsed(castle, text), "e1-g1") << text;
    }
    for (const char* text : {"O-O-O", "0-0-0", "0000", "o-o-o"}) {
        EXPECT_EQ(parsed(castle, text), "e1-c1") << text;
    }
    EXPECT_EQ(castle.parseMove("O-O").flags, MoveCastle);
    Board black = castle;
    black.sideToMove = Black;
    EXPECT_EQ(parsed(black, "O-O-O"), "e8-c8");
    EXPECT_EQ(parsed(boardFrom("4k3/8/8/8/8/8/8/4K2R w K -"), "0000"), "status 2");

    const Board promo = boardFrom("k7/4P3/8/8/8/8/8/K7 w - -");
    for (const char* text : {"e8", "e8=Q", "e7e8q", "e8Q", "e7-e8=Q+"}) {
        EXPECT_EQ(parsed(promo, text), "e7-e8=5") << text;
    }
    for (const char* text : {"e8N", "e8=N", "e7e8n"}) {
        EXPECT_EQ(parsed(promo, text), "e7-e8=2") << text;
    }
    EXPECT_EQ(parsed(promo, "e7e8b"), "e7-e8=3");
    EXPECT_EQ(parsed(promo, "e8K"), "status 2");
    EXPECT_EQ(parsed(boardFrom("k7/8/8/8/8/8/4p3/K7 b - -"), "e1=R"), "e2-e1=10");

    const Board ep = boardFrom("rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6");
    for (const char* text : {"exd6", "exd6e.p.", "e5d6", "ed6", "exd6 e.p."}) {
        EXPECT_EQ(parsed(ep, text), "e5-d6") << text;
    }
    EXPECT_EQ(ep.parseMove("exd6").flags, 0x0B);
    EXPECT_EQ(sanOfMove(ep, "e5", "d6"), "exd6");
}

TEST(SanOf, DisambiguationChecksAndMates) {
    const Board two = boardFrom("4k3/8/8/8/8/5N2/8/1N2K3 w - -");
    EXPECT_EQ(parsed(two, "Nd2"), "status 2");
    EXPECT_EQ(sanOfMove(two, "b1", "d2"), "Nbd2");
    EXPECT_EQ(sanOfMove(two, "f3", "d2"), "Nfd2");

    const Board file = boardFrom("4k3/8/8/8/8/1N6/8/1N2K3 w - -");
    EXPECT_EQ(sanOfMove(file, "b1", "d2"), "N1d2");
    EXPECT_EQ(sanOfMove(file, "b3", "d2"), "N3d2");

    const Board threeKnights = boardFrom("4k3/8/8/8/8/1N3N2/8/1N2K3 w - -");
    // Knights on b1, b3 and f3: b3 shares its file with b1 and its rank with f3, so only both
    // name it ("N3d2" would fit f3 too).
    EXPECT_EQ(sanOfMove(threeKnights, "b1", "d2"), "N1d2");
    EXPECT_EQ(sanOfMove(threeKnights, "b3", "d2"), "Nb3d2");
    EXPECT_EQ(sanOfMove(threeKnights, "f3", "d2"), "Nfd2");
    EXPECT_EQ(parsed(threeKnights, "N3d2"), "status 2");
    EXPECT_EQ(parsed(threeKnights, "Nb3d2"), "b3-d2");

    // Queens on a1, a3 and c1 all reach b2: neither file nor rank alone tells a1 apart.
    const Board queens = boardFrom("4k3/8/8/8/8/Q7/8/Q1Q1K3 w - -");
    EXPECT_EQ(sanOfMove(queens, "a1", "b2"), "Qa1b2");
    EXPECT_EQ(sanOfMove(queens, "a3", "b2"), "Q3b2");
    EXPECT_EQ(sanOfMove(queens, "c1", "b2"), "Qcb2");
    EXPECT_EQ(parsed(queens, "Qa1b2"), "a1-b2");
    EXPECT_EQ(parsed(queens, "Q1b2"), "status 2");

    EXPECT_EQ(sanOfMove(boardFrom("7k/8/6K1/8/8/8/8/Q7 w - -"), "a1", "a8"), "Qa8#");
    EXPECT_EQ(sanOfMove(boardFrom("7k/8/8/8/8/8/8/Q5K1 w - -"), "a1", "a8"), "Qa8+");

    // Castling is written with "+" even when it mates; the rook's own mate gets "#".
    const Board castleMate = boardFrom("4rkr1/4p1p1/8/8/8/8/8/4K2R w K -");
    EXPECT_EQ(sanOfMove(castleMate, "e1", "g1"), "O-O+");
    EXPECT_EQ(sanOfMove(castleMate, "h1", "f1"), "Rf1#");
    EXPECT_EQ(sanOfMove(boardFrom("r3k3/8/8/8/8/8/8/4K3 b q -"), "e8", "c8"), "O-O-O");

    const Board start = boardFrom(kStart);
    EXPECT_EQ(sanOfMove(start, "e2", "e5"), "");
    EXPECT_EQ(sanOfMove(start, "e7", "e5"), "");
    EXPECT_EQ(sanOfMove(start, "g1", "f3"), "Nf3");
    Move null;
    null.flags = MoveNull;
    EXPECT_EQ(start.sanOf(null), "");
    Move wild;
    wild.from = 300;
    wild.to = -5;
    EXPECT_EQ(start.sanOf(wild), "");

    // A pawn move to the last rank without a promotion piece reads back as the queen's.
    const Board promo = boardFrom("3r3k/4P3/8/8/8/8/8/K7 w - -");
    EXPECT_EQ(sanOfMove(promo, "e7", "e8"), "e8=Q+");
    EXPECT_EQ(sanOfMove(promo, "e7", "d8", WhiteKnight), "exd8=N");
    EXPECT_EQ(sanOfMove(promo, "e7", "d8", BlackRook), "exd8=R+");
    EXPECT_EQ(sanOfMove(promo, "e7", "e8", WhiteKing), "");
    EXPECT_EQ(sanOfMove(boardFrom("4k3/8/8/8/8/8/4K3/8 w - -"), "e2", "d3"), "Kd3");
}

// Every legal move of positions reached by random play reads back from its SAN, coordinate
// and long algebraic text.
TEST(SanOf, RoundTripsOnPlayouts) {
    std::vector<Board> boards = testutil::playoutPositions(50, 60, 777);
    boards.push_back(boardFrom("4k3/8/8/8/8/Q7/8/Q1Q1K3 w - -"));
    boards.push_back(boardFrom("4k3/8/8/8/8/1N3N2/8/1N2K3 w - -"));
    boards.push_back(boardFrom("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -"));
    int checked = 0;
    for (Board& b : boards) {
        MoveList legal;
        generateLegal(b, legal);
        for (const Move& m : legal) {
            const std::string san = b.sanOf(m);
            ASSERT_FALSE(san.empty());
            ASSERT_LE(san.size(), 7u);
            EXPECT_TRUE(sameMove(b.parseMove(san), m)) << san;
            std::string coordinate = squareName(m.from) + squareName(m.to);
            std::string longForm = std::string(1, pieceLetter(b.squares[m.from])) +
                                   squareName(m.from) + ((m.flags & MoveCapture) ? "x" : "-") +
                                   squareName(m.to);
            if (longForm[0] == ' ') longForm.erase(0, 1);
            if (m.promotion != 0) {
                coordinate += static_cast<char>(pieceLetter(m.promotion) - 'A' + 'a');
                longForm += std::string("=") + pieceLetter(m.promotion);
            }
            EXPECT_TRUE(sameMove(b.parseMove(coordinate), m)) << coordinate;
            EXPECT_TRUE(sameMove(b.parseMove(longForm + "+"), m)) << longForm;
            ++checked;
        }
    }
    EXPECT_GT(checked, 5000);
}

// The shared-generation variation reader agrees with reading, writing and playing each move
// on its own, in ordinary and odd positions alike.
TEST(SanVariation, EqualsMoveByMoveConversion) {
    const Board start = boardFrom(kStart);
    EXPECT_EQ(sanVariation(start, "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6"), "e4 e5 Nf3 Nc6 Bb5 a6");
    EXPECT_EQ(sanVariation(start, "  e2e4\te2e4 zz e7e5  "), "e4 e5");
    EXPECT_EQ(sanVariation(start, "f2f3 e7e5 g2g4 d8h4 a2a3"), "f3 e5 g4 Qh4#");
    EXPECT_EQ(sanVariation(start, ""), "");
    std::string out = "1.";
    appendSanVariation(out, start, "e4");
    EXPECT_EQ(out, "1. e4");

    std::mt19937 rng(99);
    std::vector<Board> boards = testutil::playoutPositions(10, 40, 5);
    for (int i = 0; i < 300; ++i) {
        Board b;
        for (int n = static_cast<int>(rng() % 20); n > 0; --n) {
            b.setSquare(static_cast<int>(rng() % 8) * 16 + static_cast<int>(rng() % 8),
                        static_cast<int32_t>(rng() % 12 + 1));
        }
        b.castlingRights = static_cast<int32_t>(rng() % 16);
        b.sideToMove = static_cast<int32_t>(rng() % 2);
        boards.push_back(b);
    }
    for (const Board& start2 : boards) {
        // Tokens: coordinate texts of pseudo-legal moves along a random walk, plus noise.
        std::string tokens;
        Board walk = start2;
        MoveList pseudo;
        for (int ply = 0; ply < 12; ++ply) {
            generatePseudoLegal(walk, pseudo);
            if (pseudo.count == 0) break;
            Move m = pseudo[static_cast<int>(rng() % static_cast<uint32_t>(pseudo.count))];
            tokens += squareName(m.from) + squareName(m.to) + (rng() % 5 == 0 ? " xx " : " ");
            if (!playMove(walk, m, true)) continue;
        }
        std::string expected;
        Board b = start2;
        forEachToken(tokens, [&](std::string_view token) {
            Move m = b.parseMove(token);
            if (!m.isValid()) return true;
            const std::string san = b.sanOf(m);
            if (san.empty()) return true;
            if (!expected.empty()) expected += ' ';
            expected += san;
            playMove(b, m, true);
            return true;
        });
        EXPECT_EQ(sanVariation(start2, tokens), expected) << tokens;
    }
}

TEST(NormaliseMoves, RewritesOperationsIntoSan) {
    std::string am;
    std::string bm = "e4 Nf3 Xy9";
    std::string pm = "xx";
    std::string pv = "e4 e5 Nf3";
    normaliseMoves(kStart, am, bm, pm, pv);
    EXPECT_EQ(am, "");
    EXPECT_EQ(bm, "e4 Nf3 Xy9");
    EXPECT_EQ(pm, "xx");
    EXPECT_EQ(pv, "e4 e5 Nf3");

    // Words naming no legal move (Qh5 here, a mate distance, a promotion on an empty file)
    // stay as written between the rewritten ones.
    am = " g1f3\t";
    bm = "Qh5  zz #15 e2e4 e8=Q+";
    pm = "g1f3";
    pv = "e4 Nf3 Nc6";
    normaliseMoves(kStart, am, bm, pm, pv);
    EXPECT_EQ(am, "Nf3");
    EXPECT_EQ(bm, "Qh5 zz #15 e4 e8=Q+");
    EXPECT_EQ(pm, "Nf3");
    EXPECT_EQ(pv, "e4 Nc6");
}

TEST(NormaliseMoves, PointsFollowTheirMoves) {
    // Unreadable words keep their places, so each number of c1 still belongs to its move.
    std::string am = "Qh5 e2e4";
    std::string bm = "g1f3 zz d2d4";
    const Board board = boardFrom(kStart);
    normaliseNamedMoves(board, am, bm);
    EXPECT_EQ(am, "Qh5 e4");
    EXPECT_EQ(bm, "Nf3 zz d4");
}

// Random bytes, high bytes, empty and very long texts never break the readers.
TEST(ParseMove, SurvivesRandomBytes) {
    std::mt19937 rng(4242);
    const Board start = boardFrom(kStart);
    std::string longText(10000, 'e');
    EXPECT_EQ(start.parseMove(longText).parseStatus, ParseNoUniqueMove);
    Board b;
    b.setFromFen(longText);
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 40, '\0');
        for (char& c : text) c = static_cast<char>(rng() % 256);
        if (round % 3 == 0) {
            static const char alphabet[] = "abcdefghKQRBNOo0x-=+#12345678 /pPe.";
            for (char& c : text) c = alphabet[rng() % (sizeof(alphabet) - 1)];
        }
        b.setFromFen(text);
        const Move m = start.parseMove(text);
        EXPECT_TRUE(m.parseStatus >= 0 && m.parseStatus <= 2);
        const Move odd = b.parseMove(text);
        if (odd.isValid()) {
            EXPECT_LE(b.sanOf(odd).size(), 7u);
        }
        std::string am = text, bm = text, pm = text, pv = text;
        normaliseMoves(text, am, bm, pm, pv);
    }
}

}  // namespace
}  // namespace tarnwick
