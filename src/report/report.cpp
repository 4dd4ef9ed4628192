#include "report/report.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "report/outcome_files.hpp"
#include "text/seconds_text.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// Names of positions in the report's list layout: comma-separated, five on the first line
// and six on each later one.
std::string nameListText(const std::vector<std::string>& names) {
    std::string text;
    int count = 0;
    for (const std::string& name : names) {
        if (!text.empty()) text += ", ";
        if (count == 5) {
            text += '\n';
            count = 0;
        } else {
            ++count;
        }
        text += name;
    }
    return text;
}

// How a position is named in the report's lists: its id, or without one its position (placement,
// side, castling, en passant), so that it can still be found.
std::string nameOf(const TestPosition& record) {
    if (!record.id.empty()) return record.id;
    return record.placement + " " + record.side + " " + record.castling + " " + record.enPassant;
}

void countTheme(ReportTotals& totals, const TestPosition& record, int32_t score, int32_t maximum) {
    const std::string_view name = themeOf(record.id);
    if (name.empty()) return;
    auto theme = std::find_if(totals.themes.begin(), totals.themes.end(),
                              [&](const ReportTheme& t) { return t.name == name; });
    if (theme == totals.themes.end()) {
        totals.themes.push_back({std::string(name)});
        theme = totals.themes.end() - 1;
    }
    theme->score += score;
    theme->maximum += maximum;
    ++theme->count;
}

// The band of the distance a mate test asks for.
MateBandCount& mateBandOf(ReportTotals& totals, const Verdict& verdict) {
    const int64_t distance = std::abs(static_cast<int64_t>(verdict.mateTarget));
    size_t band = 0;
    while (band + 1 < kMateBands.size() && distance > kMateBands[band].upTo) ++band;
    return totals.mateBands[band];
}

void countMate(ReportTotals& totals, const ScoredRecord& scored) {
    const TestPosition& record = scored.record;
    const Verdict& verdict = scored.verdict;
    const bool found = verdict.mate != MateVerdict::none;
    const bool best = verdict.mate == MateVerdict::best || verdict.mate == MateVerdict::shorter;
    ++totals.mateTests;
    totals.matesFound += found ? 1 : 0;
    totals.matesBest += best ? 1 : 0;
    MateBandCount& band = mateBandOf(totals, verdict);
    ++band.tests;
    band.found += found ? 1 : 0;
    band.best += best ? 1 : 0;
    if (verdict.mate == MateVerdict::shorter) totals.shorterMates.push_back(nameOf(record));
    if (std::any_of(verdict.mateLines.begin(), verdict.mateLines.end(),
                    [](MateLine kind) { return kind != MateLine::proved; })) {
        totals.unprovenMates.push_back(nameOf(record));
    }
}

void countKinds(ReportTotals& totals, const ScoredRecord& scored) {
    const TestPosition& record = scored.record;
    const Verdict& verdict = scored.verdict;
    if (!verdict.unreadable.empty()) totals.unreadable.push_back(nameOf(record));
    if (verdict.mateTest) countMate(totals, scored);
    if (verdict.pointsSuite) {
        ++totals.pointsSuites;
        totals.pointsScore += verdict.points;
        totals.pointsMaximum += verdict.maximum;
    }
    if (!verdict.rejectedPair.empty()) {
        totals.rejectedLists.push_back("Points list of " + nameOf(record) + " not used (" +
                                       verdict.rejectedPair +
                                       " names no legal move): scored by its bm and am");
    }
    for (const std::string& move : verdict.repeatedMoves) {
        totals.repeatedInLists.push_back("Points list of " + nameOf(record) + " names " + move +
                                         " twice; the larger value counts.");
    }
    countTheme(totals, record, verdict.points, verdict.maximum);
}

void countSolved(ReportTotals& totals, const Verdict& verdict, int64_t wholeTime) {
    const int64_t time = solvedTime(verdict, wholeTime);
    for (size_t i = 0; i < kReportBuckets.size(); ++i) {
        if (time <= kReportBuckets[i].upTo) {
            ++totals.buckets[i];
            // Past the last bucket a position is not counted as found in time.
            ++totals.fullScore;
            break;
        }
    }
    totals.timeSum += time;
}

// Found and best mates per band of the tests' distance, for the bands that hold a test.
std::string mateBandsText(const ReportTotals& totals) {
    std::string text = "By mate length:\n";
    for (size_t i = 0; i < kMateBands.size(); ++i) {
        const MateBandCount& band = totals.mateBands[i];
        if (band.tests == 0) continue;
        std::string label = "  " + std::string(kMateBands[i].label) + ":";
        label.append(label.size() < 9 ? 9 - label.size() : 0, ' ');
        text += label + "found " + std::to_string(band.found) + "  best " +
                std::to_string(band.best) + "  (of " + std::to_string(band.tests) + ")\n";
    }
    return text;
}

// The parts only some suites have: unreadable moves, mate tests, points suites and what their
// lists got wrong.
std::string kindsText(const ReportTotals& totals) {
    std::string text;
    if (!totals.unreadable.empty()) {
        text += "\nPositions whose moves could not be read (id):\n" +
                nameListText(totals.unreadable) + "\n";
    }
    if (totals.mateTests > 0) {
        text += "\nMates found: " + std::to_string(totals.matesFound) +
                "  best: " + std::to_string(totals.matesBest) + "  (of " +
                std::to_string(totals.mateTests) + " mate tests)\n";
        text += "Mate lines that do not prove their score: " +
                std::to_string(totals.unprovenMates.size());
        for (size_t i = 0; i < totals.unprovenMates.size(); ++i) {
            text += (i == 0 ? " (" : ", ") + totals.unprovenMates[i];
        }
        text += totals.unprovenMates.empty() ? "\n" : ")\n";
    }
    if (!totals.shorterMates.empty()) {
        text += "Mates shorter than the suite's (id):\n" + nameListText(totals.shorterMates) + "\n";
    }
    if (totals.mateTests > 0) text += mateBandsText(totals);
    if (totals.pointsSuites > 0) {
        text += "\nPoints suite: " + std::to_string(totals.pointsScore) + " of " +
                std::to_string(totals.pointsMaximum) + " (" +
                percentOf(totals.pointsScore, totals.pointsMaximum) + "%)\n";
        const bool shared = std::any_of(totals.themes.begin(), totals.themes.end(),
                                        [](const ReportTheme& t) { return t.count > 1; });
        if (shared) {
            text += "By theme (score of max, positions):\n";
            for (const ReportTheme& theme : totals.themes) {
                text += "  " + theme.name + ": " + std::to_string(theme.score) + " of " +
                        std::to_string(theme.maximum) + ", " + std::to_string(theme.count) + "\n";
            }
        }
    }
    if (!totals.rejectedLists.empty() || !totals.repeatedInLists.empty()) {
        text += "\n";
        for (const std::string& line : totals.rejectedLists) text += line + "\n";
        for (const std::string& line : totals.repeatedInLists) text += line + "\n";
    }
    return text;
}

// The time per position in hundredths of a second; 64 bits, since /t may give any time.
int64_t wholeTimeOf(const ReportSettings& settings) {
    return settings.msPerPosition / 10;
}

}  // namespace

std::string_view themeOf(std::string_view id) {
    const size_t dot = id.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view{} : id.substr(0, dot);
}

int64_t solvedTime(const Verdict& verdict, int64_t wholeTime) {
    // A full-score move with no found time (no analysis line showed it) came at the end.
    const int64_t found = verdict.foundTime < 0 ? wholeTime : verdict.foundTime;
    return std::min(found, wholeTime);
}

ReportTotals computeTotals(const std::vector<ScoredRecord>& resultList,
                           const ReportSettings& settings) {
    ReportTotals totals;
    totals.puzzles = puzzleTotals(resultList);
    const int64_t wholeTime = wholeTimeOf(settings);

    for (const ScoredRecord& scored : resultList) {
        ++totals.tests;
        countKinds(totals, scored);
        totals.maxSum += scored.verdict.maximum;
        totals.engineSum += scored.verdict.points;
        if (scored.verdict.solved) {
            countSolved(totals, scored.verdict, wholeTime);
        } else {
            totals.failed.push_back(nameOf(scored.record));
            totals.timeSum += wholeTime;
        }
    }
    return totals;
}

std::string reportText(const ReportTotals& totals, const ReportSettings& settings) {
    std::string text;
    text += "Number of tests:                       " + std::to_string(totals.tests) + "\n";
    text += "Max score:                             " + std::to_string(totals.maxSum) + "\n";
    text += "Engines score:                         " + std::to_string(totals.engineSum) + "\n";
    text += "Number with full score:                " + std::to_string(totals.fullScore) + "\n";
    text += "Found in: ";
    for (size_t i = 0; i < kReportBuckets.size(); ++i) {
        if (totals.buckets[i] == 0) continue;
        text.append(kReportBuckets[i].label).append(std::to_string(totals.buckets[i])).append(", ");
    }
    text += "\nTime used for tests (wrong answer=" +
            centisecondsText(wholeTimeOf(settings), settings.timeDecimals) +
            "s): " + centisecondsText(totals.timeSum, settings.timeDecimals) + "s\n";
    text += "\nPositions with error (id):\n" + nameListText(totals.failed) + "\n";
    return text + kindsText(totals) + puzzleText(totals.puzzles);
}

std::string printReport(const std::vector<ScoredRecord>& resultList, std::string_view summary,
                        const ReportSettings& settings, ConsoleOutput& console) {
    OutcomeFiles files;
    std::string failure = files.open(settings.goodOnlyFile, settings.notFoundFile);
    for (const ScoredRecord& scored : resultList) {
        const std::string written = files.write(scored.record, scored.verdict.solved);
        if (failure.empty()) failure = written;
    }
    const std::string closed = files.close();
    if (failure.empty()) failure = closed;
    console.write(summary);
    return failure;
}

}  // namespace tarnwick
