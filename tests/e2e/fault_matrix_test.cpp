#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/harness.hpp"
#include "platform/process.hpp"

namespace tarnwick::e2e {
namespace {

namespace fs = std::filesystem;

// Every line of a flood is shown on the console, which Wine writes some hundred times slower;
// a smaller flood there still overfills every pipe buffer many times over.
#ifdef _WIN32
const std::string kFloodLines = "20000";
#else
const std::string kFloodLines = "1000000";
#endif

struct Fault {
    const char* name;
    std::string onGo;        // the engine's answer to "go" (all searches)
    std::string extraRules;  // more rules, e.g. for one search or for "quit"
    int exitStatus;
    size_t records;            // records the result file must hold afterwards
    std::string expectedText;  // must appear in the console output
};

// Runs a two-position suite against a misbehaving engine and checks that the run ends as it
// should, the result file holds only whole records, and no engine process is left.
void runFault(const Fault& fault) {
    SCOPED_TRACE(fault.name);
    TempDirectory dir(std::string("fault_") + fault.name);
    writeFile(dir / "suite.epd",
              "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"a\";\n"
              "4k3/8/8/8/8/8/8/K6R w - - bm Kb2; id \"b\";\n");
    const std::string script = uciScript(fault.onGo) + fault.extraRules;
    // A flood takes its time on a loaded machine: no move timeout cuts it short.
    const RunResult run =
        runTarnwick(concat({"--move-timeout", "0", "/u", "/i", (dir / "suite.epd").string(), "/o",
                            (dir / "result.epd").string(), "/t", "1", "/a", "0"},
                           scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, fault.exitStatus) << run.output.substr(0, 2000);
    EXPECT_NE(run.output.find(fault.expectedText), std::string::npos) << run.output.substr(0, 2000);
    const std::string results = readFile(dir / "result.epd");
    EXPECT_TRUE(results.empty() || results.back() == '\n');
    EXPECT_EQ(readLines(dir / "result.epd").size(), fault.records);
    for (const std::string& line : readLines(dir / "result.epd")) {
        EXPECT_TRUE(line.starts_with("4k3/8/8/8/8/8/8/") && line.ends_with(";")) << line;
    }
    EXPECT_FALSE(engineLeftRunning(run, dir / "engine.script")) << "engine left running";
}

TEST(FaultMatrix, EnginesThatDieOrHang) {
    const std::string move = "print info depth 1 time 10 pv a1b2; print bestmove a1b2";
    const Fault faults[] = {
        {"dies_before_uciok", move, "on uci#1: exit 3\n", 1, 0, "Engine did not answer uci.\n"},
        {"dies_before_readyok", move, "on isready#1: exit 4\n", 1, 0,
         "Engine did not answer isready.\n"},
        {"dies_mid_search", move, "on go#2: print info depth 1 time 10 pv b1b2; crash\n", 1, 2,
         "Engine exited while testing b; restarting it.\n"},
        // Whether the exit is seen before the next position is sent is a race the tester cannot
        // win every time (Windows reports the end of the output late): it says which it saw.
        {"dies_after_final_move", move + "; exit 0", "", 1, 2, "; restarting it.\n"},
        {"dies_during_quit", move, "on quit: crash\n", 0, 2,
         "Number of tests:                       2\n"},
        {"ignores_quit", move, "on quit: ignore\non eof: ignore\n", 0, 2,
         "Number of tests:                       2\n"},
        {"closes_output", "close-stdout", "on quit: ignore\non eof: ignore\n", 1, 2,
         "Engine restarts: 2 (a, b)\n"},
        {"no_final_newline", "printraw bestmove a1b2; exit 0", "", 1, 2,
         "Engine exited while testing b; restarting it.\n"},
    };
    for (const Fault& fault : faults) runFault(fault);
}

TEST(FaultMatrix, OutputThatIsNoText) {
    std::string garbage = "printraw ";
    for (int c = 1; c < 256; ++c) {
        if (c != '\n' && c != ';' && c != '\\') garbage += static_cast<char>(c);
    }
    garbage += "\\n";
    const Fault faults[] = {
        {"binary", garbage + "; " + garbage + "; print bestmove a1b2", "", 0, 2,
         "Number of tests:                       2\n"},
        {"nul_bytes", "printraw info depth 1 pv a1b2\\0 junk\\n; print bestmove a1b2", "", 0, 2,
         "1 0 1 1 a1b2\n"},
        {"crlf_and_cr", "printraw info depth 2 pv\\r a1b2\\r\\n; print bestmove a1b2\\r", "", 0, 2,
         "2 0 1 1 a1b2\n"},
        {"ten_megabyte_line",
         "printraw info depth 3 pv " + std::string(10 << 20, 'x') + " a1b2\\n; print bestmove a1b2",
         "", 0, 2, "Number of tests:                       2\n"},
        {"flood", "flood " + kFloodLines + " info depth 1 time 1 pv a1b2; print bestmove a1b2", "",
         0, 2, "Number of tests:                       2\n"},
    };
    for (const Fault& fault : faults) runFault(fault);
}

// Ctrl+C while the engine never answers "isready" ends the run at once, quits the engine and
// leaves nothing behind; the next run then tests the whole suite.
TEST(FaultMatrix, InterruptDuringTheHandshakeAndTheRunAfter) {
    TempDirectory dir("fault_interrupt");
    writeFile(dir / "suite.epd", "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"a\";\n");
    const std::string words[] = {
        "/u", "/i", (dir / "suite.epd").string(), "/o", (dir / "result.epd").string(), "/t", "1",
        "/a", "0"};
    const std::string hangs = "on uci: print uciok\non isready: ignore\n";
    // While the engine waits, the check for a leftover engine must see it (once the system
    // lists it: Wine does only when it has started up).
    RunOptions options = interruptAfter("Initiate the engine\n");
    bool engineSeen = false;
    options.onOutput = [&, interrupt = options.onOutput](ProcessId child, const std::string& out) {
        if (out.find("Initiate the engine\n") == std::string::npos) return false;
        const auto deadline = std::chrono::steady_clock::now() + testing::kGenerousDeadline;
        while (!engineSeen && std::chrono::steady_clock::now() < deadline) {
            RunResult running;
            running.processNumber = child.number();
            running.ended = std::chrono::system_clock::now();
            engineSeen = engineLeftRunning(running, dir / "engine.script");
            if (!engineSeen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return interrupt(child, out);
    };
    RunResult run = runTarnwick(
        concat({std::begin(words), std::end(words)}, scriptedEngine(dir, hangs)), options);
    EXPECT_TRUE(engineSeen);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output.find("did not answer"), std::string::npos) << run.output;
    EXPECT_EQ(readFile(dir / "result.epd"), "");
    EXPECT_FALSE(engineLeftRunning(run, dir / "engine.script")) << "engine left running";

    run = runTarnwick(concat({std::begin(words), std::end(words)},
                             scriptedEngine(dir, uciScript("print bestmove a1b2"))));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(readLines(dir / "result.epd").size(), 1u);
}

// Ctrl+C while the run waits for an engine that ignores "quit" still leaves the report.
TEST(FaultMatrix, InterruptWhileTheRunIsEnding) {
    TempDirectory dir("fault_interrupt_ending");
    writeFile(dir / "suite.epd", "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"a\";\n");
    const std::string script = uciScript("print bestmove a1b2") + "on quit: ignore\n";
    const RunResult run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/g",
                                              (dir / "good.epd").string(), "/t", "1", "/a", "0"},
                                             scriptedEngine(dir, script)),
                                      interruptAfter("\na1b2\n", std::chrono::milliseconds(500)));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Number of tests:                       1\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(readLines(dir / "good.epd").size(), 1u);
    EXPECT_FALSE(engineLeftRunning(run, dir / "engine.script")) << "engine left running";
}

// An engine that never reads its input: a long set-up command fills the pipe and the run
// waits to write the rest. An interrupt (Ctrl+C; SIGTERM alone where there are signals) still
// ends the run with its report, and the engine with it. Windows command lines are shorter, but
// its pipes are smaller too.
TEST(FaultMatrix, InterruptWhileTheEnginesInputIsFull) {
#ifdef _WIN32
    const std::string setup(20000, 'x');
#else
    const std::string setup(100000, 'x');
#endif
    struct Case {
        const char* name;
        const char* protocol;  // "/u" for UCI, "" for xboard
        std::string script;
        bool terminate;  // SIGTERM rather than Ctrl+C
        bool reports;    // an interrupt in the UCI handshake ends it without a report
    };
    std::vector<Case> cases = {
        {"xboard", "", "on start: deaf\n", false, true},
        {"uci", "/u", "on uci: print uciok; deaf\n", false, false},
    };
#ifndef _WIN32
    cases.push_back({"sigterm", "", "on start: deaf\n", true, true});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDirectory dir("fault_full_input");
        writeFile(dir / "suite.epd", "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"a\";\n");
        std::vector<std::string> words = {
            "/i", (dir / "suite.epd").string(), "/t", "1", "/a", "0", "/s", setup};
        if (*c.protocol != '\0') words.insert(words.begin(), c.protocol);
        // The pause lets the run reach its blocked write; an earlier interrupt must end it too.
        RunOptions options =
            interruptAfter("Initiate the engine\n", std::chrono::milliseconds(200));
        if (c.terminate) {
            options.onOutput = [](ProcessId child, const std::string& output) {
                if (output.find("Initiate the engine\n") == std::string::npos) return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                signalProcessGroup(child, ProcessSignal::terminate);
                return true;
            };
        }
        const RunResult run = runTarnwick(concat(words, scriptedEngine(dir, c.script)), options);
        EXPECT_EQ(run.exitStatus, 0) << run.output;
        if (c.reports) {
            EXPECT_NE(run.output.find("Number of tests:                       0\n"),
                      std::string::npos)
                << run.output;
        }
        EXPECT_EQ(run.output.find("did not answer"), std::string::npos) << run.output;
        EXPECT_FALSE(engineLeftRunning(run, dir / "engine.script")) << "engine left running";
    }
}

// A tester killed outright (SIGKILL, the out-of-memory killer) cannot stop its engine; the
// engine must not search on without it.
TEST(FaultMatrix, EngineEndsWithAKilledTester) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows ends the engine by the tester's kill-on-close job, and the tests "
                    "can end a tester only through a job that holds its engine too";
#else
    TempDirectory dir("fault_killed_tester");
    writeFile(dir / "suite.epd", "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"a\";\n");
    RunOptions options;
    options.onOutput = [](ProcessId child, const std::string& output) {
        if (output.find("1/1 Id: a\n") == std::string::npos) return false;
        signalProcessGroup(child, ProcessSignal::kill);
        return true;
    };
    const std::string script = uciScript("waitfor stop; print bestmove a1b2") +
                               "on stop: ignore\non quit: ignore\non eof: ignore\n";
    const RunResult run =
        runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/t", "60", "/a", "0"},
                           scriptedEngine(dir, script)),
                    options);
    EXPECT_EQ(run.exitStatus, 128 + SIGKILL);
    bool engineLeft = true;
    for (int i = 0; i < 100 && engineLeft; ++i) {
        engineLeft = engineLeftRunning(run, dir / "engine.script");
        if (engineLeft) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_FALSE(engineLeft) << "the engine outlived the tester";
#endif
}

}  // namespace
}  // namespace tarnwick::e2e
