#pragma once

#include <string>

#include "report/solution_chart.hpp"

namespace tarnwick {

// Writes the chart as an SVG file; "" or "Cannot write to <file>: <reason>".
std::string writeChartFile(const std::string& path, const SolutionChart& chart);

}  // namespace tarnwick
