// End-to-end runs of the tarnwick binary against WinBoard engines: the scripted test engine,
// and real engines when they are installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/harness.hpp"
#include "support/test_paths.hpp"

namespace tarnwick::e2e {
namespace {

#ifdef HAVE_TEST_ENGINE

constexpr const char* kWhiteToMove = "4k3/8/8/8/8/8/4P3/4K2R w K -";
// The pawn on d4 can take en passant, so the engine is told of e3.
constexpr const char* kBlackToMove = "4k3/8/8/8/3pP3/8/8/4K3 b - e3";

// What a run against the scripted engine left behind.
struct EngineRun {
    RunResult result;
    std::vector<std::string> received;  // every line the engine read
    std::vector<std::string> records;   // the result file's lines
};

// Runs tarnwick on the suite with the scripted engine, one second per position, no pause.
EngineRun runScripted(const std::string& name, const std::string& suite, const std::string& script,
                      const std::vector<std::string>& options = {}) {
    const TempDirectory dir("wb_" + name);
    writeFile(dir / "suite.epd", suite);
    writeFile(dir / "engine.script", script);
    std::vector<std::string> words = {
        "/i", (dir / "suite.epd").string(), "/o", (dir / "result.epd").string(), "/t", "1", "/a",
        "0"};
    words.insert(words.end(), options.begin(), options.end());
    words.insert(words.end(), {TEST_ENGINE_BINARY, "--script", (dir / "engine.script").string(),
                               "--log", (dir / "engine.log").string()});
    EngineRun run;
    run.result = runTarnwick(words);
    run.received = readLines(dir / "engine.log");
    run.records = readLines(dir / "result.epd");
    return run;
}

// The value of an EPD operation in a record line, or "" when it is absent.
std::string operation(const std::string& record, const std::string& opcode) {
    const size_t at = record.find(" " + opcode + " ");
    if (at == std::string::npos) return "";
    const size_t start = at + opcode.size() + 2;
    return record.substr(start, record.find(';', start) - start);
}

long countOf(const std::vector<std::string>& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
}

// The lines the engine receives before a search of a position set up by setupLines.
std::vector<std::string> positionLines(const std::vector<std::string>& setupLines) {
    std::vector<std::string> lines = {"new", "force"};
    lines.insert(lines.end(), setupLines.begin(), setupLines.end());
    lines.insert(lines.end(), {"", "time 8640000", "otim 8640000", "go"});
    return lines;
}

TEST(WinboardRun, EngineReceivesExactLinesForEachSetupMethod) {
    const std::string suite =
        std::string(kWhiteToMove) + " bm e4; id \"w\";\n" + kBlackToMove + " bm Kd7; id \"b\";\n";
    const std::string script = "on go#1: print move e2e4\non go#2: print move e8d7\n";
    const std::vector<std::string> defaultSetup = {"xboard", "hard",           "easy",
                                                   "new",    "level 1 1440 0", "post"};
    const std::vector<std::string> whitePieces = {"#", "Ke1", "Rh1", "Pe2", "c", "Ke8", "c"};
    const std::vector<std::string> blackPieces = {"#", "Ke1", "Pe4", "c", "Pd4", "Ke8", "c"};
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        std::string method;
        std::vector<std::string> white;
        std::vector<std::string> black;
    };
    const std::vector<Case> cases = {
        {"setboard",
         {"setboard 4k3/8/8/8/8/8/4P3/4K2R w K - 0 1"},
         {"setboard 4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1"}},
        {"edit", join(join({"new", "edit"}, whitePieces), {"c", "."}),
         join(join({"new", "force", "a2a3", "edit"}, blackPieces), {"."})},
        {"cbedit",
         join(join({"new", "edit"}, whitePieces), {"+w00", "-w000", "-b00", "-b000", "c", "."}),
         join(join({"new", "force", "a2a3", "edit"}, blackPieces),
              {"-w00", "-w000", "-b00", "-b000", "ep e3", "."})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        const EngineRun run = runScripted(c.method, suite, script, {"/e", c.method});
        std::vector<std::string> expected = join(defaultSetup, positionLines(c.white));
        expected = join(expected, positionLines(c.black));
        expected.push_back("quit");
        EXPECT_EQ(run.received, expected);
        EXPECT_EQ(run.result.exitStatus, 0) << run.result.output;
        ASSERT_EQ(run.records.size(), 2u);
        EXPECT_EQ(operation(run.records[0], "pm"), "e4");
        EXPECT_EQ(operation(run.records[1], "pm"), "Kd7");
    }
}

TEST(WinboardRun, ThinkingLineMoveNumbersAreDroppedFromStoredVariation) {
    const std::string suite =
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; id \"start\";\n"
        "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 bm e5; id \"e4\";\n";
    const std::string script =
        "on go#1: print 3 25 100 5000 1. e4 e5 2. Nf3; print move e2e4\n"
        "on go#2: print 4 -10 200 9000 1. ... e5 2. Nf3 Nc6; print move e7e5\n";
    const EngineRun run = runScripted("pv", suite, script);
    ASSERT_EQ(run.records.size(), 2u) << run.result.output;
    EXPECT_EQ(operation(run.records[0], "pv"), "e4 e5 Nf3");
    EXPECT_EQ(operation(run.records[0], "acd"), "3");
    EXPECT_EQ(operation(run.records[0], "acs"), "100");
    EXPECT_EQ(operation(run.records[1], "pv"), "e5 Nf3 Nc6");
    EXPECT_EQ(operation(run.records[1], "ce"), "-10");
}

TEST(WinboardRun, MovesResultsAndResignationEndTheSearch) {
    std::string suite;
    const char* ids[] = {"a", "b", "c", "d", "e", "f"};
    const char* placements[] = {"4k3/8/8/8/8/8/4P3/4K3", "4k3/8/8/8/8/8/3P4/4K3",
                                "4k3/8/8/8/8/8/2P5/4K3", "4k3/8/8/8/8/8/1P6/4K3",
                                "4k3/8/8/8/8/8/P7/4K3",  "4k3/8/8/8/8/8/5P2/4K3"};
    for (int i = 0; i < 6; ++i) {
        suite += std::string(placements[i]) + " w - - id \"" + ids[i] + "\";\n";
    }
    const std::string script =
        "on go#1: print move e2e4\non go#2: print 12. ... d2d3\non go#3: print 1-0 {White mates}\n"
        "on go#4: print 0-1\non go#5: print 1/2-1/2 {Draw by repetition}\non go#6: print resign\n";
    const EngineRun run = runScripted("final", suite, script);
    const std::string& out = run.result.output;
    EXPECT_NE(out.find("\ne2e4\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\nd2d3\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Move error: draw\n"), std::string::npos) << out;
    size_t resigns = 0;
    for (size_t at = out.find("Move error: resign\n"); at != std::string::npos;
         at = out.find("Move error: resign\n", at + 1)) {
        ++resigns;
    }
    EXPECT_EQ(resigns, 3u) << out;
    // Every search ended on its own move, so no "?" was needed.
    EXPECT_EQ(countOf(run.received, "?"), 0);
    ASSERT_EQ(run.records.size(), 6u);
    EXPECT_EQ(operation(run.records[0], "pm"), "e4");
    EXPECT_EQ(operation(run.records[1], "pm"), "d3");
}

TEST(WinboardRun, MoveNowIsRepeatedOncePerPeriodUntilTheEngineMoves) {
    const std::string suite = std::string(kWhiteToMove) + " bm e4;\n";
    const std::string script = "on go: waitfor ?; waitfor ?; print move e2e4\n";
    const EngineRun run = runScripted("movenow", suite, script);
    EXPECT_EQ(countOf(run.received, "?"), 2) << run.result.output;
    ASSERT_EQ(run.records.size(), 1u);
    EXPECT_EQ(operation(run.records[0], "pm"), "e4");
}

TEST(WinboardRun, EngineThatNeverMovesIsStartedAgainWhenItExits) {
    const std::string suite = std::string(kWhiteToMove) + " bm e4;\n" + kBlackToMove + " bm Kd7;\n";
    const EngineRun run = runScripted("nomove", suite, "on ?#3: exit 0\n");
    // Both engine processes write to the one log.
    EXPECT_EQ(countOf(run.received, "?"), 6);
    EXPECT_EQ(countOf(run.received, "go"), 2);
    EXPECT_NE(run.result.output.find("Engine exited while testing position 2; restarting it.\n"),
              std::string::npos)
        << run.result.output;
    EXPECT_TRUE(run.result.output.ends_with("Engine restarts: 2 (position 1, position 2)\n"));
    EXPECT_EQ(run.result.exitStatus, 1);
    ASSERT_EQ(run.records.size(), 2u);
    EXPECT_EQ(operation(run.records[1], "pm"), "");
}

// A move printed after the next search has begun cannot be told from that search's answer, so
// the late move comes at the end of the run's last search, where it is unambiguous.
TEST(WinboardRun, LateSecondMoveIsIgnored) {
    const std::string suite = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - id \"1\";\n" +
                              std::string(kWhiteToMove) + " bm e4; id \"2\";\n";
    const std::string script =
        "on go#1: print move e2e4\n"
        "on go#2: waitfor ?; printraw move e2e4\\nmove h1h8\\n\n";
    const EngineRun run = runScripted("late", suite, script);
    EXPECT_EQ(run.result.exitStatus, 0) << run.result.output;
    ASSERT_EQ(run.records.size(), 2u) << run.result.output;
    EXPECT_EQ(operation(run.records[0], "pm"), "e4");
    EXPECT_EQ(operation(run.records[1], "pm"), "e4");
    EXPECT_EQ(run.result.output.find("h1h8"), std::string::npos) << run.result.output;
    EXPECT_NE(run.result.output.find("Number of tests:                       2\n"),
              std::string::npos);
    EXPECT_EQ(countOf(run.received, "?"), 1);
}

// A command the engine rejects (here the depth, taken for a move) is told once per run in the
// engine's words, however many engines and positions meet it; one engine is one engine.
TEST(WinboardRun, RejectedCommandsAreToldOnce) {
    const std::string first = std::string(kWhiteToMove) + " bm e4;\n";
    const std::string script = "on sd: print Invalid move: sd 5\non go: print move e2e4\n";
    EngineRun run = runScripted("rejected", first + first + first, script,
                                {"--depth", "5", "--concurrency", "2"});
    EXPECT_EQ(countOf(linesOf(run.result.output), "Engine rejected a command: Invalid move: sd 5"),
              1)
        << run.result.output;
    EXPECT_NE(run.result.output.find(" s with 2 engines\n"), std::string::npos);
    run = runScripted("rejected1", first, script, {"--depth", "5", "--concurrency", "2"});
    EXPECT_NE(run.result.output.find(" s with 1 engine\n"), std::string::npos) << run.result.output;
}

#endif  // HAVE_TEST_ENGINE

// Runs a real engine on the first positions of WAC (five unless told) and checks that each is
// recorded; skipped when it is not installed. With everyMove, each must hold a final move: GNU
// Chess now and then loses a command under load (it then never moves, so the run restarts it,
// or plays from the wrong position), so such a run is tried again with a fresh engine, up to
// three times.
void expectFiveRecords(const std::string& name, const std::string& engine,
                       const std::vector<std::string>& options, bool everyMove = true,
                       size_t positions = 5) {
    const std::string program = engine.substr(0, engine.find(' '));
    const std::string missing = whyProgramCannotRun(program);
    if (!missing.empty()) GTEST_SKIP() << missing;
    const std::vector<std::string> wac = readLines(std::string(TEST_DATA_DIR) + "/wac.epd");
    ASSERT_GE(wac.size(), 5u);
    RunOptions runOptions;
    runOptions.deadline = std::chrono::seconds(120);
    RunResult result;
    std::vector<std::string> records;
    auto stalled = [&] {
        return records.size() != positions ||
               (everyMove && (result.output.find("Move error") != std::string::npos ||
                              result.output.find("; restarting it.") != std::string::npos));
    };
    for (int attempt = 1; attempt <= 3 && (attempt == 1 || stalled()); ++attempt) {
        const TempDirectory dir("wb_real_" + name);
        std::string suite;
        for (size_t i = 0; i < positions; ++i) suite += wac[i] + "\n";
        writeFile(dir / "suite.epd", suite);
        std::vector<std::string> words = {"/i", (dir / "suite.epd").string(),
                                          "/o", (dir / "result.epd").string(),
                                          "/t", "1",
                                          "/a", "1"};
        words.insert(words.end(), options.begin(), options.end());
        words.push_back(engine);
        result = runTarnwick(words, runOptions);
        records = readLines(dir / "result.epd");
    }
    ASSERT_EQ(records.size(), positions) << result.output;
    EXPECT_NE(result.output.find(
                  "Number of tests:                       " + std::to_string(positions) + "\n"),
              std::string::npos);
    if (!everyMove) return;
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    for (const std::string& record : records) EXPECT_NE(operation(record, "pm"), "") << record;
    EXPECT_EQ(result.output.find("Move error"), std::string::npos) << result.output;
}

TEST(WinboardRealEngine, GnuChessWithSetboard) {
    expectFiveRecords("gnuchess", "/usr/games/gnuchess -x", {});
}

// Fairy-Max ignores "?" here and takes the 24-hour clock at its word, so a depth limit in
// the set-up command makes it move.
TEST(WinboardRealEngine, FairyMaxWithEdit) {
    expectFiveRecords(
        "fairymax", "/usr/games/fairymax",
        {"/e", "edit", "/s", "xboard\\nhard\\neasy\\nnew\\nlevel 1 1440 0\\nsd 6\\npost"});
}

// Phalanx and Sjeng search as soon as "setboard" gives them the side they play, and "go" then
// adds a move for the other side; the suite's second and fifth positions have Black to move.
TEST(WinboardRealEngine, PhalanxAndSjengAfterBlackToMove) {
    expectFiveRecords("phalanx", "/usr/games/phalanx", {});
    expectFiveRecords("sjeng", "/usr/games/sjeng", {});
}

// With the default set-up Fairy-Max and HoiChess do not always answer "?": the move timeout
// gives up on such a position and restarts the engine, so the run still ends. Fairy-Max reads
// no "quit" while it searches, so each of its positions also waits out the quit grace: two
// positions (one for each side) show it.
TEST(WinboardRealEngine, EnginesThatIgnoreMoveNowStillFinish) {
    expectFiveRecords("fairymax_default", "/usr/games/fairymax", {"--move-timeout", "1"}, false, 2);
    expectFiveRecords("hoichess", "/usr/games/hoichess", {"--move-timeout", "1"}, false);
}

}  // namespace
}  // namespace tarnwick::e2e
