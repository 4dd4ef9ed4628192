#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "e2e/harness.hpp"
#include "support/test_paths.hpp"

namespace tarnwick::e2e {
namespace {

constexpr const char* kOpening = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";

std::string position(const std::string& ops) {
    return std::string(kOpening) + " " + ops;
}

TEST(UciRun, ConsoleResultFileAndCommandsOfAWholeRun) {
    TempDirectory dir("uci_whole");
    writeFile(dir / "suite.epd",
              "; three positions, the first already tested\n" + position("bm Qh5; id \"done\";\n") +
                  "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - bm Nc6 Nf6; am "
                  "d5 Xx; c1 \"-2 0 10 5\"; id \"T2\"; pv e4;\n" +
                  position("am Qh5; id \"T3\";\n"));
    const std::string earlier = position("acs 30; bm Qh5; id \"done\"; pm Qh5;") + "\n";
    writeFile(dir / "result.epd", earlier);
    const std::string script =
        "on uci: print id name scripted; print uciok\n"
        "on isready: print readyok\n"
        "on go#1: print info depth 1 score cp 5 time 120 nodes 10 pv b8c6 g1f3; "
        "print info string thinking; "
        "print info depth 2 score cp -3 time 250 nodes 20 pv d7d5 e4d5; "
        "print info depth 3 score cp 7 time 400 nodes 30 pv b8c6; "
        "waitfor stop; print bestmove b8c6 ponder f1b5\n"
        "on go#2: print info depth 1 score cp 10 time 50 nodes 3 pv d1h5; waitfor stop; "
        "print bestmove d1h5\n";
    const RunResult run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o",
                                              (dir / "result.epd").string(), "/t", "1", "/a", "0"},
                                             scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    const std::string engine = std::string(TEST_ENGINE_BINARY) + " --script " +
                               (dir / "engine.script").string() + " --log " +
                               (dir / "engine.log").string();
    EXPECT_EQ(run.output, "Starting engine: " + engine +
                              "\n"
                              "Initiate the engine\n"
                              "\n2/3 Id: T2\n"
                              "moves: Nc6(10) Nf6(5) d5(-2) Xx(*) \n"
                              "Moves that cannot be read: Xx\n"
                              "1 5 12 10 b8c6 g1f3\n"
                              "2 -3 25 20 d7d5 e4d5\n"
                              "3 7 40 30 b8c6\n"
                              "b8c6\n"
                              "\n3/3 Id: T3\n"
                              "moves: Qh5(-1) \n"
                              "1 10 5 3 d1h5\n"
                              "d1h5\n"
                              "Number of tests:                       3\n"
                              "Max score:                             11\n"
                              "Engines score:                         10\n"
                              "Number with full score:                2\n"
                              "Found in: 1 sec = 2, \n"
                              "Time used for tests (wrong answer=1s): 1s\n"
                              "\n"
                              "Positions with error (id):\n"
                              "T3\n"
                              "\n"
                              "Positions whose moves could not be read (id):\n"
                              "T2\n");
    // The unreadable avoid move stays as written, with its points; the suite's own pv is not
    // taken for the engine's first move, so the found time is that of the first line.
    EXPECT_EQ(
        readFile(dir / "result.epd"),
        earlier +
            "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - acd 3; acn 30; "
            "acs 40; am d5 Xx; bm Nc6 Nf6; c1 \"-2 0 10 5\"; ce 7; id \"T2\"; pm Nc6; pv Nc6;\n" +
            position("acd 1; acn 3; acs -1; am Qh5; ce 10; id \"T3\"; pm Qh5; pv Qh5;") + "\n");
    EXPECT_EQ(
        readFile(dir / "engine.log"),
        "uci\nisready\n"
        "ucinewgame\nposition fen rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 0 1\n"
        "go wtime 7200000 btime 7200000 movestogo 1\nstop\n"
        "ucinewgame\nposition fen " +
            std::string(kOpening) +
            " 0 1\n"
            "go wtime 7200000 btime 7200000 movestogo 1\nstop\n"
            "quit\n");
}

TEST(UciRun, StopIsRepeatedOncePerPeriodAndLateMovesAreIgnored) {
    TempDirectory dir("uci_stop");
    writeFile(dir / "suite.epd", position("bm Nf3; id \"a\";\n"));
    // The search answers only the third "stop", and then moves a second time: no search is in
    // progress any more, so that move is neither stored nor shown.
    const std::string script = uciScript(
        "waitfor stop; waitfor stop; waitfor stop; print bestmove g1f3; print bestmove e2e4");
    const RunResult run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o",
                                              (dir / "result.epd").string(), "/t", "1", "/a", "0"},
                                             scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    const auto records = readLines(dir / "result.epd");
    ASSERT_EQ(records.size(), 1u) << run.output;
    EXPECT_NE(records[0].find("pm Nf3;"), std::string::npos);
    EXPECT_EQ(run.output.find("e2e4"), std::string::npos);
    EXPECT_NE(run.output.find("Number of tests:                       1\n"), std::string::npos);
    EXPECT_NE(readFile(dir / "engine.log")
                  .find("go wtime 7200000 btime 7200000 movestogo 1\nstop\nstop\nstop\nquit\n"),
              std::string::npos)
        << readFile(dir / "engine.log");
}

TEST(UciRun, EngineThatCrashesOnItsSeventhSearchIsStartedAgain) {
    TempDirectory dir("uci_crash");
    writeFile(dir / "suite.epd", numberedSuite(20));
    const std::vector<std::string> files = {
        "/u", "/i", (dir / "suite.epd").string(), "/o", (dir / "result.epd").string(), "/t", "1",
        "/a", "0"};
    const std::string script = uciScript(
        "print info depth 1 time 10 pv a1b2; print bestmove a1b2\n"
        "on go#7: crash");
    RunResult run = runTarnwick(concat(files, scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 1);
    // Every engine process crashes on its seventh search.
    EXPECT_NE(run.output.find("\n7/20 Id: p7\nmoves: Kb2(1) Kd2(*) \n"
                              "Moves that cannot be read: Kd2\n"
                              "Engine exited while testing p7; restarting it.\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Number of tests:                       20\n"), std::string::npos)
        << run.output;
    EXPECT_TRUE(run.output.ends_with("Engine restarts: 2 (p7, p14)\n")) << run.output;
    EXPECT_EQ(readLines(dir / "result.epd").size(), 20u);
}

TEST(UciRun, EnginesThatDoNotAnswerTheHandshake) {
    TempDirectory dir("uci_handshake");
    writeFile(dir / "suite.epd", numberedSuite(2));
    const std::vector<std::string> files = {"/u", "/i", (dir / "suite.epd").string(), "/o",
                                            (dir / "result.epd").string()};
    RunResult run = runTarnwick(concat(files, scriptedEngine(dir, "on uci: exit 3\n")));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("Initiate the engine\nEngine did not answer uci.\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Number of tests"), std::string::npos);

    run = runTarnwick(
        concat(files, scriptedEngine(dir, "on uci: print uciok\non isready: ignore\n")));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("Engine did not answer isready.\n"), std::string::npos) << run.output;
    EXPECT_EQ(readFile(dir / "result.epd"), "");
}

TEST(UciRun, DefinitionFileOptionsAndSetupCommand) {
    TempDirectory dir("uci_eng");
    writeFile(dir / "suite.epd", numberedSuite(1));
    const auto engine = scriptedEngine(dir, uciScript("print bestmove a1b2"));
    std::string command;
    for (const std::string& word : engine) command += (command.empty() ? "" : " ") + word;
    writeFile(dir / "my.ENG", "[ENGINE]\nfilename = " + command +
                                  "\n[OPTIONS]\n; comment\nHash = 64\nClear Hash=\n");
    const RunResult run =
        runTarnwick({"/i", (dir / "suite.epd").string(), "/s", "setoption name Ponder value false",
                     "/c", "ucinewgame\\nisready", "/a", "0", (dir / "my.ENG").string()});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Starting engine: " + command + "\n"), std::string::npos);
    EXPECT_EQ(readFile(dir / "engine.log"),
              "uci\nsetoption name Hash value 64\nsetoption name Clear Hash\n"
              "setoption name Ponder value false\nisready\nucinewgame\nisready\n"
              "position fen 4k3/8/8/8/8/8/8/K7 w - - 0 1\n"
              "go wtime 7200000 btime 7200000 movestogo 1\nquit\n");
}

TEST(UciRun, InterruptMakesTheEngineQuitAndTheRunReport) {
    TempDirectory dir("uci_interrupt");
    writeFile(dir / "suite.epd", numberedSuite(5));
    const std::string script = uciScript(
        "print info depth 1 time 10 pv a1b2; waitfor stop; print bestmove a1b2\n"
        "on go#1: print bestmove a1b2");
    const RunResult run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o",
                                              (dir / "result.epd").string(), "/t", "30", "/a", "0"},
                                             scriptedEngine(dir, script)),
                                      interruptAfter("2/5 Id: p2\n"));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Number of tests:                       1\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("3/5"), std::string::npos);
    const std::string log = readFile(dir / "engine.log");
    EXPECT_TRUE(log.ends_with("quit\n")) << log;
    EXPECT_EQ(readLines(dir / "result.epd").size(), 1u);
}

TEST(UciRun, StartUpEndings) {
    TempDirectory dir("uci_startup");
    RunResult run = runTarnwick({});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.output.starts_with("Tarnwick 2.5\n"));
    run = runTarnwick({"/g", "good.epd", "/t", "5"});
    EXPECT_TRUE(run.output.starts_with("Tarnwick 2.5\n"));
    run = runTarnwick({"/i", "a.epd", "/t"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(run.output.starts_with("Missing value for option /t.\nTarnwick 2.5\n"));
    run = runTarnwick({"/t", "-5", "engine"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(run.output.starts_with("Invalid value for option /t: -5\n"));
    run = runTarnwick({"--version"});
    EXPECT_EQ(run.output, "Tarnwick 2.5\n");

    // A missing suite makes no result file.
    run = runTarnwick({"/i", (dir / "missing.epd").string(), "/o", (dir / "none.epd").string(),
                       "/u", "no-such-engine"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output, "No epd-position in files.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.epd"));

    // An engine that cannot be started: the next line says why.
    writeFile(dir / "suite.epd", numberedSuite(1));
    writeFile(dir / "not-executable", "#!/bin/sh\n");
    const std::pair<std::string, std::string> engines[] = {
        {(dir / "no-such-engine").string(), "No such file or directory"},
        {dir.path().string(), "Is a directory"},
        {(dir / "not-executable").string(), "Permission denied"},
        {"no-such-engine-anywhere", "not found in PATH"}};
    for (const auto& [engine, reason] : engines) {
        run = runTarnwick({"/i", (dir / "suite.epd").string(), "/u", engine});
        EXPECT_EQ(run.exitStatus, 1);
        const std::string start = "Starting engine: " + engine + "\nError starting engine.\n";
        ASSERT_TRUE(run.output.starts_with(start)) << run.output;
#ifndef _WIN32  // Windows words its reasons its own way
        EXPECT_EQ(run.output.substr(start.size()), engine + ": " + reason + "\n");
#endif
    }

    // Results without a suite: the report alone, and no engine is started.
    writeFile(dir / "result.epd", "4k3/8/8/8/8/8/8/K7 w - - acs 10; bm Kb2; id \"r\"; pm Kb2;\n");
    run = runTarnwick({"/o", (dir / "result.epd").string(), "/g", (dir / "good.epd").string(),
                       (dir / "no-such-engine").string()});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.output.starts_with("Number of tests:                       1\n")) << run.output;
    EXPECT_EQ(readFile(dir / "good.epd"), "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"r\";\n");
}

}  // namespace
}  // namespace tarnwick::e2e
