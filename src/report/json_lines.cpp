#include "report/json_lines.hpp"

#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "text/text.hpp"
#include "text/utc_time.hpp"

namespace tarnwick {

namespace {

using nlohmann::json;

std::string lineOf(const json& object) {
    return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

json movesOf(std::string_view text) {
    json moves = json::array();
    forEachToken(text, [&](std::string_view word) {
        moves.push_back(std::string(word));
        return true;
    });
    return moves;
}

double secondsOf(int64_t centiseconds) {
    return static_cast<double>(centiseconds) / 100.0;
}

const char* outcomeName(RecordOutcome outcome) {
    switch (outcome) {
        case RecordOutcome::moved:
            return "moved";
        case RecordOutcome::timeout:
            return "timeout";
        case RecordOutcome::crash:
            return "crash";
        case RecordOutcome::skipped:
            return "skipped";
    }
    return "moved";
}

// The engine's last score: a mate of a mate test keeps its distance; no analysis, no score.
json scoreOf(const TestPosition& record) {
    if (record.mate != 0) return {{"mate", record.mate}};
    if (record.acd == 0) return nullptr;
    return {{"cp", record.ce}};
}

json scoreOf(const Score& score) {
    if (score.kind == Score::Kind::mate) return {{"mate", score.value}};
    return {{"cp", score.centipawns()}};
}

// The engine's last full set of lines, each with its score and its moves in SAN.
json linesOf(const std::vector<EngineLine>& lines) {
    json list = json::array();
    for (const EngineLine& line : lines) {
        list.push_back(
            {{"multipv", line.multipv}, {"score", scoreOf(line.score)}, {"pv", movesOf(line.pv)}});
    }
    return list;
}

json mateLinesOf(const Verdict& verdict) {
    json kinds = json::array();
    for (const MateLine kind : verdict.mateLines) kinds.push_back(std::string(mateLineName(kind)));
    return kinds;
}

// The buckets by their labels without " = ", e.g. "1 sec".
json bucketsOf(const ReportTotals& totals) {
    json buckets = json::array();
    for (size_t i = 0; i < kReportBuckets.size(); ++i) {
        std::string_view label = kReportBuckets[i].label;
        label = label.substr(0, label.find(" = "));
        buckets.push_back({{"within", std::string(label)}, {"count", totals.buckets[i]}});
    }
    return buckets;
}

// The limits of every search; null for one the run did not set.
json limitsOf(const RunFacts& facts) {
    const SearchLimits& limits = facts.limits;
    const auto unlessZero = [](int64_t value) { return value == 0 ? json(nullptr) : json(value); };
    return {
        {"time_per_position", static_cast<double>(limits.msPerPosition) / 1000.0},
        {"depth", unlessZero(limits.depth)},
        {"nodes", unlessZero(limits.nodes)},
        {"multipv", unlessZero(facts.multipv)},
        {"early_stop", limits.earlyStopMs ? json(static_cast<double>(*limits.earlyStopMs) / 1000.0)
                                          : json(nullptr)},
        {"move_timeout", limits.moveTimeoutSeconds}};
}

// The mate tests by the band of their distance, as the report counts them: the bands with a test.
json mateBandsOf(const ReportTotals& totals) {
    json bands = json::array();
    for (size_t i = 0; i < kMateBands.size(); ++i) {
        const MateBandCount& band = totals.mateBands[i];
        if (band.tests == 0) continue;
        bands.push_back({{"band", std::string(kMateBands[i].label)},
                         {"tests", band.tests},
                         {"found", band.found},
                         {"best", band.best}});
    }
    return bands;
}

// The puzzles' counts, by rating band and by theme, and the rating estimate; null without
// puzzles.
json puzzlesOf(const PuzzleTotals& puzzles) {
    if (puzzles.all.tested == 0) return nullptr;
    json byRating = json::array();
    for (const auto& [from, counts] : puzzles.byRating) {
        byRating.push_back({{"from", from},
                            {"to", from + kRatingBand - 1},
                            {"solved", counts.solved},
                            {"tested", counts.tested}});
    }
    json byTheme = json::array();
    for (const auto& [theme, counts] : puzzles.byTheme) {
        byTheme.push_back({{"theme", theme}, {"solved", counts.solved}, {"tested", counts.tested}});
    }
    json estimate = nullptr;
    if (puzzles.estimate) {
        estimate = {{"rating", puzzles.estimate->rating},
                    {"low", puzzles.estimate->low},
                    {"high", puzzles.estimate->high}};
    }
    return {{"tested", puzzles.all.tested},
            {"solved", puzzles.all.solved},
            {"by_rating", byRating},
            {"by_theme", byTheme},
            {"rating_estimate", estimate}};
}

json themesOf(const ReportTotals& totals) {
    json themes = json::array();
    for (const ReportTheme& theme : totals.themes) {
        themes.push_back({{"name", theme.name},
                          {"score", theme.score},
                          {"max", theme.maximum},
                          {"positions", theme.count}});
    }
    return themes;
}

}  // namespace

std::string positionJson(const ScoredRecord& scored, RecordOutcome outcome, int32_t engineTime) {
    const TestPosition& record = scored.record;
    const Verdict& verdict = scored.verdict;
    json object;
    object["type"] = "position";
    object["id"] = record.id;
    object["fen"] = record.fenText();
    object["bm"] = movesOf(record.bm);
    object["am"] = movesOf(record.am);
    object["points"] = verdict.points;
    object["max"] = verdict.maximum;
    object["solved"] = verdict.solved;
    object["found_time"] =
        verdict.foundTime >= 0 ? json(secondsOf(verdict.foundTime)) : json(nullptr);
    object["final_move"] = record.pm.empty() ? json(nullptr) : json(record.pm);
    object["depth"] = record.acd;
    object["score"] = scoreOf(record);
    object["nodes"] = record.acn;
    object["pv"] = movesOf(record.pv);
    object["lines"] = linesOf(scored.lines);
    object["mate_lines"] = mateLinesOf(verdict);
    object["engine_time"] = secondsOf(engineTime);
    object["outcome"] = outcomeName(outcome);
    return lineOf(object);
}

std::string summaryJson(const ReportTotals& totals, const ReportSettings& settings,
                        const RunFacts& facts, const nlohmann::json& options) {
    json object;
    object["type"] = "summary";
    object["tests"] = totals.tests;
    object["max_score"] = totals.maxSum;
    object["score"] = totals.engineSum;
    object["full_score"] = totals.fullScore;
    object["found_in"] = bucketsOf(totals);
    object["time_used"] = secondsOf(totals.timeSum);
    object["time_per_position"] = static_cast<double>(settings.msPerPosition) / 1000.0;
    object["failed"] = totals.failed;
    object["unreadable"] = totals.unreadable;
    object["mates"] = {{"tests", totals.mateTests},        {"found", totals.matesFound},
                       {"best", totals.matesBest},         {"shorter", totals.shorterMates},
                       {"unproven", totals.unprovenMates}, {"by_length", mateBandsOf(totals)}};
    object["points_suite"] = {{"positions", totals.pointsSuites},
                              {"score", totals.pointsScore},
                              {"max", totals.pointsMaximum},
                              {"themes", themesOf(totals)}};
    object["puzzles"] = puzzlesOf(totals.puzzles);
    object["rejected_points_lists"] = totals.rejectedLists;
    object["repeated_in_points_lists"] = totals.repeatedInLists;
    object["engine"] = facts.engine;
    object["options"] = options;
    object["program"] = facts.program;
    object["engine_setup"] = facts.engineSetup;
    object["limits"] = limitsOf(facts);
    object["machine"] = {{"cpu", facts.cpu}, {"cores", facts.cores}};
    object["started"] = utcTimeText(facts.started);
    object["ended"] = utcTimeText(facts.ended);
    return lineOf(object);
}

}  // namespace tarnwick
