#include "scoring/watch.hpp"

#include <gtest/gtest.h>

#include "engine/xboard_protocol.hpp"

namespace tarnwick {
namespace {

// Start position after 1. e4 e5: Qh5, Nf3, Bc4 and d4 are all legal for White.
constexpr std::string_view kFen = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";

class WatchTest : public ::testing::Test {
  protected:
    void start(std::string_view operations) {
        TestPosition entry;
        entry.parseEpd(std::string(kFen) + " " + std::string(operations));
        installPosition(watch, entry);
    }

    // Ends the search with a final move; what it recorded joins results.
    std::optional<FinalMove> finish(std::string_view move) {
        std::optional<FinalMove> final = onFinalMove(watch, move);
        if (final) results.push_back(final->result);
        return final;
    }

    // A thinking line "depth score time nodes variation..." as the engine sends it.
    bool think(std::string_view line) {
        return onAnalysisLine(watch, std::get<AnalysisLine>(parseWinboardLine(line))).fullScore;
    }

    // A line with a mate score and a variation of Qh5, as the UCI reader gives it.
    static AnalysisLine mateLine(int32_t moves, int32_t time) {
        AnalysisLine line;
        line.score.kind = Score::Kind::mate;
        line.score.value = moves;
        line.time = time;
        line.echo = "Qh5";
        return line;
    }

    WatchState watch;
    std::vector<ScoredRecord> results;
};

TEST_F(WatchTest, FoundTimeFollowsTheFirstMove) {
    start("bm Qh5;");
    EXPECT_TRUE(think("5 20 120 1000 d1h5 b8c6"));
    EXPECT_EQ(watch.currentPosition.acs, 120);
    EXPECT_TRUE(think("6 25 250 2000 d1h5 g8f6"));
    EXPECT_EQ(watch.currentPosition.acs, 120);  // same move: the earlier time stays
    EXPECT_FALSE(think("7 15 300 3000 g1f3 b8c6"));
    EXPECT_EQ(watch.currentPosition.acs, -1);
    EXPECT_TRUE(think("8 30 450 4000 Qh5 Nc6"));
    EXPECT_EQ(watch.currentPosition.acs, 450);
    EXPECT_EQ(watch.currentPosition.acd, 8);
    EXPECT_EQ(watch.currentPosition.ce, 30);
    EXPECT_EQ(watch.currentPosition.acn, 4000);
    // No variation: pv and acs stay, and the stored first move still earns the maximum.
    EXPECT_TRUE(think("9 31 500 5000"));
    EXPECT_EQ(watch.currentPosition.acs, 450);
    ASSERT_TRUE(finish("d1h5"));
    EXPECT_EQ(results.back().record.pv, "Qh5 Nc6");
}

TEST_F(WatchTest, PointsListAndEqualMaximumMoves) {
    start("bm Qh5 Nf3; c1 \"10 5\";");
    EXPECT_FALSE(think("5 20 120 1000 g1f3"));
    EXPECT_EQ(watch.currentPosition.acs, -1);  // 5 of 10 points

    start("bm Qh5 Nf3;");
    think("5 20 120 1000 Qh5");
    think("6 20 200 1000 Nf3");
    EXPECT_EQ(watch.currentPosition.acs, 120);  // both earn the maximum: the earlier time stays
}

TEST_F(WatchTest, AvoidMovesAndUnreadableVariations) {
    start("am Qh5;");
    think("5 20 120 1000 Nf3");
    EXPECT_EQ(watch.currentPosition.acs, 120);
    think("6 20 130 1000 Qh5");
    EXPECT_EQ(watch.currentPosition.acs, -1);
    // Move numbers and junk are skipped; a variation of junk only leaves pv empty.
    think("7 20 140 1000 1. Nf3 Nc6 2. Bc4");
    EXPECT_EQ(watch.currentPosition.acs, 140);
    start("am Qh5;");
    think("7 20 140 1000 1. Nf3 Nc6 2. Bc4");
    finish("Nf3");
    EXPECT_EQ(results.back().record.pv, "Nf3 Nc6 Bc4");
    start("am Qh5;");
    think("7 20 140 1000 1. Nf3 Nc6 2. Bc4");
    think("8 20 150 1000 zz 99");
    EXPECT_EQ(watch.currentPosition.acs, 140);  // 0 points before and after: the time stays
    finish("Nf3");
    EXPECT_EQ(results.back().record.pv, "");
}

TEST_F(WatchTest, FinalMovesAreStoredOnceWithTheirVerdict) {
    start("bm Qh5; id \"t1\";");
    think("5 20 120 1000 d1h5 b8c6");
    const std::optional<FinalMove> verdict = finish("d1h5");
    EXPECT_TRUE(verdict && verdict->legal && verdict->fullScore);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].record.toEpd(false),
              std::string(kFen) +
                  " acd 5; acn 1000; acs 120; bm Qh5; ce 20; id \"t1\"; pm Qh5; pv Qh5 Nc6;");
    // A late second move while no search runs is not stored.
    EXPECT_FALSE(finish("g1f3"));
    EXPECT_EQ(results.size(), 1u);

    start("bm Qh5 Nf3; c1 \"10 5\";");
    const std::optional<FinalMove> partial = finish("g1f3");
    EXPECT_TRUE(partial->legal);
    EXPECT_FALSE(partial->fullScore);
    EXPECT_EQ(results.back().record.pv, "");  // the last position's variation stays there
    start("bm Qh5;");
    EXPECT_FALSE(finish("resign")->legal);
    EXPECT_EQ(results.back().record.pm, "resign");
    // A suite that is an earlier run's results: none of its findings outlive a search that
    // gave no line, while the puzzle's own fields stay.
    start(
        "acd 9; acn 99; bm Qh5; ce 50; matecheck ok; pm Nf3; puzzle_failed 1; puzzle_played "
        "Nf3; puzzle_rating 1500; puzzle_times 3; pv Nf3;");
    finish("d1h5");
    EXPECT_EQ(results.back().record.toEpd(false),
              std::string(kFen) + " acs -1; bm Qh5; pm Qh5; puzzle_rating 1500;");
}

TEST_F(WatchTest, UnreadableMovesStayWithTheirPoints) {
    start("bm Xx9 Qh5 Nf3; c1 \"7 10 5\";");
    finish("Nf3");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].record.bm, "Xx9 Qh5 Nf3");
    EXPECT_EQ(results[0].record.c[1], "7 10 5");

    // No best move can be read: the null move earns nothing, and the words stay.
    start("bm e8=Q+ Qxh7#;");
    const std::optional<FinalMove> verdict = finish("0000");
    EXPECT_FALSE(verdict->fullScore);
    EXPECT_EQ(results.back().record.bm, "e8=Q+ Qxh7#");
}

TEST_F(WatchTest, MateTestsFollowTheMateScore) {
    start("bm #3; id \"m\";");
    EXPECT_FALSE(think("5 20 100 1000 Qh5"));  // not a mate
    EXPECT_EQ(watch.currentPosition.acs, -1);
    EXPECT_FALSE(watch.currentPosition.mate);
    EXPECT_FALSE(onAnalysisLine(watch, mateLine(5, 150)).fullScore);  // found, but longer
    EXPECT_EQ(watch.currentPosition.acs, -1);
    EXPECT_EQ(watch.currentPosition.mate, 5);
    EXPECT_TRUE(onAnalysisLine(watch, mateLine(3, 200)).fullScore);
    EXPECT_EQ(watch.currentPosition.acs, 200);
    EXPECT_TRUE(
        onAnalysisLine(watch, mateLine(2, 250)).fullScore);  // shorter still counts: time stays
    EXPECT_EQ(watch.currentPosition.acs, 200);
    EXPECT_FALSE(onAnalysisLine(watch, mateLine(-3, 300)).fullScore);  // lost
    EXPECT_EQ(watch.currentPosition.acs, -1);
    EXPECT_TRUE(onAnalysisLine(watch, mateLine(3, 400)).fullScore);  // regained: the new time
    EXPECT_EQ(watch.currentPosition.acs, 400);
    EXPECT_EQ(watch.currentPosition.ce, Score::kMateCentipawns);
    // The final move does not decide; the record carries the reported mate.
    const std::optional<FinalMove> verdict = finish("a2a3");
    EXPECT_TRUE(verdict->fullScore);
    EXPECT_EQ(results.back().record.toEpd(false),
              std::string(kFen) +
                  " acd 1; acn 1; acs 400; bm #3; ce 30000; id \"m\"; mate 3; matecheck short; "
                  "pm a3; pv Qh5;");

    // Being mated: the sign must match; a mate found at time 0 keeps acs 0.
    start("dm -2;");
    EXPECT_FALSE(onAnalysisLine(watch, mateLine(2, 0)).fullScore);
    EXPECT_TRUE(onAnalysisLine(watch, mateLine(-2, 0)).fullScore);
    EXPECT_EQ(watch.currentPosition.acs, 0);
    // A record of an earlier run does not carry its mate into this search.
    TestPosition earlier = watch.currentPosition;
    installPosition(watch, earlier);
    EXPECT_EQ(watch.currentPosition.mate, 0);
}

// The early-stop moment follows the engine's own time from the line that found the move: it only
// comes nearer while the move holds, and is cleared when the move is lost.
TEST_F(WatchTest, EarlyStopFollowsTheEnginesTime) {
    TestPosition entry;
    entry.parseEpd(std::string(kFen) + " bm Qh5;");
    installPosition(watch, entry, 300);
    const auto at = [start = WatchState::Clock::now()](int ms) {
        return start + std::chrono::milliseconds(ms);
    };
    // The line (engine time in hundredths), when it is read, when the search may end (-1: no).
    const std::tuple<const char*, int, int> steps[] = {
        {"5 20 100 1000 d1h5", 0, 300},     // found at 1.00 s: held 0.3 s more of its time
        {"6 20 120 1000 d1h5", 1, 101},     // held 0.2 s of the engine's time, not 1 ms
        {"7 20 500 1000 d1h5", 2, 2},       // held longer than the early-stop time: now
        {"8 20 510 1000 g1f3", 3, -1},      // lost
        {"9 20 600 1000 d1h5", 400, 700},   // found again, at 6.00 s
        {"9 20 610 1000 d1h5", 1000, 700},  // the wall clock alone never moves it later
    };
    for (const auto& [line, readMs, dueMs] : steps) {
        onAnalysisLine(watch, std::get<AnalysisLine>(parseWinboardLine(line)), at(readMs));
        EXPECT_EQ(watch.earlyStopDue, dueMs < 0 ? std::nullopt : std::optional(at(dueMs))) << line;
    }
}

}  // namespace
}  // namespace tarnwick
