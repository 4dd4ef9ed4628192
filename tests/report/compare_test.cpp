#include "report/compare.hpp"

#include <gtest/gtest.h>

#include "report/mcnemar.hpp"
#include "scoring/position_scorer.hpp"

namespace tarnwick {
namespace {

// Lone kings, the white one on a1 and the black one on a file of its own per n.
ScoredRecord record(int n, std::string_view operations) {
    TestPosition p;
    p.parseEpd(std::string(1, static_cast<char>('0' + n)) + "k" + std::to_string(7 - n) +
               "/8/8/8/8/8/8/K7 w - - bm Kb2; " + std::string(operations));
    return scoreRecord(p);
}

TEST(Compare, RowsHoldEveryRunsPositionsAndTotalsCountOwnAndSharedOnes) {
    const std::vector<ComparedRun> runs = {
        {"a.epd",
         {record(1, "id \"p1\"; acs 12; pm Kb2;"), record(2, "id \"p2\"; pm Ka2;"),
          record(3, "id \"p3\"; acs 250; pm Kb2;")}},
        // Another order, one position missing and two the first run does not have.
        {"b.epd",
         {record(4, "id \"p4\"; acs 5; pm Kb2;"), record(2, "id \"p2\"; acs 30; pm Kb2;"),
          record(1, "id \"p1\"; acs 100; pm Kb2;"), record(5, "id \"p5\"; pm Ka2;")}},
    };
    EXPECT_EQ(compareText(runs),
              "  Position    a.epd         b.epd\n"
              "  p1          1 0.12s       1 1.00s\n"
              "* p2          0 -           1 0.30s\n"
              "* p3          1 2.50s       -\n"
              "* p4          -             1 0.05s\n"
              "* p5          -             0 -\n"
              "\n"
              "Each run's own positions:\n"
              "  Positions   3             4\n"
              "  Score       2 of 3        3 of 4\n"
              "  Full score  2             3\n"
              "\n"
              "Positions all runs hold (2):\n"
              "  Score       1 of 2        2 of 2\n"
              "  Full score  1             2\n"
              "  Mean time   0.12s         1.00s\n"
              "Mean found time over the 1 positions all runs solved.\n"
              "\n"
              "Solved by one run only: a.epd 0, b.epd 1; exact McNemar p = 1.000\n"
              "\n"
              "Solved only by a.epd (1): p3\n"
              "\n"
              "Solved only by b.epd (2): p2, p4\n");
}

TEST(Compare, RepeatedPositionsMatchInFileOrderAndRowsWithoutIdShowTheFen) {
    const std::vector<ComparedRun> runs = {
        {"a", {record(1, "acs 1; pm Kb2;"), record(1, "pm Ka1;"), record(2, "acs -1; pm Kb2;")}},
        {"b", {record(1, "pm Ka1;"), record(1, "acs 3; pm Kb2;")}},
    };
    const auto rows = matchPositions(runs);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<std::optional<size_t>>{0, 0}));
    EXPECT_EQ(rows[1], (std::vector<std::optional<size_t>>{1, 1}));
    EXPECT_EQ(rows[2], (std::vector<std::optional<size_t>>{2, std::nullopt}));
    const std::string text = compareText(runs);
    EXPECT_NE(text.find("* 1k6/8/8/8/8/8/8/K7 w - - 0 1  1 0.01s       0 -\n"), std::string::npos)
        << text;
    // A solved position without a found time is shown as such.
    EXPECT_NE(text.find("* 2k5/8/8/8/8/8/8/K7 w - - 0 1  1 ?           -\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("over the 0 positions"), std::string::npos) << text;
}

TEST(Compare, PositionsTheFirstRunLacksFollowTheFirstRunThatHoldsThem) {
    const std::vector<ComparedRun> runs = {{"a", {record(1, "")}},
                                           {"b", {record(3, ""), record(1, ""), record(2, "")}},
                                           {"c", {record(2, ""), record(4, ""), record(3, "")}}};
    const std::optional<size_t> none;
    EXPECT_EQ(matchPositions(runs),
              (std::vector<std::vector<std::optional<size_t>>>{
                  {0, 1, none}, {none, 0, 2}, {none, 2, 0}, {none, none, 1}}));
}

// Against the tails as exact fractions: the small ones by hand, those of thousands of positions
// worked out in integers elsewhere.
TEST(Compare, ExactMcNemarPIsTheTwoSidedBinomialTail) {
    const double cases[][3] = {{0, 0, 1},
                               {7, 7, 1},
                               {0, 5, 1.0 / 16},
                               {5, 1, 7.0 / 32},
                               {3, 10, 189.0 / 2048},
                               {40, 70, 0.0054474295114444823},
                               {1100, 1000, 0.030720707864242295},
                               {2900, 3100, 0.010191041523412897},
                               {0, 3000, 0}};
    for (const auto& [a, b, p] : cases) {
        EXPECT_NEAR(exactMcNemarP(static_cast<int64_t>(a), static_cast<int64_t>(b)), p, p * 1e-9)
            << a << " " << b;
    }
}

}  // namespace
}  // namespace tarnwick
