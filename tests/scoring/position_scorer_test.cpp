#include "scoring/position_scorer.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

// After 1. e4 e5: Qh5, Nf3, Bc4 and d4 are all legal for White; Qxh7 and e8=Q are not.
constexpr std::string_view kFen = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";

TestPosition record(std::string_view operations) {
    TestPosition p;
    p.parseEpd(std::string(kFen) + " " + std::string(operations));
    return p;
}

int32_t earned(std::string_view operations) {
    const TestPosition p = record(operations);
    return PositionScorer(p).earned(p);
}

TEST(Scoring, UnreadableBestAndAvoidMovesKeepThePoint) {
    // None of the best moves can be read: no move earns the point.
    const PositionScorer none(record("bm e8=Q+ Qxh7#;"));
    EXPECT_EQ(none.maximum(), 1);
    EXPECT_EQ(none.pointsOfText("Qh5"), 0);
    EXPECT_EQ(none.pointsOfText("0000"), 0);
    EXPECT_EQ(none.unreadableMoves(), (std::vector<std::string>{"e8=Q+", "Qxh7#"}));
    EXPECT_EQ(earned("bm e8=Q+; pm 0000;"), 0);

    // The readable words are scored as ever; only the unreadable ones are listed.
    const PositionScorer some(record("bm Nbd7 Nf3; am Qxh7; c1 \"-3 7 5\";"));
    EXPECT_EQ(some.maximum(), 7);
    EXPECT_EQ(some.pointsOfText("g1f3"), 5);
    EXPECT_EQ(some.unreadableMoves(), (std::vector<std::string>{"Nbd7", "Qxh7"}));
    EXPECT_TRUE(PositionScorer(record("bm Nf3; am Qh5;")).unreadableMoves().empty());

    // A dm that is no mate count asks for no mate, and is told as written.
    for (const auto& [ops, target, told] :
         {std::tuple{"bm Nf3; dm 0;", 0, "dm 0"}, {"bm #2; dm x;", 2, "dm x"}, {"dm +3;", 3, ""}}) {
        const PositionScorer p(record(ops));
        EXPECT_EQ(p.mateTarget(), target) << ops;
        EXPECT_EQ(p.unreadableMoves(), std::vector<std::string>(told[0] ? 1 : 0, told)) << ops;
    }
}

TEST(Scoring, MateTestsBySignAndDistance) {
    const PositionScorer mates(record("bm #3;"));
    ASSERT_TRUE(mates.isMateTest());
    EXPECT_EQ(mates.mateTarget(), 3);
    EXPECT_EQ(mates.maximum(), 1);
    EXPECT_EQ(mates.mateVerdict(3), MateVerdict::best);
    EXPECT_EQ(mates.mateVerdict(2), MateVerdict::shorter);  // the suite is wrong
    EXPECT_EQ(mates.mateVerdict(5), MateVerdict::found);
    EXPECT_EQ(mates.mateVerdict(-3), MateVerdict::none);
    EXPECT_EQ(mates.mateVerdict(0), MateVerdict::none);
    EXPECT_TRUE(mates.unreadableMoves().empty());  // "#3" is no move to read
    EXPECT_EQ(mates.pointsOfText("Qh5"), 0);       // the final move decides nothing

    const PositionScorer mated(record("bm #-5;"));
    EXPECT_EQ(mated.mateTarget(), -5);
    EXPECT_EQ(mated.mateVerdict(-5), MateVerdict::best);
    EXPECT_EQ(mated.mateVerdict(-3), MateVerdict::found);  // mated sooner is no better defence
    EXPECT_EQ(mated.mateVerdict(5), MateVerdict::none);

    // dm asks the same, and the mate found is what a finished record earns.
    EXPECT_EQ(PositionScorer(record("bm Qh5; dm 2;")).mateTarget(), 2);
    EXPECT_EQ(earned("bm Qh5; dm 2; mate 2; pm Nf3;"), 1);
    EXPECT_EQ(earned("bm #4; mate 3; pm Qh5;"), 1);
    EXPECT_EQ(earned("bm #4; mate 5; pm Qh5;"), 0);
    EXPECT_EQ(earned("bm #4; pm Qh5;"), 0);

    // Not mate tests: "#0", a "#" with text, two words.
    EXPECT_FALSE(PositionScorer(record("bm #0;")).isMateTest());
    EXPECT_FALSE(PositionScorer(record("bm #x3;")).isMateTest());
    EXPECT_FALSE(PositionScorer(record("bm #3 Qh5;")).isMateTest());
}

TEST(Scoring, PointsListsInC0) {
    // Blanks around pairs and numbers, SAN with a check sign, long algebraic.
    const PositionScorer list(record("bm Qh5; c0 \" Qh5=10 ,Nf3 = 4, Bc4+=2,d2d4=7\";"));
    ASSERT_TRUE(list.isPointsSuite());
    EXPECT_EQ(list.maximum(), 10);
    EXPECT_EQ(list.pointsOfText("d1h5"), 10);
    EXPECT_EQ(list.pointsOfText("Nf3"), 4);
    EXPECT_EQ(list.pointsOfText("Bc4"), 2);
    EXPECT_EQ(list.pointsOfText("d4"), 7);
    EXPECT_EQ(list.pointsOfText("a3"), 0);
    EXPECT_EQ(earned("bm Qh5; c0 \"Qh5=10, Nf3=4\"; pm Nf3;"), 4);
    // The list decides alone: bm earns nothing it does not name.
    EXPECT_EQ(earned("bm Qh5; c0 \"Nf3=3\"; pm Qh5;"), 0);

    // A move named twice counts its larger value, stands once in the list, and is told.
    const PositionScorer twice(record("bm Qh5; c0 \"Nf3=10, Qh5=3, d1h5=9, Qh5=1\";"));
    EXPECT_EQ(twice.pointsOfText("Qh5"), 9);
    EXPECT_EQ(twice.pointsList().size(), 2u);
    EXPECT_EQ(twice.repeatedMoves(), std::vector<std::string>{"Qh5"});

    // A pair naming no legal move sets the list aside for the bm rules, and says which.
    const PositionScorer bad(record("bm Qh5; c0 \"Qh5=10, Qxh7=5\";"));
    EXPECT_FALSE(bad.isPointsSuite());
    EXPECT_EQ(bad.rejectedPair(), "Qxh7=5");
    EXPECT_EQ(bad.maximum(), 1);
    EXPECT_EQ(bad.pointsOfText("Qh5"), 1);

    // No list: c1 present, a comment, a number that is not one.
    for (const char* ops : {"bm Qh5; c0 \"Nf3=10\"; c1 \"3\";", "bm Qh5; c0 \"Kasparov, 1999\";",
                            "bm Qh5; c0 \"Nf3=ten\";", "bm Qh5; c0 \"was bm #23\";"}) {
        const PositionScorer p(record(ops));
        EXPECT_FALSE(p.isPointsSuite()) << ops;
        EXPECT_EQ(p.rejectedPair(), "") << ops;
        EXPECT_EQ(p.pointsOfText("Qh5"),
                  std::string_view(ops).find("c1") != std::string_view::npos ? 3 : 1)
            << ops;
    }
}

}  // namespace
}  // namespace tarnwick
