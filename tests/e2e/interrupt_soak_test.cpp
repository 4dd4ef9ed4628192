// Runs interrupted at random moments, each followed by a run that resumes: the result file
// must only ever hold whole records, and resuming must test exactly what is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

constexpr int kPositions = 20;

// TARNWICK_SOAK_RUNS sets the number of runs; the test suite's default keeps it short.
int soakRuns() {
    const char* runs = std::getenv("TARNWICK_SOAK_RUNS");
    return runs != nullptr && std::atoi(runs) > 0 ? std::atoi(runs) : 8;
}

// The placement part of the position a record or a "position fen" command is about.
std::string placementOf(const std::string& line) {
    const std::string text = line.starts_with("position fen ") ? line.substr(13) : line;
    return text.substr(0, text.find(' '));
}

// The console text after which the interrupt is sent: start-up, the initialisation, the
// heading of one of the positions, or the report.
std::string interruptPoint(int choice) {
    if (choice == 0) return "Starting engine: ";
    if (choice == 1) return "Initiate the engine\n";
    if (choice <= kPositions + 1) {
        const int n = choice - 1;
        return "\n" + std::to_string(n) + "/" + std::to_string(kPositions) + " Id: p" +
               std::to_string(n) + "\n";
    }
    return "Number of tests:";
}

TEST(InterruptSoak, EveryInterruptedRunLeavesWholeRecordsAndResumesExactly) {
    const std::string suite = numberedSuite(kPositions);
    std::set<std::string> placements;
    for (size_t at = 0; at < suite.size(); at = suite.find('\n', at) + 1) {
        placements.insert(placementOf(suite.substr(at)));
    }
    ASSERT_EQ(placements.size(), static_cast<size_t>(kPositions));
    const std::string script =
        uciScript("print info depth 1 time 1 pv a1b2; sleep 15; print bestmove a1b2");

    const int runs = soakRuns();
    for (int i = 0; i < runs; ++i) {
        std::mt19937 random(static_cast<unsigned>(i));
        const int choice = std::uniform_int_distribution<int>(0, kPositions + 2)(random);
        const int delayMs = std::uniform_int_distribution<int>(0, 40)(random);
        SCOPED_TRACE("run " + std::to_string(i) + ": interrupted " + std::to_string(delayMs) +
                     " ms after \"" + interruptPoint(choice) + "\"");
        TempDirectory dir("soak");
        writeFile(dir / "suite.epd", suite);
        const std::vector<std::string> words = {"/u",
                                                "/i",
                                                (dir / "suite.epd").string(),
                                                "/o",
                                                (dir / "result.epd").string(),
                                                "/g",
                                                (dir / "good.epd").string(),
                                                "/t",
                                                "1",
                                                "/a",
                                                i % 4 == 1 ? "1" : "0"};

        RunResult run =
            runTarnwick(concat(words, scriptedEngine(dir, script, "first")),
                        interruptAfter(interruptPoint(choice), std::chrono::milliseconds(delayMs)));
        // An interrupt that comes as the program leaves, after its report, ends it by signal.
        const bool reported = run.output.find("Number of tests:") != std::string::npos;
        EXPECT_TRUE(run.exitStatus == 0 || (run.exitStatus == 130 && reported)) << run.output;

        const std::string results = readFile(dir / "result.epd");
        EXPECT_TRUE(results.empty() || results.back() == '\n');
        std::set<std::string> recorded;
        for (const std::string& record : readLines(dir / "result.epd")) {
            EXPECT_TRUE(record.ends_with(";") && record.find(" id \"p") != std::string::npos)
                << record;
            EXPECT_TRUE(placements.contains(placementOf(record))) << record;
            EXPECT_TRUE(recorded.insert(placementOf(record)).second) << "twice: " << record;
        }

        run = runTarnwick(concat(words, scriptedEngine(dir, script, "second")));
        EXPECT_EQ(run.exitStatus, 0) << run.output;
        std::map<std::string, int> searched;
        for (const std::string& line : readLines(dir / "second.log")) {
            if (line.starts_with("position fen ")) ++searched[placementOf(line)];
        }
        for (const std::string& placement : placements) {
            EXPECT_EQ(searched[placement], recorded.contains(placement) ? 0 : 1) << placement;
        }
        EXPECT_EQ(readLines(dir / "result.epd").size(), static_cast<size_t>(kPositions));
        EXPECT_NE(run.output.find("Number of tests:                       20\n"), std::string::npos)
            << run.output;
    }
}

}  // namespace
}  // namespace tarnwick::e2e
