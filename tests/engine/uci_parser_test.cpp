#include "engine/uci_parser.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

std::string analysisOf(std::string_view line) {
    const EngineEvent e = parseUciLine(line);
    return e.kind == EngineEventKind::Analysis ? e.text : "<none>";
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
    EXPECT_EQ(parseUciLine("bestmove e2e4 ponder e7e5").kind, EngineEventKind::FinalMove);
    EXPECT_EQ(parseUciLine("bestmove e2e4 ponder e7e5").text, "e2e4");
    EXPECT_EQ(parseUciLine("bestmove").kind, EngineEventKind::FinalMove);
    EXPECT_EQ(parseUciLine("bestmove").text, "");
    EXPECT_EQ(parseUciLine("   uciok   ").kind, EngineEventKind::UciOk);
    EXPECT_EQ(parseUciLine("uciok extra words").kind, EngineEventKind::UciOk);
    EXPECT_EQ(parseUciLine("UCIOK").kind, EngineEventKind::None);
    EXPECT_EQ(parseUciLine("readyok").kind, EngineEventKind::ReadyOk);
    EXPECT_EQ(parseUciLine("id name x").kind, EngineEventKind::None);
    EXPECT_EQ(parseUciLine("").kind, EngineEventKind::None);
}

}  // namespace
}  // namespace tarnwick
