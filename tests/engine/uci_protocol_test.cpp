#include "engine/uci_protocol.hpp"

#include "engine/xboard_protocol.hpp"

#include <gtest/gtest.h>

#include "support/engine_events.hpp"

namespace tarnwick {
namespace {

using testing::describe;

std::string analysisOf(std::string_view line) {
    const EngineEvent event = parseUciLine(line);
    const auto* analysis = std::get_if<AnalysisLine>(&event);
    return analysis != nullptr ? analysis->echo : "<none>";
}

TEST(UciParser, InfoLinesBecomeThinkingLines) {
    EXPECT_EQ(analysisOf("info depth 12 seldepth 20 score cp -35 nodes 123456 time 2345 pv e2e4 "
                         "e7e5 g1f3"),
              "12 -35 234 123456 e2e4 e7e5 g1f3");
    EXPECT_EQ(analysisOf("info depth 5 score mate -3 nodes 100 time 10 pv f2f3"),
              "5 -30000 1 100 f2f3");
    EXPECT_EQ(analysisOf("info depth 5 score mate 0 pv f2f3"), "5 30000 1 1 f2f3");
    EXPECT_EQ(analysisOf("info depth 8 score cp 20"), "<none>");
    EXPECT_EQ(analysisOf("info pv e2e4 score cp 5"), "1 0 1 1 e2e4 score cp 5");
    EXPECT_EQ(analysisOf("info string pv here"), "1 0 1 1 here");
    EXPECT_EQ(analysisOf("info depth 10 multipv 2 score cp 5 pv d2d4"), "10 5 1 1 d2d4");
    EXPECT_EQ(analysisOf("info depth 7 time 5 pv e2e4"), "7 0 0 1 e2e4");
    EXPECT_EQ(analysisOf("info depth 9 score lowerbound cp 30 pv e2e4"), "9 0 1 1 e2e4");
    EXPECT_EQ(analysisOf("  info   depth 3\tpv  a2a3   a7a6  "), "3 0 1 1 a2a3 a7a6");
    EXPECT_EQ(analysisOf("info depth"), "<none>");
    EXPECT_EQ(analysisOf("info depth pv e2e4"), "<none>");  // "pv" is the depth value
    EXPECT_EQ(analysisOf("info pv"), "<none>");
    EXPECT_EQ(analysisOf("INFO depth 3 pv e2e4"), "<none>");
    EXPECT_EQ(analysisOf("info depth 99999999999 nodes 99999999999 pv e2e4"),
              "2147483647 0 1 2147483647 e2e4");
}

// The values come typed: a mate stays a mate with its sign, the variation is the echo's tail.
TEST(UciParser, ValuesAreTyped) {
    const AnalysisLine line = std::get<AnalysisLine>(
        parseUciLine("info depth 7 score mate -3 time 2345 nodes 99 pv e2e4 \t e7e5 "));
    EXPECT_EQ(line.depth, 7);
    EXPECT_EQ(line.score.kind, Score::Kind::mate);
    EXPECT_EQ(line.score.value, -3);
    EXPECT_EQ(line.score.centipawns(), -30000);
    EXPECT_EQ(line.time, 234);
    EXPECT_EQ(line.nodes, 99);
    EXPECT_EQ(line.variation(), "e2e4 e7e5");
    const AnalysisLine thinking =
        std::get<AnalysisLine>(parseWinboardLine(" 9 -35 1520 2345678 Nf3  Nc6 "));
    EXPECT_EQ(thinking.score.centipawns(), -35);
    EXPECT_EQ(thinking.variation(), "Nf3  Nc6");
    EXPECT_EQ(std::get<AnalysisLine>(parseWinboardLine("9 +12 50 1000")).variation(), "");
}

TEST(UciParser, LongVariationsAreKeptWhole) {
    std::string line = "info depth 30 pv";
    std::string expected = "30 0 1 1";
    for (int i = 0; i < 200; ++i) {
        line += " e2e4";
        expected += " e2e4";
    }
    EXPECT_EQ(analysisOf(line), expected);
}

TEST(UciParser, OtherKeywords) {
    EXPECT_EQ(describe(parseUciLine("bestmove e2e4 ponder e7e5")), "move:e2e4");
    EXPECT_EQ(describe(parseUciLine("bestmove")), "move:");
    EXPECT_EQ(describe(parseUciLine("   uciok   ")), "uciok");
    EXPECT_EQ(describe(parseUciLine("uciok extra words")), "uciok");
    EXPECT_EQ(describe(parseUciLine("UCIOK")), "none");
    EXPECT_EQ(describe(parseUciLine("readyok")), "readyok");
    EXPECT_EQ(describe(parseUciLine("id name Stockfish 15.1")), "name:Stockfish 15.1");
    EXPECT_EQ(describe(parseUciLine("id name")), "none");
    EXPECT_EQ(describe(parseUciLine("id author someone")), "none");
    EXPECT_EQ(describe(parseUciLine("")), "none");
}

}  // namespace
}  // namespace tarnwick
