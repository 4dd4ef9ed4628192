#include "run/run_report.hpp"

#include <thread>

#include <nlohmann/json.hpp>

#include "engine/protocol_choice.hpp"
#include "platform/system.hpp"
#include "report/html_report.hpp"
#include "report/json_lines.hpp"
#include "report/pgn.hpp"
#include "report/report.hpp"
#include "report/solution_chart.hpp"
#include "report/thresholds.hpp"
#include "run/exit_status.hpp"
#include "text/text.hpp"
#include "text/version.hpp"

namespace tarnwick {

namespace {

// The settings of the run, as the summary records them.
nlohmann::json optionsJson(const RunSettings& s) {
    nlohmann::json options = {
        {"engine_command", s.engine.command},
        {"protocol", makeProtocol(s.engine)->name()},
        {"input_file", s.inputFile},
        {"result_file", s.resultFile},
        {"solved_file", s.goodOnlyFile},
        {"unsolved_file", s.notFoundFile},
        {"time_per_position", static_cast<double>(s.limits.msPerPosition) / 1000.0},
        {"init_time", static_cast<double>(s.initMilliseconds) / 1000.0},
        {"move_timeout", s.limits.moveTimeoutSeconds},
        {"board_setup", static_cast<int>(s.engine.boardSetup)},
        {"clear_command", s.engine.clearCommand},
        {"setup_command", s.engine.setupCommand},
        {"engine_options", s.engine.options},
        {"concurrency", s.concurrency},
        {"depth", s.limits.depth},
        {"nodes", s.limits.nodes},
        {"shard", std::to_string(s.shardIndex) + "/" + std::to_string(s.shardCount)},
        {"json_file", s.jsonFile},
        {"plot_file", s.plotFile},
        {"pgn_file", s.pgnFile},
    };
    options["early_stop"] =
        s.limits.earlyStopMs ? nlohmann::json(static_cast<double>(*s.limits.earlyStopMs) / 1000.0)
                             : nlohmann::json(nullptr);
    options["min_score"] = s.thresholds.minScorePercent
                               ? nlohmann::json(*s.thresholds.minScorePercent)
                               : nlohmann::json(nullptr);
    options["min_solved"] =
        s.thresholds.minSolved ? nlohmann::json(*s.thresholds.minSolved) : nlohmann::json(nullptr);
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
    chart.maxSeconds = static_cast<double>(settings.limits.msPerPosition) / 1000.0;
    std::string engine = engineName;
    if (engine.empty()) engine = baseName(nthToken(settings.engine.command, 1));
    if (engine.empty()) engine = baseName(settings.resultFile);
    chart.runs.push_back(chartRunOf(engine, results, settings.limits.msPerPosition / 10));
    return chart;
}

// The tags the run's games share: the suite's name, the run's date when it tested positions, and
// the engine's name as it gave it, else its program's.
PgnHeader pgnHeaderOf(const RunSettings& settings, const RunEnd& end) {
    PgnHeader header;
    header.event = baseName(settings.inputFile.empty() ? settings.resultFile : settings.inputFile);
    if (end.tested) header.date = pgnDate(end.started);
    header.white = end.engineName;
    if (header.white.empty()) header.white = baseName(nthToken(settings.engine.command, 1));
    return header;
}

// What makes the run one to repeat: the program, the engine and the lines that set it up as they
// were sent, the limits and the machine.
RunFacts factsOf(const RunSettings& settings, const RunEnd& end) {
    RunFacts facts;
    facts.engine = end.engineName.empty() ? settings.engine.command : end.engineName;
    facts.started = end.started;
    facts.ended = std::chrono::system_clock::now();
    facts.program = programVersion();
    for (const HandshakeStep& step : makeProtocol(settings.engine)->handshake()) {
        if (step.command.empty()) continue;
        forEachLine(step.command,
                    [&](std::string_view line) { facts.engineSetup.emplace_back(line); });
    }
    facts.limits = settings.limits;
    facts.multipv = settings.engine.multipv;
    facts.cpu = cpuModel();
    facts.cores = std::thread::hardware_concurrency();
    return facts;
}

// The page of the run's report and positions; the facts that make it one to repeat when an
// engine was set up, which a report of a result file alone has not.
HtmlReport runPage(const RunSettings& settings, const RunEnd& end, const std::string& summary,
                   const SolutionChart& chart, const RunFacts& facts) {
    HtmlReport page;
    page.chart = chart;
    const std::string& engine = chart.runs.front().name;
    page.title = "Report of " + chart.suiteName;
    if (!settings.engine.command.empty()) {
        page.title = engine + " on " + chart.suiteName;
        page.facts = facts;
    }
    page.summary = summary;
    page.runs.push_back({engine, end.results});
    for (const std::string& file : {settings.inputFile, settings.resultFile}) {
        if (!file.empty()) page.files.push_back(file);
    }
    page.program = programVersion();
    return page;
}

// The JSON summary, the chart, the page and the games; false when one could not be written
// (the message is said). The summary and the page share one set of facts, so that they tell
// the same end time.
bool writeExtras(const RunSettings& settings, const RunEnd& end, const ReportTotals& totals,
                 const std::string& summary, const ReportSettings& report, SharedLineFile& json,
                 ConsoleOutput& console) {
    const RunFacts facts = factsOf(settings, end);
    const SolutionChart chart = runChart(settings, end.engineName, end.results);
    bool written = true;
    // Writes one file when the run asks for it; the writer gives "" or why it failed.
    const auto writeOut = [&](const std::string& file, const auto& writer) {
        if (file.empty()) return;
        if (const std::string failure = writer(); !failure.empty()) {
            console.write(failure + "\n");
            written = false;
        }
    };
    if (json.isOpen()) {
        writeOut(settings.jsonFile, [&] {
            return json.append(summaryJson(totals, report, facts, optionsJson(settings)));
        });
    }
    writeOut(settings.plotFile, [&] { return writeChartFile(settings.plotFile, chart); });
    writeOut(settings.htmlFile, [&] {
        return writeHtmlFile(settings.htmlFile, runPage(settings, end, summary, chart, facts));
    });
    writeOut(settings.pgnFile, [&] {
        return writePgnFile(settings.pgnFile, end.results, pgnHeaderOf(settings, end));
    });
    return written;
}

}  // namespace

int reportRun(const RunSettings& settings, const RunEnd& end, SharedLineFile& json,
              ConsoleOutput& console) {
    ReportSettings report;
    report.msPerPosition = settings.limits.msPerPosition;
    report.timeDecimals = settings.limits.timeDecimals;
    report.goodOnlyFile = settings.goodOnlyFile;
    report.notFoundFile = settings.notFoundFile;
    const ReportTotals totals = computeTotals(end.results, report);
    const std::string summary = reportText(totals, report);
    const std::string failure = printReport(end.results, summary, report, console);
    if (!failure.empty()) console.write(failure + "\n");
    if (!writeExtras(settings, end, totals, summary, report, json, console)) return kExitFailure;
    const std::vector<std::string> shortfalls = thresholdShortfalls(totals, settings.thresholds);
    for (const std::string& line : shortfalls) console.write(line + "\n");
    if (!failure.empty()) return kExitFailure;
    return shortfalls.empty() ? kExitOk : kExitBelowThreshold;
}

}  // namespace tarnwick
