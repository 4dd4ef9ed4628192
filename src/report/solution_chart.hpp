#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scoring/verdict.hpp"

namespace tarnwick {

// One run of the chart: its name in the legend and when each of its full-score positions was
// found, in seconds.
struct ChartRun {
    std::string name;
    std::vector<double> solvedSeconds;
};

// The solution-time chart: for each run, how many positions it solved with full points by time
// t, on a logarithmic time axis from 0.01 s to maxSeconds.
struct SolutionChart {
    std::string suiteName;
    int32_t positions = 0;
    double maxSeconds = 10;
    std::vector<ChartRun> runs;
};

// The run's full-score positions, each at its found time; wholeTime (hundredths of a second)
// stands in for a found time that is missing.
ChartRun chartRunOf(std::string name, const std::vector<ScoredRecord>& results, int64_t wholeTime);

// The chart as one self-contained <svg> element.
std::string solutionChartSvg(const SolutionChart& chart);

// Writes the chart as an SVG file with its XML declaration; "" or "Cannot write to <file>:
// <reason>".
std::string writeChartFile(const std::string& path, const SolutionChart& chart);

}  // namespace tarnwick
