#include <gtest/gtest.h>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

constexpr const char* kOpening = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";

std::string position(const std::string& ops) {
    return std::string(kOpening) + " " + ops;
}

// Mate tests over UCI: the mate score decides, the result file keeps the mate found, and a run
// over that result file alone reports the same.
TEST(MateRun, MateScoresDecideAndSurviveTheResultFile) {
    TempDirectory dir("mate_run");
    writeFile(dir / "suite.epd", position("bm #3; id \"m3\";\n") + position("bm #4; id \"m4\";\n") +
                                     position("dm -2; id \"mated\";\n") +
                                     position("bm #2; id \"lost\";\n"));
    const std::string script =
        "on uci: print id name scripted; print uciok\n"
        "on isready: print readyok\n"
        "on go#1: print info depth 3 score cp 90 time 0 nodes 10 pv d1h5; "
        "print info depth 4 score mate 3 time 0 nodes 20 pv d1h5; print bestmove 0000\n"
        "on go#2: print info depth 5 score mate 3 time 30 nodes 10 pv d1h5; "
        "print bestmove d1h5\n"
        "on go#3: print info depth 5 score mate -2 time 40 nodes 10 pv g1f3; "
        "print bestmove g1f3\n"
        "on go#4: print info depth 5 score mate 2 time 20 nodes 10 pv d1h5; "
        "print info depth 6 score cp 300 time 60 nodes 10 pv d1h5; print bestmove d1h5\n";
    const std::vector<std::string> files = {
        "/u", "/i", (dir / "suite.epd").string(), "/o", (dir / "result.epd").string(), "/t", "1",
        "/a", "0"};
    const RunResult run = runTarnwick(concat(files, scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("\n1/4 Id: m3\nmoves: mate in 3 \n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\n3/4 Id: mated\nmoves: mated in 2 \n"), std::string::npos);
    const std::string report =
        "Number of tests:                       4\n"
        "Max score:                             4\n"
        "Engines score:                         3\n"
        "Number with full score:                3\n"
        "Found in: 1 sec = 3, \n"
        "Time used for tests (wrong answer=1s): 1s\n"
        "\n"
        "Positions with error (id):\n"
        "lost\n"
        "\n"
        "Mates found: 3  best: 3  (of 4 mate tests)\n"
        "Mates shorter than the suite's (id):\n"
        "m4\n";
    EXPECT_TRUE(run.output.ends_with(report)) << run.output;
    const std::vector<std::string> records = readLines(dir / "result.epd");
    ASSERT_EQ(records.size(), 4u);
    // Found at time 0: the mate, not the absent acs, says it was found.
    EXPECT_EQ(records[0], position("acd 4; acn 20; bm #3; ce 30000; id \"m3\"; mate 3; pm 0000; "
                                   "pv Qh5;"));
    EXPECT_EQ(records[2], position("acd 5; acn 10; acs 4; ce -30000; dm -2; id \"mated\"; mate "
                                   "-2; pm Nf3; pv Nf3;"));
    EXPECT_EQ(records[3], position("acd 6; acn 10; acs -1; bm #2; ce 300; id \"lost\"; pm Qh5; "
                                   "pv Qh5;"));

    const RunResult again = runTarnwick(concat(files, scriptedEngine(dir, script)));
    EXPECT_EQ(again.exitStatus, 0) << again.output;
    EXPECT_TRUE(again.output.ends_with(report)) << again.output;
}

}  // namespace
}  // namespace tarnwick::e2e
