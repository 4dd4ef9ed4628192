#include <gtest/gtest.h>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// Runs one suite line against a UCI engine that answers "go" with the given actions, at /t 10;
// returns the stored record and the console.
std::pair<std::string, std::string> runOne(const std::string& suiteLine, const std::string& onGo) {
    TempDirectory dir("found_time");
    writeFile(dir / "suite.epd", suiteLine + "\n");
    const RunResult run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o",
                                              (dir / "result.epd").string(), "/t", "10", "/a", "0"},
                                             scriptedEngine(dir, uciScript(onGo))));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    return {readFile(dir / "result.epd"), run.output};
}

// What a position carries from the suite line must not pass for this search's findings: a
// result file reused as a suite brings its found time, and a suite line may bring a pv.
TEST(FoundTime, SuiteLinesOwnFindingsAreNotTaken) {
    {
        const auto [record, output] =
            runOne(std::string(kStart) + " acs 250; bm e4;", "print bestmove e2e4");
        EXPECT_NE(record.find("acs -1;"), std::string::npos) << record;
        EXPECT_NE(output.find("Found in: 10 sec = 1, \n"), std::string::npos) << output;
    }
    {
        const auto [record, output] =
            runOne(std::string(kStart) + " bm e4; pv e4 e5;",
                   "print info depth 3 score cp 20 time 1200 nodes 500 pv e2e4 e7e5; "
                   "print bestmove e2e4");
        EXPECT_NE(record.find("acs 120;"), std::string::npos) << record;
        EXPECT_NE(output.find("Found in: 2 sec = 1, \n"), std::string::npos) << output;
    }
}

}  // namespace
}  // namespace tarnwick::e2e
