#include "suite/watch.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarnwick {
namespace {

// Start position after 1. e4 e5: Qh5, Nf3, Bc4 and d4 are all legal for White.
constexpr std::string_view kFen = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";

class WatchTest : public ::testing::Test {
  protected:
    void start(std::string_view operations) {
        watch.console = &console;
        watch.signalSearchEnded = [this] { ++signals; };
        watch.currentPosition.parseEpd(std::string(kFen) + " " + std::string(operations));
        watch.currentPosition.acs = -1;
        watch.searchInProgress = true;
    }

    ConsoleOutput console = ConsoleOutput::capture(true);
    WatchState watch;
    int signals = 0;
};

TEST_F(WatchTest, FoundTimeFollowsTheFirstMove) {
    start("bm Qh5;");
    onAnalysisLine(watch, "5 20 120 1000 d1h5 b8c6");
    EXPECT_EQ(watch.currentPosition.acs, 120);
    EXPECT_EQ(watch.currentPosition.pv, "Qh5 Nc6");
    onAnalysisLine(watch, "6 25 250 2000 d1h5 g8f6");
    EXPECT_EQ(watch.currentPosition.acs, 120);  // same move: the earlier time stays
    onAnalysisLine(watch, "7 15 300 3000 g1f3 b8c6");
    EXPECT_EQ(watch.currentPosition.acs, -1);
    onAnalysisLine(watch, "8 30 450 4000 Qh5 Nc6");
    EXPECT_EQ(watch.currentPosition.acs, 450);
    EXPECT_EQ(watch.currentPosition.acd, 8);
    EXPECT_EQ(watch.currentPosition.ce, 30);
    EXPECT_EQ(watch.currentPosition.acn, 4000);
    // No variation: pv and acs stay, and the stored first move still earns the maximum.
    onAnalysisLine(watch, "9 31 500 5000");
    EXPECT_EQ(watch.currentPosition.pv, "Qh5 Nc6");
    EXPECT_EQ(watch.currentPosition.acs, 450);
    EXPECT_EQ(console.captured(),
              "\x1b[1;97m5 20 120 1000 d1h5 b8c6\x1b[0m\n"
              "\x1b[1;97m6 25 250 2000 d1h5 g8f6\x1b[0m\n"
              "7 15 300 3000 g1f3 b8c6\n"
              "\x1b[1;97m8 30 450 4000 Qh5 Nc6\x1b[0m\n"
              "\x1b[1;97m9 31 500 5000\x1b[0m\n");
}

TEST_F(WatchTest, PointsListAndEqualMaximumMoves) {
    start("bm Qh5 Nf3; c1 \"10 5\";");
    onAnalysisLine(watch, "5 20 120 1000 g1f3");
    EXPECT_EQ(watch.currentPosition.acs, -1);  // 5 of 10 points

    start("bm Qh5 Nf3;");
    onAnalysisLine(watch, "5 20 120 1000 Qh5");
    onAnalysisLine(watch, "6 20 200 1000 Nf3");
    EXPECT_EQ(watch.currentPosition.acs, 120);  // both earn the maximum: the earlier time stays
}

TEST_F(WatchTest, AvoidMovesAndUnreadableVariations) {
    start("am Qh5;");
    onAnalysisLine(watch, "5 20 120 1000 Nf3");
    EXPECT_EQ(watch.currentPosition.acs, 120);
    onAnalysisLine(watch, "6 20 130 1000 Qh5");
    EXPECT_EQ(watch.currentPosition.acs, -1);
    // Move numbers and junk are skipped; a variation of junk only leaves pv empty.
    onAnalysisLine(watch, "7 20 140 1000 1. Nf3 Nc6 2. Bc4");
    EXPECT_EQ(watch.currentPosition.pv, "Nf3 Nc6 Bc4");
    onAnalysisLine(watch, "8 20 150 1000 zz 99");
    EXPECT_EQ(watch.currentPosition.pv, "");
    EXPECT_EQ(watch.currentPosition.acs, 140);  // 0 points before and after: the time stays
}

TEST_F(WatchTest, FinalMoveIsStoredOnceAndSignalled) {
    const auto file = std::filesystem::temp_directory_path() / "tarnwick_watch_result.epd";
    std::filesystem::remove(file);
    start("bm Qh5; id \"t1\";");
    watch.resultFile = file.string();
    onAnalysisLine(watch, "5 20 120 1000 d1h5 b8c6");
    onFinalMove(watch, "d1h5");
    ASSERT_EQ(watch.resultList.size(), 1u);
    EXPECT_EQ(watch.resultList[0].pm, "Qh5");
    EXPECT_EQ(signals, 1);

    // A late second move while no search runs is neither stored nor signalled.
    onFinalMove(watch, "g1f3");
    EXPECT_EQ(watch.resultList.size(), 1u);
    EXPECT_EQ(signals, 1);

    std::stringstream text;
    text << std::ifstream(file).rdbuf();  // closed at once: an open file cannot be removed
    EXPECT_EQ(text.str(), std::string(kFen) +
                              " acd 5; acn 1000; acs 120; bm Qh5; ce 20; id \"t1\"; pm Qh5; pv "
                              "Qh5 Nc6;\n");
    std::filesystem::remove(file);
}

TEST_F(WatchTest, MoveErrorsAndPartialPoints) {
    start("bm Qh5;");
    onFinalMove(watch, "");
    start("bm Qh5;");
    onFinalMove(watch, "resign");
    start("bm Qh5 Nf3; c1 \"10 5\";");
    onFinalMove(watch, "g1f3");
    start("bm Qh5;");
    onFinalMove(watch, "Qh5");
    EXPECT_EQ(console.captured(), "Move error: \nMove error: resign\ng1f3\n\x1b[1;97mQh5\x1b[0m\n");
    EXPECT_EQ(signals, 4);
}

TEST_F(WatchTest, DroppedMovesTakeTheirPointsWithThem) {
    start("bm Xx9 Qh5 Nf3; c1 \"7 10 5\";");
    onFinalMove(watch, "Nf3");
    ASSERT_EQ(watch.resultList.size(), 1u);
    EXPECT_EQ(watch.resultList[0].bm, "Qh5 Nf3");
    EXPECT_EQ(watch.resultList[0].c[1], "10 5");
}

}  // namespace
}  // namespace tarnwick
