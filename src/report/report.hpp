#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.hpp"
#include "report/puzzle_totals.hpp"
#include "scoring/verdict.hpp"

namespace tarnwick {

// Where the report writes besides the console, and the time per position it scores with.
struct ReportSettings {
    int64_t msPerPosition = 10000;
    int32_t timeDecimals = 0;  // the report's times are shown with these decimals
    std::string goodOnlyFile;
    std::string notFoundFile;
};

// The report's time buckets: full-score positions found within upTo hundredths of a second
// (inclusive, except for the first).
struct ReportBucket {
    std::string_view label;
    int32_t upTo;
};

inline constexpr std::array<ReportBucket, 10> kReportBuckets = {{{"1 sec = ", 99},
                                                                 {"2 sec = ", 200},
                                                                 {"5 sec = ", 500},
                                                                 {"10 sec = ", 1000},
                                                                 {"30 sec = ", 3000},
                                                                 {"1 min = ", 6000},
                                                                 {"2 min = ", 12000},
                                                                 {"5 min = ", 30000},
                                                                 {"10 min = ", 60000},
                                                                 {"30 min = ", 180000}}};

// The bands of a mate test's distance |N| that the report counts mates by, as mate-finding tables
// do: each holds the distances up to upTo, from the previous band's end.
struct MateBand {
    std::string_view label;
    int32_t upTo;
};

inline constexpr std::array<MateBand, 7> kMateBands = {
    {{"1", 1}, {"2", 2}, {"3", 3}, {"4-5", 5}, {"6-10", 10}, {"11-20", 20}, {"21+", INT32_MAX}}};

// The mate tests of one band and how many of them were found, and at their best distance.
struct MateBandCount {
    int32_t tests = 0;
    int32_t found = 0;
    int32_t best = 0;
};

// Subtotals of the positions whose ids share a theme.
struct ReportTheme {
    std::string name;
    int32_t score = 0;
    int32_t maximum = 0;
    int32_t count = 0;
};

// Everything the report says about a result list, counted once: the text report and the JSON
// summary are both written from it. Positions are named by id, or by their position without one.
struct ReportTotals {
    int32_t tests = 0;
    int32_t maxSum = 0;
    int32_t engineSum = 0;
    int32_t fullScore = 0;  // full points within the last bucket's time
    std::array<int32_t, kReportBuckets.size()> buckets{};
    int64_t timeSum = 0;  // hundredths of a second; a wrong answer counts the whole time
    std::vector<std::string> failed;
    std::vector<std::string> unreadable;
    int32_t mateTests = 0;
    int32_t matesFound = 0;
    int32_t matesBest = 0;
    std::vector<std::string> shorterMates;
    std::vector<std::string> unprovenMates;  // a mate claim's line does not prove its score
    std::array<MateBandCount, kMateBands.size()> mateBands{};  // by the test's distance
    int32_t pointsSuites = 0;
    int32_t pointsScore = 0;
    int32_t pointsMaximum = 0;
    std::vector<ReportTheme> themes;  // in suite order
    // "Points list of <name> not used (<pair> names no legal move): scored by its bm and am"
    std::vector<std::string> rejectedLists;
    // "Points list of <name> names <move> twice; the larger value counts."
    std::vector<std::string> repeatedInLists;
    PuzzleTotals puzzles;
};

// The theme of an id, up to its last '.': "STS(v10.0) Simplification.042" is of
// "STS(v10.0) Simplification", "WAC.001" of "WAC". Empty when the id has none.
std::string_view themeOf(std::string_view id);

// When a full-score position was found, in hundredths of a second, capped at the whole time; one
// with no found time (no analysis line showed the move) counts the whole time.
int64_t solvedTime(const Verdict& verdict, int64_t wholeTime);

ReportTotals computeTotals(const std::vector<ScoredRecord>& resultList,
                           const ReportSettings& settings);

// The summary the report prints for the totals: tests, maximum and achieved score, full-score
// positions by time bucket, time used and the ids of the positions without full points (their
// FEN when they have none); then, when the suite has them, the positions whose moves could not
// be read, the mates found and the points suite's total with subtotals by theme.
std::string reportText(const ReportTotals& totals, const ReportSettings& settings);

// Writes the solved and unsolved files and prints the summary (reportText's). Returns "" or the
// first failure to write a solved or unsolved file, "Cannot write to <file>: <reason>"; the
// summary is printed either way.
std::string printReport(const std::vector<ScoredRecord>& resultList, std::string_view summary,
                        const ReportSettings& settings, ConsoleOutput& console);

}  // namespace tarnwick
