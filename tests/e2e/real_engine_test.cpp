#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

constexpr const char* kStockfish = "/usr/games/stockfish";

// Five Win-At-Chess positions, each a short tactic.
constexpr const char* kFivePositions =
    "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - bm Qg6; id \"WAC.001\";\n"
    "8/7p/5k2/5p2/p1p2P2/Pr1pPK2/1P1R3P/8 b - - bm Rxb2; id \"WAC.002\";\n"
    "5rk1/1ppb3p/p1pb4/6q1/3P1p1r/2P1R2P/PP1BQ1P1/5RKN w - - bm Rg3; id \"WAC.003\";\n"
    "r1bq2rk/pp3pbp/2p1p1pQ/7P/3P4/2PB1N2/PP3PPR/2KR4 w - - bm Qxh7+; id \"WAC.004\";\n"
    "5k2/6pp/p1qN4/1p1p4/3P4/2PKP2Q/PP3r2/3R4 b - - bm Qc4+; id \"WAC.005\";\n";

TEST(RealEngines, StockfishOverUci) {
    const std::string missing = whyProgramCannotRun(kStockfish);
    if (!missing.empty()) GTEST_SKIP() << missing;
    TempDirectory dir("stockfish");
    writeFile(dir / "suite.epd", kFivePositions);
    const RunResult run =
        runTarnwick({"/u", "/i", (dir / "suite.epd").string(), "/o", (dir / "result.epd").string(),
                     "/t", "1", "/a", "0", kStockfish});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    const auto records = readLines(dir / "result.epd");
    ASSERT_EQ(records.size(), 5u) << run.output;
    for (const std::string& record : records) {
        // SAN, not coordinates: a piece letter or a pawn move, never "e2e4".
        const size_t pm = record.find("; pm ");
        ASSERT_NE(pm, std::string::npos) << record;
        EXPECT_NE(record.find("; pv "), std::string::npos) << record;
        EXPECT_EQ(record.find("Move error"), std::string::npos);
        const std::string move = record.substr(pm + 5, record.find(';', pm + 5) - pm - 5);
        EXPECT_LE(move.size(), 7u) << record;
        EXPECT_FALSE(move.size() == 4 && move[1] >= '1' && move[1] <= '8' && move[3] >= '1' &&
                     move[3] <= '8')
            << "coordinate move stored: " << record;
    }
    EXPECT_NE(run.output.find("Number of tests:                       5\n"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick::e2e
