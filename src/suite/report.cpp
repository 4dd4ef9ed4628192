#include "suite/report.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "chess/legality.hpp"
#include "suite/outcome_files.hpp"
#include "suite/scoring.hpp"

namespace tarnwick {

namespace {

struct Bucket {
    std::string_view label;
    int32_t upTo;  // hundredths of a second, inclusive except for the first bucket
};

constexpr std::array<Bucket, 10> kBuckets = {{{"1 sec = ", 99},
                                              {"2 sec = ", 200},
                                              {"5 sec = ", 500},
                                              {"10 sec = ", 1000},
                                              {"30 sec = ", 3000},
                                              {"1 min = ", 6000},
                                              {"2 min = ", 12000},
                                              {"5 min = ", 30000},
                                              {"10 min = ", 60000},
                                              {"30 min = ", 180000}}};

struct Totals {
    int32_t tests = 0;
    int32_t maxSum = 0;
    int32_t engineSum = 0;
    int64_t timeSum = 0;
    std::array<int32_t, kBuckets.size()> buckets{};
    std::string errorIds;
    int lineCount = 0;
};

void countSolved(Totals& totals, const TestPosition& record, int32_t wholeTime) {
    // A full-score move with no found time (no analysis line showed it) came at the end.
    const int32_t found = record.acs < 0 ? wholeTime : record.acs;
    const int32_t time = std::min(found, wholeTime);
    for (size_t i = 0; i < kBuckets.size(); ++i) {
        if (time <= kBuckets[i].upTo) {
            ++totals.buckets[i];
            break;
        }
    }
    totals.timeSum += time;
}

void listFailed(Totals& totals, const TestPosition& record, int32_t wholeTime) {
    if (!record.id.empty()) {
        if (!totals.errorIds.empty()) totals.errorIds += ", ";
        // The first line holds five ids, each later line six.
        if (totals.lineCount == 5) {
            totals.errorIds += '\n';
            totals.lineCount = 0;
        } else {
            ++totals.lineCount;
        }
        totals.errorIds += record.id;
    }
    totals.timeSum += wholeTime;
}

std::string summaryText(const Totals& totals, int32_t secondsPerPosition) {
    int32_t fullScore = 0;
    for (const int32_t count : totals.buckets) fullScore += count;
    std::string text;
    text += "Number of tests:                       " + std::to_string(totals.tests) + "\n";
    text += "Max score:                             " + std::to_string(totals.maxSum) + "\n";
    text += "Engines score:                         " + std::to_string(totals.engineSum) + "\n";
    text += "Number with full score:                " + std::to_string(fullScore) + "\n";
    text += "Found in: ";
    for (size_t i = 0; i < kBuckets.size(); ++i) {
        if (totals.buckets[i] == 0) continue;
        text.append(kBuckets[i].label).append(std::to_string(totals.buckets[i])).append(", ");
    }
    text += "\nTime used for tests (wrong answer=" + std::to_string(secondsPerPosition) +
            "s): " + std::to_string(totals.timeSum / 100) + "s\n";
    text += "\nPositions with error (id):\n" + totals.errorIds + "\n";
    return text;
}

}  // namespace

std::string printReport(const std::vector<TestPosition>& resultList, const ReportSettings& settings,
                        ConsoleOutput& console) {
    const int32_t wholeTime = static_cast<int32_t>(
        std::min<int64_t>(int64_t{settings.secondsPerPosition} * 100, INT32_MAX));
    OutcomeFiles files;
    std::string failure = files.open(settings.goodOnlyFile, settings.notFoundFile);
    Totals totals;
    for (const TestPosition& record : resultList) {
        ++totals.tests;
        const PositionScorer scorer(record);
        const int32_t maximum = scorer.maximum();
        const int32_t engine = scorer.pointsOfText(record.pm);
        totals.maxSum += maximum;
        totals.engineSum += engine;
        // A position no engine could be given is never solved, even when it names no legal
        // move and so has nothing to score.
        const bool solved = engine == maximum && whyNotLegal(record.fenText()).empty();
        if (solved) {
            countSolved(totals, record, wholeTime);
        } else {
            listFailed(totals, record, wholeTime);
        }
        const std::string written = files.write(record, solved);
        if (failure.empty()) failure = written;
    }
    const std::string closed = files.close();
    if (failure.empty()) failure = closed;
    console.write(summaryText(totals, settings.secondsPerPosition));
    return failure;
}

}  // namespace tarnwick
