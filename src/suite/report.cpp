#include "suite/report.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "chess/legality.hpp"
#include "suite/outcome_files.hpp"
#include "suite/scoring.hpp"
#include "text/seconds_text.hpp"

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

// Names of positions in the report's list layout: comma-separated, five on the first line
// and six on each later one.
class NameList {
  public:
    void add(std::string_view name) {
        if (!text_.empty()) text_ += ", ";
        if (count_ == 5) {
            text_ += '\n';
            count_ = 0;
        } else {
            ++count_;
        }
        text_ += name;
    }
    bool empty() const { return text_.empty(); }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
    int count_ = 0;
};

// Subtotals of the positions whose ids share a theme.
struct Theme {
    std::string name;
    int32_t score = 0;
    int32_t maximum = 0;
    int32_t count = 0;
};

struct Totals {
    int32_t tests = 0;
    int32_t maxSum = 0;
    int32_t engineSum = 0;
    int64_t timeSum = 0;
    std::array<int32_t, kBuckets.size()> buckets{};
    NameList failed;
    NameList unreadable;
    int32_t mateTests = 0;
    int32_t matesFound = 0;
    int32_t matesBest = 0;
    NameList shorterMates;
    int32_t pointsSuites = 0;
    int32_t pointsScore = 0;
    int32_t pointsMaximum = 0;
    std::vector<Theme> themes;  // in suite order
    std::string rejectedLists;
};

// How a position is named in the report's lists: its id, or without one its position (placement,
// side, castling, en passant), so that it can still be found.
std::string nameOf(const TestPosition& record) {
    if (!record.id.empty()) return record.id;
    return record.placement + " " + record.side + " " + record.castling + " " + record.enPassant;
}

// The theme of an id, up to its last '.': "STS(v10.0) Simplification.042" is of
// "STS(v10.0) Simplification". Empty when the id has none.
std::string_view themeOf(std::string_view id) {
    const size_t dot = id.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view{} : id.substr(0, dot);
}

void countTheme(Totals& totals, const TestPosition& record, int32_t score, int32_t maximum) {
    const std::string_view name = themeOf(record.id);
    if (name.empty()) return;
    auto theme = std::find_if(totals.themes.begin(), totals.themes.end(),
                              [&](const Theme& t) { return t.name == name; });
    if (theme == totals.themes.end()) {
        totals.themes.push_back({std::string(name)});
        theme = totals.themes.end() - 1;
    }
    theme->score += score;
    theme->maximum += maximum;
    ++theme->count;
}

void countKinds(Totals& totals, const PositionScorer& scorer, const TestPosition& record,
                int32_t engine) {
    if (!scorer.unreadableMoves().empty()) totals.unreadable.add(nameOf(record));
    if (scorer.isMateTest()) {
        ++totals.mateTests;
        const MateVerdict verdict = scorer.mateVerdict(record.mate);
        if (verdict != MateVerdict::none) ++totals.matesFound;
        if (scorer.isBestMate(record.mate)) ++totals.matesBest;
        if (verdict == MateVerdict::shorter) totals.shorterMates.add(nameOf(record));
    }
    if (scorer.isPointsSuite()) {
        ++totals.pointsSuites;
        totals.pointsScore += engine;
        totals.pointsMaximum += scorer.maximum();
    }
    if (!scorer.rejectedPair().empty()) {
        totals.rejectedLists += "Points list of " + nameOf(record) + " not used (" +
                                scorer.rejectedPair() +
                                " names no legal move): scored by its bm and am\n";
    }
    countTheme(totals, record, engine, scorer.maximum());
}

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
    totals.failed.add(nameOf(record));
    totals.timeSum += wholeTime;
}

std::string percentOf(int32_t part, int32_t whole) {
    if (whole <= 0) return "0.0";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", 100.0 * part / whole);
    return text;
}

// The parts only some suites have: unreadable moves, mate tests, points suites.
std::string kindsText(const Totals& totals) {
    std::string text;
    if (!totals.unreadable.empty()) {
        text +=
            "\nPositions whose moves could not be read (id):\n" + totals.unreadable.text() + "\n";
    }
    if (totals.mateTests > 0) {
        text += "\nMates found: " + std::to_string(totals.matesFound) +
                "  best: " + std::to_string(totals.matesBest) + "  (of " +
                std::to_string(totals.mateTests) + " mate tests)\n";
    }
    if (!totals.shorterMates.empty()) {
        text += "Mates shorter than the suite's (id):\n" + totals.shorterMates.text() + "\n";
    }
    if (totals.pointsSuites > 0) {
        text += "\nPoints suite: " + std::to_string(totals.pointsScore) + " of " +
                std::to_string(totals.pointsMaximum) + " (" +
                percentOf(totals.pointsScore, totals.pointsMaximum) + "%)\n";
        const bool shared = std::any_of(totals.themes.begin(), totals.themes.end(),
                                        [](const Theme& t) { return t.count > 1; });
        if (shared) {
            text += "By theme (score of max, positions):\n";
            for (const Theme& theme : totals.themes) {
                text += "  " + theme.name + ": " + std::to_string(theme.score) + " of " +
                        std::to_string(theme.maximum) + ", " + std::to_string(theme.count) + "\n";
            }
        }
    }
    if (!totals.rejectedLists.empty()) text += "\n" + totals.rejectedLists;
    return text;
}

std::string summaryText(const Totals& totals, const ReportSettings& settings) {
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
    text += "\nTime used for tests (wrong answer=" +
            centisecondsText(settings.msPerPosition / 10, settings.timeDecimals) +
            "s): " + centisecondsText(totals.timeSum, settings.timeDecimals) + "s\n";
    text += "\nPositions with error (id):\n" + totals.failed.text() + "\n";
    return text + kindsText(totals);
}

}  // namespace

std::string printReport(const std::vector<TestPosition>& resultList, const ReportSettings& settings,
                        ConsoleOutput& console) {
    const int32_t wholeTime =
        static_cast<int32_t>(std::min<int64_t>(settings.msPerPosition / 10, INT32_MAX));
    OutcomeFiles files;
    std::string failure = files.open(settings.goodOnlyFile, settings.notFoundFile);
    Totals totals;
    for (const TestPosition& record : resultList) {
        ++totals.tests;
        const PositionScorer scorer(record);
        const int32_t maximum = scorer.maximum();
        const int32_t engine = scorer.earned(record);
        countKinds(totals, scorer, record, engine);
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
    console.write(summaryText(totals, settings));
    return failure;
}

}  // namespace tarnwick
