#include "run/engine_lines.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/uci_protocol.hpp"
#include "engine/xboard_protocol.hpp"
#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

// Start position after 1. e4 e5: Qh5, Nf3, Bc4 and d4 are all legal for White.
constexpr std::string_view kFen = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";

void start(RunState& run, std::string_view operations) {
    TestPosition entry;
    entry.parseEpd(std::string(kFen) + " " + std::string(operations));
    installPosition(run.watch, entry);
    run.watch.searchInProgress = true;
}

// Whether the run was woken since the last call.
bool woken(RunState& run) {
    return run.searchEnded.wait(std::chrono::milliseconds(0));
}

TEST(EngineLines, AnalysisIsEchoedHighlightedWhenItFindsTheMaximum) {
    RunState run(RunSettings{}, ConsoleOutput::capture(true));
    start(run, "bm Qh5;");
    for (const char* line : {"5 20 120 1000 d1h5 b8c6", "7 15 300 3000 g1f3 b8c6", "9 31 500 5000",
                             "  9 31 500 5000 1. Qh5  "}) {
        onEngineEvent(run, parseWinboardLine(line));
    }
    onEngineEvent(run, parseUciLine("info depth 4 score mate 2 time 1500 pv d1h5"));
    EXPECT_EQ(run.console.captured(),
              "\x1b[1;97m5 20 120 1000 d1h5 b8c6\x1b[0m\n"
              "7 15 300 3000 g1f3 b8c6\n"
              "9 31 500 5000\n"
              "\x1b[1;97m9 31 500 5000 1. Qh5\x1b[0m\n"
              "\x1b[1;97m4 30000 150 1 d1h5\x1b[0m\n");
    EXPECT_FALSE(woken(run));
}

TEST(EngineLines, FinalMoveIsStoredOnceEchoedAndWakesTheRun) {
    const testing::TempDirectory dir("engine_lines");
    const auto file = dir / "result.epd";
    RunSettings settings;
    settings.resultFile = file.string();
    RunState run(settings, ConsoleOutput::capture(true));
    ASSERT_EQ(run.records->open(settings.resultFile, "Result file"), "");
    start(run, "bm Qh5; id \"t1\";");
    onEngineEvent(run, parseUciLine("info depth 5 score cp 20 time 1200 nodes 1000 pv d1h5 b8c6"));
    onEngineEvent(run, parseUciLine("bestmove d1h5"));
    EXPECT_TRUE(woken(run));
    // A late second move while no search runs is neither stored nor signalled.
    onEngineEvent(run, parseUciLine("bestmove g1f3"));
    EXPECT_FALSE(woken(run));
    EXPECT_EQ(run.watch.resultList.size(), 1u);

    std::stringstream text;
    text << std::ifstream(file).rdbuf();  // closed at once: an open file cannot be removed
    EXPECT_EQ(text.str(), std::string(kFen) +
                              " acd 5; acn 1000; acs 120; bm Qh5; ce 20; id \"t1\"; pm Qh5; pv "
                              "Qh5 Nc6;\n");
    run.records->close();

    run.console.takeCaptured();
    int wakes = 0;
    for (const auto& [operations, move] : {std::pair{"bm Qh5;", ""},
                                           {"bm Qh5;", "resign"},
                                           {"bm Qh5 Nf3; c1 \"10 5\";", "g1f3"},
                                           {"bm Qh5;", "Qh5"}}) {
        start(run, operations);
        onEngineEvent(run, parseWinboardLine(std::string("move ") + move));
        wakes += woken(run) ? 1 : 0;
    }
    EXPECT_EQ(run.console.captured(),
              "Move error: \nMove error: resign\ng1f3\n\x1b[1;97mQh5\x1b[0m\n");
    EXPECT_EQ(wakes, 4);
}

TEST(EngineLines, HandshakeAnswersRaiseTheirFlags) {
    RunState run(RunSettings{}, ConsoleOutput::capture());
    onEngineEvent(run, parseUciLine("uciok"));
    EXPECT_TRUE(run.handshake.uciOkSeen);
    EXPECT_FALSE(run.handshake.readyOkSeen);
    onEngineEvent(run, parseUciLine("readyok"));
    EXPECT_TRUE(run.handshake.readyOkSeen);
}

}  // namespace
}  // namespace tarnwick
