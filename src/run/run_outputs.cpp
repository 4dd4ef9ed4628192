#include "run/run_outputs.hpp"

#include <nlohmann/json.hpp>

#include "report/chart_file.hpp"
#include "report/thresholds.hpp"
#include "run/run.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// The settings of the run, as the summary records them.
nlohmann::json optionsJson(const RunSettings& s) {
    nlohmann::json options = {
        {"engine_command", s.engineCommand},
        {"protocol", s.useUci ? "uci" : "xboard"},
        {"input_file", s.inputFile},
        {"result_file", s.resultFile},
        {"solved_file", s.goodOnlyFile},
        {"unsolved_file", s.notFoundFile},
        {"time_per_position", static_cast<double>(s.msPerPosition) / 1000.0},
        {"init_time", static_cast<double>(s.initMilliseconds) / 1000.0},
        {"move_timeout", s.moveTimeoutSeconds},
        {"board_setup", static_cast<int>(s.boardSetupMethod)},
        {"clear_command", s.clearCommand},
        {"setup_command", s.setupCommand},
        {"engine_options", s.engineOptions},
        {"concurrency", s.concurrency},
        {"depth", s.depthLimit},
        {"nodes", s.nodeLimit},
        {"shard", std::to_string(s.shardIndex) + "/" + std::to_string(s.shardCount)},
        {"json_file", s.jsonFile},
        {"plot_file", s.plotFile},
    };
    options["early_stop"] = s.earlyStopMs
                                ? nlohmann::json(static_cast<double>(*s.earlyStopMs) / 1000.0)
                                : nlohmann::json(nullptr);
    options["min_score"] =
        s.minScorePercent ? nlohmann::json(*s.minScorePercent) : nlohmann::json(nullptr);
    options["min_solved"] = s.minSolved ? nlohmann::json(*s.minSolved) : nlohmann::json(nullptr);
    return options;
}

// The chart of a run's whole result list: one line, named after the engine (the name it gave
// itself, else its program), up to the time per position, titled with the suite's file name.
SolutionChart runChart(const RunSettings& settings, const std::string& engineName,
                       const std::vector<ScoredRecord>& results) {
    SolutionChart chart;
    chart.suiteName =
        baseName(settings.inputFile.empty() ? settings.resultFile : settings.inputFile);
    chart.positions = static_cast<int32_t>(results.size());
    chart.maxSeconds = static_cast<double>(settings.msPerPosition) / 1000.0;
    std::string engine = engineName;
    if (engine.empty()) engine = baseName(nthToken(settings.engineCommand, 1));
    if (engine.empty()) engine = baseName(settings.resultFile);
    const auto wholeTime = static_cast<int32_t>(settings.msPerPosition / 10);
    chart.runs.push_back(chartRunOf(engine, results, wholeTime));
    return chart;
}

// The JSON summary and the chart; false when one could not be written (the message is said).
bool writeExtras(RunState& run, const ReportTotals& totals, const ReportSettings& settings) {
    bool written = true;
    if (run.jsonFile->isOpen()) {
        const RunFacts facts{run.engineName.empty() ? run.settings.engineCommand : run.engineName,
                             run.started, std::chrono::system_clock::now()};
        const std::string failure =
            run.jsonFile->append(summaryJson(totals, settings, facts, optionsJson(run.settings)));
        if (!failure.empty()) run.console.write(failure + "\n");
        written = failure.empty();
    }
    if (!run.settings.plotFile.empty()) {
        const std::string failure = writeChartFile(
            run.settings.plotFile, runChart(run.settings, run.engineName, run.watch.resultList));
        if (!failure.empty()) run.console.write(failure + "\n");
        written = written && failure.empty();
    }
    return written;
}

}  // namespace

std::string openJsonFile(RunState& run) {
    return run.settings.jsonFile.empty() ? std::string()
                                         : run.jsonFile->open(run.settings.jsonFile, "JSON file");
}

void writeJsonRecord(RunState& run, RecordOutcome outcome) {
    if (!run.jsonFile->isOpen() || run.watch.resultList.empty()) return;
    const std::string failure = run.jsonFile->append(
        positionJson(run.watch.resultList.back(), outcome, run.watch.engineTime));
    if (failure.empty()) return;
    run.console.write(failure + "\n");
    run.writeFailed = true;
}

int finishReport(RunState& run, const ReportTotals& totals, const ReportSettings& settings) {
    if (!writeExtras(run, totals, settings)) return kExitFailure;
    const std::vector<std::string> shortfalls = thresholdShortfalls(totals, run.settings);
    for (const std::string& line : shortfalls) run.console.write(line + "\n");
    return shortfalls.empty() ? kExitOk : kExitBelowThreshold;
}

}  // namespace tarnwick
