#include "engine/xboard_protocol.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include "support/engine_events.hpp"

namespace tarnwick {
namespace {

std::string describe(std::string_view line) {
    return testing::describe(parseWinboardLine(line));
}

TEST(WinboardParser, MovesAndResults) {
    EXPECT_EQ(describe("move e2e4"), "move:e2e4");
    EXPECT_EQ(describe("move"), "move:");
    EXPECT_EQ(describe("1. ... e4"), "move:e4");
    EXPECT_EQ(describe("12. ... Nf3"), "move:Nf3");
    EXPECT_EQ(describe("0. ... Nf3"), "none");
    // The engine's own name, for the summary.
    EXPECT_EQ(describe("feature ping=1 myname=\"Fairy-Max 5.0b\" setboard=1"),
              "name:Fairy-Max 5.0b");
    EXPECT_EQ(describe("feature myname=\"\" done=1"), "none");
    EXPECT_EQ(describe("feature myname=\"open"), "none");
    EXPECT_EQ(describe("x ... Nf3"), "none");
    EXPECT_EQ(describe("1... e4"), "none");
    EXPECT_EQ(describe("1-0 {White mates}"), "move:resign");
    EXPECT_EQ(describe("0-1 {Black resigns}"), "move:resign");
    EXPECT_EQ(describe("1/2-1/2 {Draw by repetition}"), "move:draw");
    EXPECT_EQ(describe("resign"), "move:resign");
    EXPECT_EQ(describe("Move e4"), "none");
    EXPECT_EQ(describe("My move is : h5f7"), "none");
}

TEST(WinboardParser, ThinkingLines) {
    EXPECT_EQ(describe("  9 -35 1520 2345678 Nf3 Nc6 Bb5  "),
              "think:9 -35 1520 2345678 Nf3 Nc6 Bb5");
    EXPECT_EQ(describe("9 +12 50 1000"), "think:9 +12 50 1000");
    EXPECT_EQ(describe("9 12 50"), "none");
    EXPECT_EQ(describe("depth 9 12 50 1000"), "none");
    EXPECT_EQ(describe("feature done=1"), "none");
    EXPECT_EQ(describe("Illegal move: x"), "rejected:Illegal move: x");
    EXPECT_EQ(describe("Invalid move: sd 5"), "rejected:Invalid move: sd 5");
    EXPECT_EQ(describe(" Error (unknown command): sd "), "rejected:Error (unknown command): sd");
    EXPECT_EQ(describe("Illegally"), "none");
    EXPECT_EQ(describe(""), "none");
    EXPECT_EQ(describe("1 -x +y 2z e4"), "think:1 -x +y 2z e4");
}

// The mate scales of real xboard engines, from their own output for a mate in 2 and for being
// mated in 1: the distance in moves is read, and the printed number stays the score shown.
TEST(WinboardParser, MateScoresOnEachEnginesScale) {
    struct Case {
        const char* engine;
        int32_t matesIn2;
        int32_t matedIn1;
    };
    const Case cases[] = {
        {"xboard convention (Fairy-Max, PolyGlot)", 100002, -100001},
        {"HoiChess", 99997, -99998},
        {"Sjeng", 999996, -999997},
        {"Phalanx", 29997, -29998},
        {"GNU Chess", 9997, -9998},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.engine);
        for (const auto& [printed, moves] : {std::pair{c.matesIn2, 2}, std::pair{c.matedIn1, -1}}) {
            const Score score =
                std::get<AnalysisLine>(
                    parseWinboardLine("6 " + std::to_string(printed) + " 10 500 e4"))
                    .score;
            EXPECT_EQ(score.kind, Score::Kind::mate);
            EXPECT_EQ(score.value, moves);
            EXPECT_EQ(score.centipawns(), printed);
        }
    }
    // Scores between the scales, and a mate further than any engine reports, are centipawns.
    for (const int32_t printed : {0, 8999, -8999, 20000, 98000, 100000, 100600, -INT32_MAX}) {
        const Score score =
            std::get<AnalysisLine>(parseWinboardLine("6 " + std::to_string(printed) + " 10 500"))
                .score;
        EXPECT_EQ(score.kind, Score::Kind::centipawns) << printed;
        EXPECT_EQ(score.centipawns(), printed);
    }
    EXPECT_EQ(std::get<AnalysisLine>(parseWinboardLine("6 -2147483648 10 500")).score.kind,
              Score::Kind::centipawns);
}

}  // namespace
}  // namespace tarnwick
