#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

std::vector<std::string> positionLines(const std::string& log) {
    std::vector<std::string> lines;
    for (size_t at = log.find("position fen "); at != std::string::npos;
         at = log.find("position fen ", at + 1)) {
        lines.push_back(log.substr(at, log.find('\n', at) - at));
    }
    return lines;
}

// Positions that would crash or confuse an engine are recorded as failed without being sent,
// among legal ones that are tested as usual; the engine is not restarted for them, and a
// resumed run finds every position done.
TEST(IllegalPositions, AreRecordedWithoutReachingTheEngine) {
    TempDirectory dir("illegal_positions");
    writeFile(dir / "suite.epd",
              "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"first\";\n"
              "8/8/8/8/8/8/8/8 w - - bm Kb2; id \"empty\";\n"
              "4k3/8/8/8/8/8/8/K3K3 w - - bm Kb2; id \"kings\";\n"
              "3Pk3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"pawn\";\n"
              "4k3/8/8/8/8/8/8/K3R3 w - - bm Kb2; id \"check\";\n"
              "3k4/8/8/8/8/8/8/K7 w - - bm Kb2; id \"last\";\n"
              // A castling right with neither king nor rook on its squares.
              "2k5/8/8/8/8/8/8/K7 w q - bm Kb2; id \"castling\";\n");
    const std::vector<std::string> words =
        concat({"/u", "/i", (dir / "suite.epd").string(), "/o", (dir / "result.epd").string(), "/t",
                "1", "/a", "0"},
               scriptedEngine(dir, uciScript("print info depth 1 time 5 pv a1b2; "
                                             "print bestmove a1b2")));
    const RunResult run = runTarnwick(words);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    const std::string log = readFile(dir / "engine.log");
    EXPECT_EQ(positionLines(log),
              (std::vector<std::string>{"position fen 4k3/8/8/8/8/8/8/K7 w - - 0 1",
                                        "position fen 3k4/8/8/8/8/8/8/K7 w - - 0 1",
                                        "position fen 2k5/8/8/8/8/8/8/K7 w - - 0 1"}))
        << log;
    // One engine for the whole run.
    EXPECT_EQ(log.find("uci\n", 1), std::string::npos) << log;
    for (const char* message :
         {"\n2/7 Id: empty\nmoves: Kb2(*) \nMoves that cannot be read: Kb2\n"
          "Position empty is not legal (White has no king); skipped.\n",
          "Position kings is not legal (White has 2 kings); skipped.\n",
          "Position pawn is not legal (White pawn on d8); skipped.\n",
          "Position check is not legal (Black is in check with White to move); skipped.\n"}) {
        EXPECT_NE(run.output.find(message), std::string::npos) << message << "\n" << run.output;
    }
    EXPECT_NE(run.output.find("Number of tests:                       7\n"), std::string::npos);
    EXPECT_NE(run.output.find("Positions with error (id):\nempty, kings, pawn, check\n"),
              std::string::npos)
        << run.output;

    const std::vector<std::string> records = readLines(dir / "result.epd");
    ASSERT_EQ(records.size(), 7u) << readFile(dir / "result.epd");
    for (size_t i : {1u, 2u, 3u, 4u}) {
        EXPECT_EQ(records[i].find(" pm "), std::string::npos) << records[i];
    }
    EXPECT_NE(records[1].find("8/8/8/8/8/8/8/8 w - - "), std::string::npos) << records[1];
    EXPECT_NE(records[6].find("2k5/8/8/8/8/8/8/K7 w q - "), std::string::npos) << records[6];
    EXPECT_NE(records[6].find(" pm Kb2;"), std::string::npos) << records[6];

    const RunResult resumed = runTarnwick(words);
    EXPECT_EQ(resumed.exitStatus, 0) << resumed.output;
    EXPECT_EQ(resumed.output.find("Id: "), std::string::npos) << resumed.output;
    EXPECT_EQ(readLines(dir / "result.epd").size(), 7u);
    EXPECT_EQ(readFile(dir / "engine.log"), log);
}

}  // namespace
}  // namespace tarnwick::e2e
