#include "report/compare_run.hpp"

#include <algorithm>

#include "epd/epd_file.hpp"
#include "report/compare.hpp"
#include "report/html_report.hpp"
#include "report/report.hpp"
#include "report/solution_chart.hpp"
#include "scoring/position_scorer.hpp"
#include "text/text.hpp"
#include "text/version.hpp"

namespace tarnwick {

namespace {

// The smallest of 1, 2, 5 times a power of ten above the largest found time, so that the last
// step shows before the end of the axis; 10 s when no run found anything in time.
double axisEnd(int32_t largestFound) {
    if (largestFound <= 0) return 10;
    double end = 0.1;
    for (int i = 0; end * 100 <= largestFound; ++i) end *= i % 3 == 1 ? 2.5 : 2;
    return end;
}

// The suite the results are of, as their ids tell it ("WAC" of "WAC.001"), else the first
// file's name.
std::string suiteNameOf(const ComparedRun& first) {
    const std::string_view theme = themeOf(first.results.front().record.id);
    return theme.empty() ? first.name : std::string(theme);
}

// The runs on one chart; its title counts the suite and the positions of all runs together.
SolutionChart compareChart(const std::vector<ComparedRun>& runs) {
    SolutionChart chart;
    chart.suiteName = suiteNameOf(runs.front());
    chart.positions = static_cast<int32_t>(matchPositions(runs).size());
    // Only solved positions are drawn, so only their times may stretch the axis.
    int32_t largest = 0;
    for (const ComparedRun& run : runs) {
        for (const ScoredRecord& scored : run.results) {
            if (scored.verdict.solved) largest = std::max(largest, scored.verdict.foundTime);
        }
    }
    chart.maxSeconds = axisEnd(largest);
    for (const ComparedRun& run : runs) {
        chart.runs.push_back(chartRunOf(run.name, run.results, INT32_MAX));
    }
    return chart;
}

// The comparison's page: its table, its chart and a row per position of any run.
HtmlReport comparePage(const std::vector<std::string>& files, std::vector<ComparedRun> runs,
                       std::string summary, SolutionChart chart) {
    HtmlReport page;
    page.title = "Compared on " + chart.suiteName;
    page.summary = std::move(summary);
    page.chart = std::move(chart);
    page.runs = std::move(runs);
    page.files = files;
    page.program = programVersion();
    return page;
}

}  // namespace

bool compareResultFiles(const std::vector<std::string>& files, const std::string& plotFile,
                        const std::string& htmlFile, ConsoleOutput& console) {
    std::vector<ComparedRun> runs;
    for (const std::string& file : files) {
        std::vector<TestPosition> records;
        for (const std::string& message : readEpdFile(file, records)) console.write(message + "\n");
        ComparedRun run{baseName(file), scoreRecords(std::move(records))};
        if (run.results.empty()) {
            console.write("No epd-position in " + file + ".\n");
            return false;
        }
        runs.push_back(std::move(run));
    }
    std::string summary = compareText(runs);
    console.write(summary);
    if (plotFile.empty() && htmlFile.empty()) return true;
    SolutionChart chart = compareChart(runs);
    std::string failure;
    if (!plotFile.empty()) failure = writeChartFile(plotFile, chart);
    if (failure.empty() && !htmlFile.empty()) {
        failure = writeHtmlFile(
            htmlFile, comparePage(files, std::move(runs), std::move(summary), std::move(chart)));
    }
    if (!failure.empty()) console.write(failure + "\n");
    return failure.empty();
}

}  // namespace tarnwick
