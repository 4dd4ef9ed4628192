#include <gtest/gtest.h>

#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"
#include "platform/system.hpp"
#include "support/child_engine.hpp"
#include "support/test_paths.hpp"

#ifdef HAVE_TEST_ENGINE
namespace tarnwick {
namespace {

using testing::kGenerousDeadline;
using testing::LineCollector;
using testing::shellQuoted;

// The bundled engine as a child, with a reader collecting what it prints.
struct SearchingEngine {
    SearchingEngine() {
        ignoreBrokenPipeSignal();
        engine.start(shellQuoted(TEST_ENGINE_BINARY) + " --search");
        reader.setInput(engine.fromEngine());
        reader.setHandler(&LineCollector::collect, &lines);
        reader.start();
    }
    ~SearchingEngine() {
        engine.sendLine("quit");
        reader.ended().wait(kGenerousDeadline);
        reader.stop();
        engine.stop();
    }

    LineCollector lines;
    EngineProcess engine;
    LineReader reader;
};

// The first line after the first `from` lines that starts with prefix; waits for it.
std::string lineAfter(LineCollector& lines, size_t from, std::string_view prefix) {
    std::string found;
    lines.waitFor([&](const std::vector<std::string>& all) {
        for (size_t i = from; i < all.size(); ++i) {
            if (all[i].starts_with(prefix)) {
                found = all[i];
                return true;
            }
        }
        return false;
    });
    return found;
}

// Moves given in force mode reach the engine's board; "go" then plays from there, and "?"
// ends a search on a clock that would last a day.
TEST(BundledEngineDialogue, XboardPlaysFromTheGivenMovesAndMovesNowOnRequest) {
    SearchingEngine child;
    child.engine.sendLine("xboard\nprotover 2\nping 7");
    ASSERT_TRUE(child.lines.waitForLine("pong 7"));
    EXPECT_NE(child.lines.lines().front().find("done=1"), std::string::npos);

    child.engine.sendLine("new\nforce\nf2f3\ne7e5\ng2g4\npost\ngo");
    EXPECT_EQ(child.lines.waitForPrefixed("move "), "d8h4");

    const size_t mark = child.lines.lines().size();
    child.engine.sendLine("new\ntime 8640000\notim 8640000\nforce\ne2e4\ngo");
    ASSERT_NE(lineAfter(child.lines, mark, "2 "), "");
    child.engine.sendLine("?");
    EXPECT_NE(lineAfter(child.lines, mark, "move "), "");
}

TEST(BundledEngineDialogue, UciAnswersStopWithTheBestMoveSoFar) {
    SearchingEngine child;
    child.engine.sendLine("uci\nisready");
    ASSERT_TRUE(child.lines.waitForLine("readyok"));
    EXPECT_EQ(child.lines.lines().front(), "id name Tarnwick test engine");

    child.engine.sendLine("position startpos moves f2f3 e7e5 g2g4\ngo movetime 60000");
    EXPECT_EQ(child.lines.waitForPrefixed("bestmove "), "d8h4");
    EXPECT_NE(child.lines.waitForPrefixed("info depth 1 score mate 1 "), "");

    const size_t mark = child.lines.lines().size();
    child.engine.sendLine("position startpos\ngo wtime 7200000 btime 7200000 movestogo 1");
    ASSERT_NE(lineAfter(child.lines, mark, "info depth 2 "), "");
    child.engine.sendLine("stop");
    EXPECT_NE(lineAfter(child.lines, mark, "bestmove "), "");
}

}  // namespace
}  // namespace tarnwick
#endif
