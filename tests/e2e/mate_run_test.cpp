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
        "Mate lines that do not prove their score: 3 (m3, m4, mated)\n"
        "Mates shorter than the suite's (id):\n"
        "m4\n"
        "By mate length:\n"
        "  2:     found 1  best 1  (of 2)\n"
        "  3:     found 1  best 1  (of 1)\n"
        "  4-5:   found 1  best 1  (of 1)\n";
    EXPECT_TRUE(run.output.ends_with(report)) << run.output;
    const std::vector<std::string> records = readLines(dir / "result.epd");
    ASSERT_EQ(records.size(), 4u);
    // Found at time 0: the mate, not the absent acs, says it was found. A line of one move
    // proves no mate in 3.
    EXPECT_EQ(records[0], position("acd 4; acn 20; bm #3; ce 30000; id \"m3\"; mate 3; matecheck "
                                   "short; pm 0000; pv Qh5;"));
    EXPECT_EQ(records[2], position("acd 5; acn 10; acs 4; ce -30000; dm -2; id \"mated\"; mate "
                                   "-2; matecheck short; pm Nf3; pv Nf3;"));
    EXPECT_EQ(records[3], position("acd 6; acn 10; acs -1; bm #2; ce 300; id \"lost\"; pm Qh5; "
                                   "pv Qh5;"));

    const RunResult again = runTarnwick(concat(files, scriptedEngine(dir, script)));
    EXPECT_EQ(again.exitStatus, 0) << again.output;
    EXPECT_TRUE(again.output.ends_with(report)) << again.output;
}

// An xboard engine's mate scores on its own large scale, and a points suite scored by its c0
// lists with subtotals by theme, each through a whole run.
TEST(MateRun, WinboardMatesAndAPointsSuite) {
    TempDirectory dir("mate_winboard");
    writeFile(dir / "mates.epd",
              position("bm #3; id \"m3\";\n") + position("dm -2; id \"mated\";\n"));
    const std::string winboard =
        "on protover: print feature setboard=1 done=1\n"
        "on go#1: print 3 95 0 10 d1h5; print 4 100003 0 20 d1h5; print move d1h5\n"
        "on go#2: print 5 -100002 40 10 g1f3; print move g1f3\n";
    RunResult run = runTarnwick(concat({"/i", (dir / "mates.epd").string(), "/t", "1", "/a", "0"},
                                       scriptedEngine(dir, winboard)));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Number with full score:                2\n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Mates found: 2  best: 2  (of 2 mate tests)\n"), std::string::npos)
        << run.output;

    writeFile(dir / "points.epd",
              position("bm Qh5; c0 \"Qh5=10, Nf3=5, d1f3=3\"; id \"STS(v1) Queen.001\";\n") +
                  position("bm Nf3; c0 \"Nf3=10,Qh5=4\"; id \"STS(v1) Queen.002\";\n") +
                  position("bm Bc4; c0 \"Bc4=10\"; id \"STS(v1) Bishop.001\";\n"));
    const std::string uci = uciScript(
        "print info depth 1 score cp 5 time 10 nodes 1 pv d1h5; "
        "print bestmove d1h5");
    run = runTarnwick(concat({"/u", "/i", (dir / "points.epd").string(), "/o",
                              (dir / "points-result.epd").string(), "/t", "1", "/a", "0"},
                             scriptedEngine(dir, uci, "uci")));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    const std::string points =
        "Points suite: 14 of 30 (46.7%)\n"
        "By theme (score of max, positions):\n"
        "  STS(v1) Queen: 14 of 20, 2\n"
        "  STS(v1) Bishop: 0 of 10, 1\n";
    EXPECT_TRUE(run.output.ends_with(points)) << run.output;
    // The record keeps its c0 and final move, so a report of the result file alone agrees.
    run = runTarnwick({"/o", (dir / "points-result.epd").string()});
    EXPECT_TRUE(run.output.ends_with(points)) << run.output;
}

}  // namespace
}  // namespace tarnwick::e2e
