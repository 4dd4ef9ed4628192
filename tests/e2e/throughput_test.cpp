#include "support/test_paths.hpp"

#ifdef HAVE_TEST_ENGINE

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/harness.hpp"
#include "platform/process.hpp"

namespace tarnwick::e2e {
namespace {

// A record without its found time, the one field that follows the machine's speed.
std::string withoutFoundTime(std::string record) {
    const size_t at = record.find(" acs ");
    if (at != std::string::npos) record.erase(at, record.find(';', at) + 1 - at);
    return record;
}

std::vector<std::string> recordsWithoutTimes(const std::filesystem::path& file) {
    std::vector<std::string> records;
    for (const std::string& line : readLines(file)) records.push_back(withoutFoundTime(line));
    return records;
}

std::vector<std::string> bundledEngine() {
    return {TEST_ENGINE_BINARY, "--search"};
}

TEST(Throughput, SearchLimitsAreTheCommandsSent) {
    TempDirectory dir("limits");
    writeFile(dir / "suite.epd", numberedSuite(1));
    const std::string uci = uciScript("waitfor stop; print bestmove e1d2");
    RunResult run = runTarnwick(concat({"--depth", "7", "--nodes=5000", "/u", "/i",
                                        (dir / "suite.epd").string(), "/t", "0.05", "/a", "0"},
                                       scriptedEngine(dir, uci)));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    const std::string log = readFile(dir / "engine.log");
    // The limit replaces the timed search; the time per position still ends it.
    EXPECT_NE(log.find("\ngo depth 7 nodes 5000\nstop\n"), std::string::npos) << log;
    EXPECT_NE(run.output.find("Time used for tests (wrong answer=0.05s): 0.05s\n"),
              std::string::npos)
        << run.output;

    const std::string winboard =
        "on go: waitfor ?; print move e1d2\n"
        "on protover: print feature setboard=1 done=1\n";
    run = runTarnwick(
        concat({"--depth", "4", "/i", (dir / "suite.epd").string(), "/t", "0.1", "/a", "0"},
               scriptedEngine(dir, winboard, "wb")));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(readFile(dir / "wb.log").find("sd 4\ngo\n?\n"), std::string::npos)
        << readFile(dir / "wb.log");

    for (const char* option : {"--nodes", "--multipv"}) {
        run = runTarnwick(concat({option, "3", "/i", (dir / "suite.epd").string()},
                                 scriptedEngine(dir, winboard, "wb2")));
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_TRUE(run.output.starts_with(option + std::string(" needs a UCI engine\n")))
            << run.output;
    }
}

// Several engines at once give the records and the report of one engine, whichever engine
// took which position, and each position's block is printed whole.
TEST(Throughput, ConcurrentEnginesGiveTheRecordsOfOne) {
    TempDirectory dir("concurrent");
    writeFile(dir / "suite.epd", wacPositions(12));
    std::vector<std::vector<std::string>> records;
    std::vector<RunResult> runs;
    for (const char* engines : {"1", "3"}) {
        const std::filesystem::path results = dir / (std::string("results") + engines + ".epd");
        runs.push_back(
            runTarnwick(concat({"--concurrency", engines, "--depth", "3", "/u", "/i",
                                (dir / "suite.epd").string(), "/o", results.string(), "/a", "0"},
                               bundledEngine())));
        EXPECT_EQ(runs.back().exitStatus, 0) << runs.back().output;
        records.push_back(recordsWithoutTimes(results));
    }
    ASSERT_EQ(records[0].size(), 12u);
    std::vector<std::string> sorted = records[1];
    // Written as each engine finishes, so in any order; the same records all the same.
    std::sort(sorted.begin(), sorted.end());
    std::sort(records[0].begin(), records[0].end());
    EXPECT_EQ(sorted, records[0]);
    EXPECT_EQ(reportWithoutTimes(runs[1].output), reportWithoutTimes(runs[0].output));
    EXPECT_NE(runs[1].output.find("Wall time: "), std::string::npos);
    EXPECT_EQ(runs[0].output.find("Wall time: "), std::string::npos);
    // Every block runs from its heading to its final move, with no other position's line in
    // it: the final moves follow the thinking lines of their own heading.
    size_t blocks = 0;
    const std::vector<std::string> lines = linesOf(runs[1].output);
    const auto isThinking = [](const std::string& line) {
        return !line.empty() && line[0] >= '0' && line[0] <= '9' &&
               line.find("/12 Id:") == line.npos;
    };
    for (size_t i = 0; i + 3 < lines.size(); ++i) {
        if (lines[i].find("/12 Id: ") == std::string::npos || !lines[i + 1].starts_with("moves:")) {
            continue;
        }
        size_t j = i + 2;
        while (j < lines.size() && isThinking(lines[j])) ++j;
        const bool moveFollows = j > i + 2 && j < lines.size() && lines[j].size() >= 4 &&
                                 lines[j].size() <= 5 && lines[j][0] >= 'a' && lines[j][0] <= 'h';
        if (moveFollows) ++blocks;
    }
    EXPECT_EQ(blocks, 12u) << runs[1].output;
}

// An interrupt ends every engine; what finished is recorded whole, the report covers it, and
// a resumed run tests only what is missing.
TEST(Throughput, InterruptedConcurrentRunResumes) {
    TempDirectory dir("concurrent-interrupt");
    writeFile(dir / "suite.epd", numberedSuite(4));
    // Each engine answers its first position at once and then waits.
    const std::string slow =
        uciScript("waitfor stop; print bestmove e1d2") + "on go#1: print bestmove 0000\n";
    RunOptions options;
    options.onOutput = [](ProcessId child, const std::string& output) {
        size_t moves = 0;
        for (size_t at = output.find("Move error"); at != std::string::npos;
             at = output.find("Move error", at + 1)) {
            ++moves;
        }
        if (moves < 2) return false;
        interruptProcess(child);
        return true;
    };
    const std::string results = (dir / "results.epd").string();
    RunResult run =
        runTarnwick(concat({"--concurrency", "2", "/u", "/i", (dir / "suite.epd").string(), "/o",
                            results, "/t", "100", "/a", "0"},
                           scriptedEngine(dir, slow)),
                    options);
    EXPECT_NE(run.output.find("Number of tests:                       2\n"), std::string::npos)
        << run.output;
    ASSERT_EQ(readLines(results).size(), 2u) << run.output;
    EXPECT_FALSE(engineLeftRunning(run, dir / "engine.script"));

    const std::string quick = uciScript("print bestmove e1d2");
    run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o", results, "/a", "0"},
                             scriptedEngine(dir, quick, "quick")));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Number of tests:                       4\n"), std::string::npos)
        << run.output;
    const std::string log = readFile(dir / "quick.log");
    size_t searches = 0;
    for (size_t at = log.find("\ngo"); at != std::string::npos; at = log.find("\ngo", at + 1)) {
        ++searches;
    }
    EXPECT_EQ(searches, 2u) << log;
    EXPECT_EQ(readLines(results).size(), 4u);
}

// The search ends once its solution has held for the early-stop time of the engine's own
// clock, or once a mate test's best mate is reported; without it the safety time decides.
TEST(Throughput, EarlyStopFollowsTheEnginesClock) {
    TempDirectory dir("early-stop");
    writeFile(dir / "suite.epd",
              "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"held\";\n"
              "6k1/5ppp/8/8/8/8/8/K2R4 w - - bm #1; id \"mate\";\n");
    // 30 s of the engine's own time pass between the finding and the next line: far beyond
    // the early stop, though the wall clock has hardly moved.
    const std::string script =
        "on uci: print id name scripted; print uciok\n"
        "on isready: print readyok\n"
        "on go#1: print info depth 1 score cp 5 time 100 nodes 1 pv a1b2; "
        "print info depth 9 score cp 5 time 30100 nodes 9 pv a1b2; waitfor stop; "
        "print bestmove a1b2\n"
        "on go#2: print info depth 1 score mate 1 time 10 nodes 1 pv d1d8; waitfor stop; "
        "print bestmove d1d8\n";
    const std::string results = (dir / "results.epd").string();
    RunResult run =
        runTarnwick(concat({"--early-stop", "20", "/u", "/i", (dir / "suite.epd").string(), "/o",
                            results, "/t", "1000", "/a", "0"},
                           scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Number with full score:                2\n"), std::string::npos)
        << run.output;
    EXPECT_NE(readFile(results).find("acs 10;"), std::string::npos) << readFile(results);

    // An engine that says nothing more after finding the move is stopped by the clock, once the
    // early-stop time has passed; without that, this search would last its 1000 s.
    const std::string silent =
        "on uci: print id name scripted; print uciok\n"
        "on isready: print readyok\n"
        "on go: print info depth 1 score cp 5 time 10 nodes 1 pv a1b2; waitfor stop; "
        "print bestmove a1b2\n";
    writeFile(dir / "held.epd", "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"held\";\n");
    run = runTarnwick(concat(
        {"--early-stop", "0.2", "/u", "/i", (dir / "held.epd").string(), "/t", "1000", "/a", "0"},
        scriptedEngine(dir, silent, "silent")));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Number with full score:                1\n"), std::string::npos)
        << run.output;

    // A solution that is lost again does not stop the search: the safety time does.
    const std::string lost =
        "on uci: print id name scripted; print uciok\n"
        "on isready: print readyok\n"
        "on go: print info depth 1 score cp 5 time 100 nodes 1 pv a1b2; "
        "print info depth 9 score cp 5 time 30100 nodes 9 pv a1a2; waitfor stop; "
        "print bestmove a1a2\n";
    writeFile(dir / "one.epd", "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"lost\";\n");
    run = runTarnwick(concat(
        {"--early-stop", "20", "/u", "/i", (dir / "one.epd").string(), "/t", "0.2", "/a", "0"},
        scriptedEngine(dir, lost, "lost")));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Number with full score:                0\n"), std::string::npos)
        << run.output;
}

// Shards test disjoint parts of the suite; their result files put together report as the
// whole suite did.
TEST(Throughput, ShardsMergeIntoTheWholeSuite) {
    TempDirectory dir("shards");
    writeFile(dir / "suite.epd", wacPositions(7));
    const auto runWith = [&](std::vector<std::string> options, const std::string& results) {
        return runTarnwick(concat(
            concat(std::move(options), {"--depth", "3", "/u", "/i", (dir / "suite.epd").string(),
                                        "/o", (dir / results).string(), "/a", "0"}),
            bundledEngine()));
    };
    const RunResult whole = runWith({}, "whole.epd");
    EXPECT_EQ(whole.exitStatus, 0) << whole.output;
    std::string merged;
    size_t shardRecords = 0;
    for (const char* shard : {"0/2", "1/2"}) {
        const std::string name = std::string("shard") + shard[0] + ".epd";
        const RunResult part = runWith({"--shard", shard}, name);
        EXPECT_EQ(part.exitStatus, 0) << part.output;
        shardRecords += readLines(dir / name).size();
        merged += readFile(dir / name);
    }
    EXPECT_EQ(readLines(dir / "shard0.epd").size(), 4u);
    EXPECT_EQ(shardRecords, 7u);
    writeFile(dir / "merged.epd", merged);
    // Given the suite, the report lists the positions in its order, as the whole run did.
    const RunResult report =
        runTarnwick({"/i", (dir / "suite.epd").string(), "/o", (dir / "merged.epd").string()});
    EXPECT_EQ(report.exitStatus, 0) << report.output;
    EXPECT_EQ(reportWithoutTimes(report.output), reportWithoutTimes(whole.output));
}

}  // namespace
}  // namespace tarnwick::e2e

#endif
