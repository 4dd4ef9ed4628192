#include "run/lane.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "support/scripted_link.hpp"
#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

using testing::ScriptedLink;

constexpr std::string_view kGo = "go wtime 7200000 btime 7200000 movestogo 1";

// A lane of a run of the suite's lines against a scripted UCI engine, on the test's thread.
class LaneTest : public ::testing::Test {
  protected:
    LaneTest() {
        settings.engine.command = "engine";
        settings.engine.protocol = ProtocolKind::uci;
        settings.engine.clearCommand = "ucinewgame";
        settings.initMilliseconds = 0;
        settings.limits.msPerPosition = 10000;
    }

    // Tests the suite's lines with the engine on the other end of link (the scripted one when
    // none is given).
    std::optional<PositionOutcome> run(const std::vector<std::string>& lines,
                                       std::unique_ptr<EngineLink> link = nullptr) {
        makeContext(lines);
        lane = std::make_unique<Lane>(*context, 0, link ? std::move(link) : std::move(ownedLink));
        return lane->run();
    }

    // The run's part of testing the suite's lines, every one of them to test.
    void makeContext(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) suite.emplace_back().parseEpd(line);
        std::vector<size_t> all(suite.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = i;
        context = std::make_unique<RunContext>(
            RunContext::Shared{settings, suite, records, json, log, screen, interrupted, interrupt},
            all, 1);
    }

    RunSettings settings;
    std::unique_ptr<ScriptedLink> ownedLink = std::make_unique<ScriptedLink>();
    ScriptedLink& script = *ownedLink;
    ScriptedLink* link = &script;
    std::vector<TestPosition> suite;
    SharedLineFile records;
    SharedLineFile json;
    DialogueLog log{std::chrono::steady_clock::now()};
    ConsoleOutput screen = ConsoleOutput::capture(true);
    std::atomic<bool> interrupted{false};
    Event interrupt{Event::Reset::manual};
    std::unique_ptr<RunContext> context;
    std::unique_ptr<Lane> lane;
};

// Start position after 1. e4 e5: Qh5, Nf3, Bc4 and d4 are all legal for White.
constexpr std::string_view kFen = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";

// The dialogue of two positions: the number of lines is asked for after the .eng options and
// before the set-up command; analysis lines are echoed, highlighted when the main line's first
// move earns the maximum (only the main line decides); the first final move is the record, a
// late second one is ignored; a move that is no move is told.
TEST_F(LaneTest, DialogueEchoAndRecords) {
    settings.engine.options = "setoption name Hash value 16";
    settings.engine.setupCommand = "setoption name Threads value 1";
    settings.engine.multipv = 2;
    const std::string position = "position fen " + std::string(kFen) + " 0 1";
    script.expect("uci", {"id name Scripted 1", "uciok"})
        .expect("setoption name Hash value 16")
        .expect("setoption name MultiPV value 2")
        .expect("setoption name Threads value 1")
        .expect("isready", {"readyok"})
        .expect("ucinewgame")
        .expect(position)
        .expect(std::string(kGo), {"info depth 5 score cp 20 time 1200 nodes 1000 pv d1h5 b8c6",
                                   "info depth 7 score mate 2 time 1500 nodes 3000 pv g1f3",
                                   "info depth 7 multipv 2 score cp 9 time 1500 pv d1h5",
                                   "bestmove d1h5", "bestmove g1f3"})
        .expect("ucinewgame")
        .expect(position)
        .expect(std::string(kGo), {"bestmove resign"})
        .expect("quit");
    const testing::TempDirectory dir("lane_dialogue");
    ASSERT_EQ(log.open((dir / "dialogue.log").string()), "");
    const std::optional<PositionOutcome> outcome =
        run({std::string(kFen) + " bm Qh5; id \"t1\";", std::string(kFen) + " bm Nf3; id \"t2\";"});
    EXPECT_EQ(outcome, PositionOutcome::Finished);
    EXPECT_EQ(link->faults(), "");
    // The log: seconds, lane, direction and the line, as it happened.
    const std::string logged = testing::readFile(dir / "dialogue.log");
    EXPECT_TRUE(std::regex_match(logged, std::regex("[0-9]+[.][0-9]{3} 1 > uci\n[0-9.]+ 1 < id "
                                                    "name Scripted 1\n(.+\n){18}.+ 1 > quit\n")))
        << logged;
    EXPECT_EQ(screen.captured(),
              "Starting engine: engine\nInitiate the engine\n"
              "\n1/2 Id: t1\nmoves: Qh5(1) \n"
              "\x1b[1;97m5 20 120 1000 d1h5 b8c6\x1b[0m\n"
              "7 30000 150 3000 g1f3\n"
              "7 9 150 1 d1h5\n"
              "\x1b[1;97md1h5\x1b[0m\n"
              "\n2/2 Id: t2\nmoves: Nf3(1) \n"
              "Move error: resign\n");
    const std::vector<ScoredRecord> records = context->takeRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].record.toEpd(false),
              std::string(kFen) +
                  " acd 7; acn 3000; acs -1; bm Qh5; ce 30000; id \"t1\"; "
                  "pm Qh5; pv Nf3;");
    EXPECT_TRUE(records[0].verdict.solved);
    // The other line neither found the move nor gave the pv; the JSON gets both lines.
    ASSERT_EQ(records[0].lines.size(), 2u);
    EXPECT_EQ(records[0].lines[1].pv, "Qh5");
    EXPECT_EQ(records[1].record.pm, "resign");
    EXPECT_FALSE(records[1].verdict.solved);
}

// An engine that stops reading: its commands are never written, and once the time and the move
// timeout have passed it counts as hung. The position is recorded without a move, and the
// engine is started again for the next one.
TEST_F(LaneTest, CommandsNotWrittenInTimeCountAsAHungEngine) {
    settings.limits.msPerPosition = 10;
    settings.limits.moveTimeoutSeconds = 1;
    const std::string kings = "4k3/8/8/8/8/8/8/K7 w - -";
    script.expect("uci", {"uciok"})
        .expect("isready", {"readyok"})
        .expect("ucinewgame")
        .expect("position fen " + kings + " 0 1")
        .expect(std::string(kGo), {"bestmove a1b2"})
        .deaf()
        .expect("uci", {"uciok"})
        .expect("isready", {"readyok"})
        .expect("ucinewgame")
        .expect("position fen " + kings + " 0 1")
        .expect(std::string(kGo), {"bestmove a1a2"})
        .expect("quit");
    const std::string suiteLine = kings + " bm Kb2; id \"p";
    EXPECT_EQ(run({suiteLine + "1\";", suiteLine + "2\";", suiteLine + "3\";"}),
              PositionOutcome::Finished);
    EXPECT_EQ(link->faults(), "");
    EXPECT_NE(screen.captured().find("\n2/3 Id: p2\nmoves: Kb2(1) \n"
                                     "Engine did not move within 1 s after its time; "
                                     "restarting it.\nStarting engine: engine\n"),
              std::string::npos)
        << screen.captured();
    const std::vector<ScoredRecord> records = context->takeRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].record.pm, "Kb2");
    EXPECT_EQ(records[1].record.pm, "");
    EXPECT_EQ(records[2].record.pm, "Ka2");
    EXPECT_EQ(context->restarts(), std::vector<std::string>{"p2"});
}

// A puzzle is searched move by move from its own FEN with the moves so far; on the last step any
// mate counts, and a wrong move ends it there. Each puzzle is one record.
TEST_F(LaneTest, PuzzlesAreSolvedMoveByMove) {
    const std::string alt = "7k/6pp/8/8/8/p7/8/KRR5 b - - 0 40";
    const std::string smother = "7k/p5pp/7N/3Q4/8/8/4rPPP/6K1 b - - 0 28";
    script.expect("uci", {"uciok"}).expect("isready", {"readyok"});
    for (const auto& [fen, moves, answer] : {std::tuple{alt, "a3a2", "c1c8"},
                                             {smother, "e2e8", "d5g8"},
                                             {smother, "e2e8 d5g8 e8g8", "h6g4"}}) {
        script.expect("ucinewgame")
            .expect("position fen " + fen + " moves " + moves)
            .expect(std::string(kGo), {std::string("bestmove ") + answer});
    }
    script.expect("quit");
    // The puzzle's FEN claims a castling right its king cannot have; the third puzzle's moves
    // cannot be played.
    EXPECT_EQ(run({"7k/6pp/8/8/8/8/p7/KRR5 w - - bm Rb8#; id \"alt\"; puzzle_fen \"7k/6pp/8/8/8/"
                   "p7/8/KRR5 b K - 0 40\"; puzzle_moves a3a2 b1b8;",
                   "4r2k/p5pp/7N/3Q4/8/8/5PPP/6K1 w - - bm Qg8+; id \"smother\"; puzzle_fen \"" +
                       smother + "\"; puzzle_moves e2e8 d5g8 e8g8 h6f7;",
                   "7k/6pp/8/8/8/8/p7/KRR5 w - - id \"broken\"; puzzle_fen \"" + alt +
                       "\"; puzzle_moves a3a2 h1h8;"}),
              PositionOutcome::Finished);
    EXPECT_EQ(link->faults(), "");
    EXPECT_NE(screen.captured().find("Step 2 of 2, after Rxg8\nmoves: Nf7#(1) \n"),
              std::string::npos);
    const std::vector<ScoredRecord> records = context->takeRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_NE(screen.captured().find("broken is not legal (its moves cannot be played); skipped"),
              std::string::npos);
    EXPECT_FALSE(records[2].verdict.solved);
    EXPECT_EQ(records[0].record.puzzle_played, "Rc8#");
    EXPECT_TRUE(records[0].verdict.solved);
    EXPECT_EQ(records[1].record.puzzle_played, "Qg8+ Ng4");
    EXPECT_EQ(records[1].record.puzzle_failed, 2);
    EXPECT_FALSE(records[1].verdict.solved);
}

// Engines that failed after positions in any order are listed in suite order.
TEST_F(LaneTest, RestartsAreListedInSuiteOrder) {
    makeContext({"4k3/8/8/8/8/8/8/K7 w - - id \"a\";", "4k3/8/8/8/8/8/8/K7 w - - id \"b\";"});
    for (const size_t index : {1, 0}) context->restarted(index);
    EXPECT_EQ(context->restarts(), (std::vector<std::string>{"a", "b"}));
}

// An engine that keeps sending its final move after the first search, from a thread of its own,
// until it is told to quit.
class RepeatingLink final : public EngineLink {
  public:
    ~RepeatingLink() override { stop(); }
    bool start(const std::string&, LineSink& sink, std::string&) override {
        sink_ = &sink;
        return true;
    }
    void send(std::string_view text) override {
        if (text == "uci") sink_->onLine("uciok");
        if (text == "isready") sink_->onLine("readyok");
        if (text.starts_with("go") && !repeater_.joinable()) {
            repeater_ = std::thread([this] {
                while (!quit_) sink_->onLine("bestmove a1b2");
            });
        }
        if (text == "quit") stop();
    }
    Event& written() override { return written_; }
    Event& ended() override { return ended_; }
    void close(std::string_view) override {}
    void stop() override {
        quit_ = true;
        if (repeater_.joinable()) repeater_.join();
    }
    void kill() override {}

  private:
    LineSink* sink_ = nullptr;
    std::atomic<bool> quit_{false};
    std::thread repeater_;
    Event written_{Event::Reset::manual, true};
    Event ended_{Event::Reset::manual};
};

// A late final move is never recorded for another position: not for a position that is not
// legal, which is skipped without a search, however the moves fall.
TEST_F(LaneTest, LateMovesAreNotRecordedForSkippedPositions) {
    std::vector<std::string> lines = {"4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"first\";"};
    lines.resize(5001, "4k3/8/8/8/8/8/8/K3R3 w - - bm Kb2;");
    EXPECT_EQ(run(lines, std::make_unique<RepeatingLink>()), PositionOutcome::Finished);
    const std::vector<ScoredRecord> stored = context->takeRecords();
    ASSERT_EQ(stored.size(), lines.size());
    size_t withMove = 0;
    for (const ScoredRecord& record : stored) withMove += record.record.pm.empty() ? 0 : 1;
    EXPECT_EQ(withMove, 1u);
}

}  // namespace
}  // namespace tarnwick
