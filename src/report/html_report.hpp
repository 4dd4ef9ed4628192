#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/compare.hpp"
#include "report/run_facts.hpp"
#include "report/solution_chart.hpp"

namespace tarnwick {

// What the HTML report shows: a run's page holds one run, a comparison's several.
struct HtmlReport {
    std::string title;
    std::string summary;  // the report or the comparison as the console shows it
    SolutionChart chart;
    std::vector<ComparedRun> runs;
    std::optional<RunFacts> facts;   // of a run of an engine; none for result files alone
    std::vector<std::string> files;  // the files the page was made from
    std::string program;             // this program and its version
};

// The report as one HTML page that needs nothing else to open: the summary, the chart, a row per
// position with its board and each run's answer (rows where the runs differ first and marked,
// unsolved answers tinted), then what makes the run one to repeat.
std::string htmlReport(const HtmlReport& report);

// Writes the page; "" or "Cannot write to <file>: <reason>".
std::string writeHtmlFile(const std::string& path, const HtmlReport& report);

}  // namespace tarnwick
