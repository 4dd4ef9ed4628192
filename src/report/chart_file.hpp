#pragma once

#include <string>
#include <vector>

#include "epd/test_position.hpp"
#include "report/solution_chart.hpp"
#include "run/run_settings.hpp"

namespace tarnwick {

// Writes the chart as an SVG file; "" or "Cannot write to <file>: <reason>".
std::string writeChartFile(const std::string& path, const SolutionChart& chart);

// The chart of a run's whole result list: one line, named after the engine (the name it gave
// itself, else its program), up to the time per position, titled with the suite's file name.
SolutionChart runChart(const RunSettings& settings, const std::string& engineName,
                       const std::vector<TestPosition>& results);

// A file's name without its folders.
std::string baseName(const std::string& path);

}  // namespace tarnwick
