#include "chess/notation.hpp"

#include <gtest/gtest.h>

#include <random>

#include "chess/movegen.hpp"

namespace tarnwick {
namespace {

constexpr std::string_view kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

Board fromFen(std::string_view fen) {
    Board b;
    b.setFromFen(fen);
    return b;
}

// "g1f3" for a parsed move, "status N" for a failure.
std::string parsed(std::string_view fen, std::string_view text) {
    const Move m = fromFen(fen).parseMove(text);
    if (!m.isValid()) return "status " + std::to_string(m.parseStatus);
    std::string s;
    s += static_cast<char>('a' + fileOf(m.from));
    s += static_cast<char>('1' + rankOf(m.from));
    s += static_cast<char>('a' + fileOf(m.to));
    s += static_cast<char>('1' + rankOf(m.to));
    if (m.promotion) s += static_cast<char>(pieceLetter(m.promotion) + 32);
    return s;
}

std::string sanOf(std::string_view fen, std::string_view text) {
    const Board b = fromFen(fen);
    return b.sanOf(b.parseMove(text));
}

TEST(ParseMove, NotationsOfTheStartPosition) {
    for (const char* text : {"Nf3", "Ng1f3", "Ng1-f3", "g1f3", "1.Nf3", "Nf3!?", "N1f3", "Ngf3"}) {
        EXPECT_EQ(parsed(kStart, text), "g1f3") << text;
    }
    EXPECT_EQ(parsed(kStart, "nf3"), "f2f3");
    for (const char* text : {"e4", "e2e4", "e2-e4", "Pe4", "12...e4"}) {
        EXPECT_EQ(parsed(kStart, text), "e2e4") << text;
    }
    EXPECT_EQ(parsed(kStart, "Nd2"), "status 2");
    EXPECT_EQ(parsed(kStart, "Qh5"), "status 2");
    EXPECT_EQ(parsed(kStart, "O-O"), "status 2");
    EXPECT_EQ(parsed(kStart, ""), "status 1");
    EXPECT_EQ(parsed(kStart, "x"), "status 1");
    EXPECT_EQ(parsed(kStart, "--"), "status 1");
    EXPECT_EQ(parsed(kStart, std::string(20, ' ') + "e4"), "status 1");
    EXPECT_EQ(parsed(kStart, std::string(17, ' ') + "e4"), "e2e4");
}

TEST(ParseMove, CastlingPromotionAndEnPassant) {
    const std::string_view castle = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
    for (const char* text : {"O-O", "0-0", "o-o", "OO", "O-O+", "e1g1"}) {
        EXPECT_EQ(parsed(castle, text), "e1g1") << text;
    }
    EXPECT_EQ(parsed(castle, "O-O-O"), "e1c1");
    EXPECT_EQ(parsed(castle, "0-0-0"), "e1c1");
    EXPECT_EQ(parsed(castle, "0000"), "e1c1");
    EXPECT_EQ(parsed("4k3/8/8/8/8/8/8/4K3 w - -", "0000"), "status 2");

    const std::string_view promo = "8/4P2k/8/8/8/8/8/K7 w - -";
    for (const char* text : {"e8", "e8=Q", "e7e8q", "e8Q+"}) {
        EXPECT_EQ(parsed(promo, text), "e7e8q") << text;
    }
    for (const char* text : {"e8N", "e8=N", "e7e8n"}) EXPECT_EQ(parsed(promo, text), "e7e8n");
    EXPECT_EQ(parsed(promo, "e8K"), "status 2");

    const std::string_view ep = "4k3/8/8/3pP3/8/8/8/4K3 w - d6";
    for (const char* text : {"exd6", "exd6e.p.", "e5d6", "ed6"}) {
        EXPECT_EQ(parsed(ep, text), "e5d6") << text;
    }
    EXPECT_EQ(sanOf(ep, "e5d6"), "exd6");
}

TEST(SanOf, DisambiguationChecksAndMates) {
    const std::string_view twoKnights = "4k3/8/8/8/8/5N2/8/1N2K3 w - -";
    EXPECT_EQ(parsed(twoKnights, "Nd2"), "status 2");
    EXPECT_EQ(sanOf(twoKnights, "b1d2"), "Nbd2");
    EXPECT_EQ(sanOf(twoKnights, "f3d2"), "Nfd2");
    const std::string_view sameFile = "4k3/8/8/8/8/1N6/8/1N2K3 w - -";
    EXPECT_EQ(sanOf(sameFile, "b1d2"), "N1d2");
    EXPECT_EQ(sanOf(sameFile, "b3d2"), "N3d2");
    const std::string_view three = "4k3/8/8/8/8/1N3N2/8/1N2K3 w - -";
    EXPECT_EQ(sanOf(three, "b1d2"), "N1d2");
    // Rank 3 holds two of them as well: only the whole square names b3.
    EXPECT_EQ(sanOf(three, "b3d2"), "Nb3d2");
    EXPECT_EQ(sanOf(three, "f3d2"), "Nfd2");
    // Neither file nor rank alone singles out the a1 queen: both are written.
    const std::string_view queens = "4k3/8/8/8/8/Q7/8/Q1Q1K3 w - -";
    EXPECT_EQ(sanOf(queens, "a1b2"), "Qa1b2");
    EXPECT_EQ(parsed(queens, "Qa1b2"), "a1b2");
    EXPECT_EQ(sanOf(queens, "a3b2"), "Q3b2");
    EXPECT_EQ(sanOf(queens, "c1b2"), "Qcb2");

    EXPECT_EQ(sanOf("6k1/5ppp/8/8/8/8/8/3QK3 w - -", "d1d8"), "Qd8#");
    EXPECT_EQ(sanOf("6k1/5pp1/8/8/8/8/8/3QK3 w - -", "d1d8"), "Qd8+");
    EXPECT_EQ(sanOf("8/8/8/8/8/8/8/4K2R w K - ", "O-O"), "O-O");
    // Castling that gives check, or even mate, is only marked "+".
    EXPECT_EQ(sanOf("5k2/8/8/8/8/8/8/4K2R w K -", "O-O"), "O-O+");
    EXPECT_EQ(sanOf("3k4/8/8/8/8/8/8/R3K3 w Q -", "O-O-O"), "O-O-O+");
    EXPECT_EQ(sanOf("4k3/3P4/8/8/8/8/8/4K3 w - -", "d8=Q+"), "d8=Q+");
    EXPECT_EQ(sanOf("2r1k3/3P4/8/8/8/8/8/4K3 w - -", "dxc8=N"), "dxc8=N");

    const Board start = fromFen(kStart);
    Move illegal;
    illegal.from = 4;
    illegal.to = 36;
    EXPECT_EQ(start.sanOf(illegal), "");
    EXPECT_EQ(start.sanOf(Move{}), "");
}

TEST(Notation, EveryLegalMoveReadsBackFromItsTexts) {
    const char* starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "4k3/8/8/8/8/Q7/8/Q1Q1K3 w - -",
        "4k3/1P1P4/8/8/8/8/1p1p4/4K3 w - -",
    };
    std::mt19937 random(2024);
    int checked = 0;
    for (const char* fen : starts) {
        for (int game = 0; game < 12; ++game) {
            Board board = fromFen(fen);
            for (int ply = 0; ply < 40; ++ply) {
                MoveList legal;
                generateLegal(board, legal);
                if (legal.count == 0) break;
                for (const Move& m : legal) {
                    const std::string san = board.sanOf(m);
                    ASSERT_TRUE(sameMove(board.parseMove(san), m)) << fen << " " << san;
                    std::string coordinate;
                    coordinate += static_cast<char>('a' + fileOf(m.from));
                    coordinate += static_cast<char>('1' + rankOf(m.from));
                    const std::string to = {static_cast<char>('a' + fileOf(m.to)),
                                            static_cast<char>('1' + rankOf(m.to))};
                    const std::string promo =
                        m.promotion
                            ? std::string(1, static_cast<char>(pieceLetter(m.promotion) + 32))
                            : "";
                    ASSERT_TRUE(sameMove(board.parseMove(coordinate + to + promo), m));
                    const char letter = pieceLetter(board.squares[m.from]);
                    const std::string longForm = (letter == ' ' ? "" : std::string(1, letter)) +
                                                 coordinate + (m.flags & MoveCapture ? "x" : "-") +
                                                 to + promo;
                    ASSERT_TRUE(sameMove(board.parseMove(longForm), m)) << longForm;
                    ++checked;
                }
                Move m = legal[static_cast<int>(random() % static_cast<unsigned>(legal.count))];
                makeMove(board, m);
            }
        }
    }
    EXPECT_GT(checked, 10000);
}

TEST(Notation, NormaliseMoves) {
    std::string am;
    std::string bm = "e4 Nf3 Xy9";
    std::string pm = "xx";
    std::string pv = "e4 e5 Nf3";
    std::string c1;
    normaliseMoves(kStart, am, bm, pm, pv, c1);
    EXPECT_EQ(bm, "e4 Nf3");
    EXPECT_EQ(pm, "xx");
    EXPECT_EQ(pv, "e4 e5 Nf3");

    pv = "e4 Nf3 Nc6";
    pm = "g1f3";
    normaliseMoves(kStart, am, bm, pm, pv, c1);
    EXPECT_EQ(pv, "e4 Nc6");
    EXPECT_EQ(pm, "Nf3");

    // A dropped word takes its number of the points list with it (avoid moves come first).
    am = "Qh5 d2d4";
    bm = "Zz9 g1f3 e2e4";
    c1 = "-3  -2 7 10 5";
    pm.clear();
    pv.clear();
    normaliseMoves(kStart, am, bm, pm, pv, c1);
    EXPECT_EQ(am, "d4");
    EXPECT_EQ(bm, "Nf3 e4");
    EXPECT_EQ(c1, "-2 10 5");

    // Nothing dropped: the points list stays byte for byte; an unreadable list becomes empty.
    am = "Kh9";
    bm = "e4";
    c1 = "-1  3";
    normaliseMoves(kStart, am, bm, pm, pv, c1);
    EXPECT_EQ(am, "");
    EXPECT_EQ(c1, "3");
    am.clear();
    c1 = "1,  2";
    normaliseMoves(kStart, am, bm, pm, pv, c1);
    EXPECT_EQ(c1, "1,  2");
}

TEST(Notation, RandomBytesNeverBreakTheReaders) {
    std::mt19937 random(7);
    Board board = fromFen(kStart);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        if (round % 100 == 0) text.assign(10000, static_cast<char>(random() % 256));
        Board b;
        b.setFromFen(text);
        MoveList moves;
        generateLegal(b, moves);
        for (const Move& m : moves) {
            ASSERT_TRUE(onBoard(m.from) && onBoard(m.to));
        }
        const Move m = board.parseMove(text);
        if (m.isValid()) {
            EXPECT_FALSE(board.sanOf(m).empty());
        }
        (void)b.parseMove(text);
        (void)sanVariation(b, text);
    }
}

}  // namespace
}  // namespace tarnwick
