#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

struct Restarted {
    RunResult run;
    std::vector<std::string> records;  // the result file's lines
};

// Runs a suite of n positions with one-second positions against the scripted UCI engine.
Restarted runPositions(int n, const TempDirectory& dir, const std::string& script,
                       std::vector<std::string> moreOptions = {}, const RunOptions& options = {}) {
    writeFile(dir / "suite.epd", numberedSuite(n));
    moreOptions =
        concat(std::move(moreOptions), {"/u", "/i", (dir / "suite.epd").string(), "/o",
                                        (dir / "result.epd").string(), "/t", "1", "/a", "0"});
    Restarted result{runTarnwick(concat(moreOptions, scriptedEngine(dir, script)), options), {}};
    result.records = readLines(dir / "result.epd");
    return result;
}

// The ids of the records that hold a final move, in file order.
std::string idsWithMove(const std::vector<std::string>& records) {
    std::string ids;
    for (const std::string& record : records) {
        if (record.find(" pm ") == std::string::npos) continue;
        const size_t id = record.find("id \"");
        ids += record.substr(id + 4, record.find('"', id + 4) - id - 4) + " ";
    }
    return ids;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// An engine that never moves on its second search, one that hangs outright on it (reading
// nothing more, so it has to be killed), and one that crashes on it: each such position is
// recorded once without a move, the engine is started again for the next one, and the run
// ends with the restarts and status 1.
TEST(EngineRestarts, EnginesThatStopAnsweringOrCrash) {
    const std::string move = "print info depth 1 time 5 pv a1b2; print bestmove a1b2";
    struct Case {
        const char* name;
        std::string secondSearch;
        std::string message;
    };
    const Case cases[] = {
        {"ignores_stop", "print info depth 1 time 5 pv a1b2",
         "Engine did not move within 1 s after its time; restarting it.\n"},
        {"hangs", "sleep 600000",
         "Engine did not move within 1 s after its time; restarting it.\n"},
        {"crashes", "crash", "Engine exited while testing p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDirectory dir(std::string("restart_") + c.name);
        // Every engine process searches twice; the restarted one starts counting again.
        const std::string script = uciScript(move) + "on go#2: " + c.secondSearch + "\n";
        const Restarted r = runPositions(4, dir, script, {"--move-timeout", "1"});
        EXPECT_EQ(r.run.exitStatus, 1) << r.run.output;
        EXPECT_EQ(count(r.run.output, c.message), 2u) << r.run.output;
        EXPECT_TRUE(r.run.output.ends_with("Engine restarts: 2 (p2, p4)\n")) << r.run.output;
        EXPECT_NE(r.run.output.find("Number of tests:                       4\n"),
                  std::string::npos);
        ASSERT_EQ(r.records.size(), 4u);
        EXPECT_EQ(idsWithMove(r.records), "p1 p3 ");
        EXPECT_FALSE(engineLeftRunning(r.run, dir / "engine.script")) << "engine left running";

        // The positions given up on count as tested: a resumed run has nothing left to do.
        const Restarted again = runPositions(4, dir, uciScript(move));
        EXPECT_EQ(again.run.exitStatus, 0) << again.run.output;
        EXPECT_EQ(again.run.output.find("Starting engine"), std::string::npos);
        EXPECT_EQ(again.records.size(), 4u);
    }
}

// Without a move timeout the run waits for the move as long as it takes.
TEST(EngineRestarts, ZeroMoveTimeoutWaits) {
    TempDirectory dir("restart_zero_timeout");
    const std::string script = uciScript("waitfor stop; sleep 1500; print bestmove a1b2");
    const Restarted r = runPositions(2, dir, script, {"--move-timeout=0"});
    EXPECT_EQ(r.run.exitStatus, 0) << r.run.output;
    EXPECT_EQ(idsWithMove(r.records), "p1 p2 ");
    EXPECT_EQ(r.run.output.find("restarting"), std::string::npos) << r.run.output;
}

// An engine that works once and then crashes at every start: after three failures in a row
// the run ends as it always did when the engine was gone, with what it recorded.
TEST(EngineRestarts, EngineThatCrashesOnEveryStart) {
    TempDirectory dir("restart_every_start");
    RunOptions options;
    // Once the first engine is in the dialogue, every later start finds a script that crashes.
    options.onOutput = [&dir](ProcessId, const std::string& output) {
        if (output.find("1/4 Id: p1\n") == std::string::npos) return false;
        writeFile(dir / "engine.script", "on start: crash\n");
        return true;
    };
    const std::string script = uciScript("print bestmove a1b2") + "on go#2: crash\n";
    const Restarted r = runPositions(4, dir, script, {}, options);
    EXPECT_EQ(r.run.exitStatus, 1) << r.run.output;
    EXPECT_NE(r.run.output.find("Engine exited while testing p2; restarting it.\n"),
              std::string::npos)
        << r.run.output;
    EXPECT_EQ(count(r.run.output, "Engine did not answer uci.\n"), 2u) << r.run.output;
    EXPECT_NE(r.run.output.find("Engine exited during the run: 2 of 4 positions not tested.\n"),
              std::string::npos)
        << r.run.output;
    EXPECT_TRUE(r.run.output.ends_with("Engine restarts: 1 (p2)\n")) << r.run.output;
    EXPECT_EQ(r.records.size(), 2u);
    EXPECT_EQ(idsWithMove(r.records), "p1 ");
    EXPECT_FALSE(engineLeftRunning(r.run, dir / "engine.script")) << "engine left running";

    // The same command with a mended engine tests the two positions left and reports all four.
    writeFile(dir / "engine.script", uciScript("print bestmove a1b2"));
    const Restarted resumed = runPositions(4, dir, uciScript("print bestmove a1b2"));
    EXPECT_EQ(resumed.run.exitStatus, 0) << resumed.run.output;
    EXPECT_EQ(resumed.run.output.find("Id: p2\n"), std::string::npos);
    EXPECT_NE(resumed.run.output.find("\n3/4 Id: p3\n"), std::string::npos);
    EXPECT_NE(resumed.run.output.find("Number of tests:                       4\n"),
              std::string::npos);
    EXPECT_EQ(idsWithMove(resumed.records), "p1 p3 p4 ");
}

#ifndef _WIN32
// n distinct positions (up to some 3,600) with ids "k1" .. "kn": the two kings on every pair
// of squares that do not touch.
std::string kingsSuite(int n) {
    std::string text;
    int made = 0;
    for (int white = 0; white < 64 && made < n; ++white) {
        for (int black = 0; black < 64 && made < n; ++black) {
            if (std::abs(white / 8 - black / 8) <= 1 && std::abs(white % 8 - black % 8) <= 1) {
                continue;
            }
            std::string rows;
            for (int row = 7; row >= 0; --row) {
                int empty = 0;
                for (int file = 0; file < 8; ++file) {
                    const int square = row * 8 + file;
                    const char piece = square == white ? 'K' : square == black ? 'k' : 0;
                    if (piece == 0) {
                        ++empty;
                        continue;
                    }
                    if (empty > 0) rows += std::to_string(empty);
                    rows += piece;
                    empty = 0;
                }
                if (empty > 0) rows += std::to_string(empty);
                if (row > 0) rows += '/';
            }
            text += rows + " w - - id \"k" + std::to_string(++made) + "\";\n";
        }
    }
    return text;
}

struct Usage {
    size_t descriptors = 0;
    long residentKb = 0;
};

// The open descriptors and resident memory of a process, from /proc.
Usage usageOf(ProcessId process) {
    const std::filesystem::path proc = "/proc/" + std::to_string(process.number());
    Usage usage;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(proc / "fd")) {
        ++usage.descriptors;
    }
    for (const std::string& line : readLines(proc / "status")) {
        if (line.starts_with("VmRSS:")) usage.residentKb = std::stol(line.substr(6));
    }
    return usage;
}

// Three hundred positions against an engine that crashes on every tenth search: every position
// is recorded exactly once, and the tester holds no more descriptors or memory at the end than
// early on.
TEST(EngineRestarts, SoakWithAnEngineThatCrashesEveryTenthSearch) {
    TempDirectory dir("restart_soak");
    writeFile(dir / "suite.epd", kingsSuite(300));
    std::vector<Usage> usage;
    RunOptions options;
    options.onOutput = [&usage](ProcessId tester, const std::string& output) {
        const std::string next = usage.empty() ? "\n20/300 Id:" : "\n300/300 Id:";
        if (output.find(next) == std::string::npos) return false;
        // Held still while it is measured, between sending a position and its move.
        ::kill(static_cast<pid_t>(tester.number()), SIGSTOP);
        usage.push_back(usageOf(tester));
        ::kill(static_cast<pid_t>(tester.number()), SIGCONT);
        return usage.size() == 2;
    };
    const std::string script = uciScript("print bestmove 0000") + "on go#10: crash\n";
    const RunResult run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o",
                                              (dir / "result.epd").string(), "/t", "1", "/a", "0"},
                                             scriptedEngine(dir, script)),
                                      options);
    EXPECT_EQ(run.exitStatus, 1) << run.output.substr(run.output.size() - 2000);
    const std::vector<std::string> records = readLines(dir / "result.epd");
    std::set<std::string> ids;
    for (const std::string& record : records) {
        ids.insert(record.substr(record.find("id \"")));
    }
    EXPECT_EQ(records.size(), 300u);
    EXPECT_EQ(ids.size(), 300u);
    EXPECT_EQ(count(run.output, "; restarting it.\n"), 30u);
    EXPECT_NE(run.output.find("Engine restarts: 30 (k10, k20, k30,"), std::string::npos);
    ASSERT_EQ(usage.size(), 2u);
    RecordProperty("resident_kb_at_20", std::to_string(usage[0].residentKb));
    RecordProperty("resident_kb_at_300", std::to_string(usage[1].residentKb));
    EXPECT_EQ(usage[1].descriptors, usage[0].descriptors);
    EXPECT_LT(usage[1].residentKb, usage[0].residentKb + 8 * 1024)
        << usage[0].residentKb << " kB at position 20, " << usage[1].residentKb << " at 300";
    EXPECT_FALSE(engineLeftRunning(run, dir / "engine.script")) << "engine left running";
}
#endif

}  // namespace
}  // namespace tarnwick::e2e
