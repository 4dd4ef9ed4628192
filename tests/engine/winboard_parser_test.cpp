#include "engine/winboard_parser.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

std::string describe(std::string_view line) {
    const EngineEvent e = parseWinboardLine(line);
    switch (e.kind) {
        case EngineEventKind::Analysis:
            return "think:" + e.analysis.echo;
        case EngineEventKind::FinalMove:
            return "move:" + e.move;
        default:
            return "none";
    }
}

TEST(WinboardParser, MovesAndResults) {
    EXPECT_EQ(describe("move e2e4"), "move:e2e4");
    EXPECT_EQ(describe("move"), "move:");
    EXPECT_EQ(describe("1. ... e4"), "move:e4");
    EXPECT_EQ(describe("12. ... Nf3"), "move:Nf3");
    EXPECT_EQ(describe("0. ... Nf3"), "none");
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
    EXPECT_EQ(describe("Illegal move: x"), "none");
    EXPECT_EQ(describe(""), "none");
    EXPECT_EQ(describe("1 -x +y 2z e4"), "think:1 -x +y 2z e4");
}

}  // namespace
}  // namespace tarnwick
