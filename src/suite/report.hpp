#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/console.hpp"
#include "suite/test_position.hpp"

namespace tarnwick {

// Where the report writes besides the console, and the time per position it scores with.
struct ReportSettings {
    int64_t msPerPosition = 10000;
    int32_t timeDecimals = 0;  // the report's times are shown with these decimals
    std::string goodOnlyFile;
    std::string notFoundFile;
};

// Scores every result, writes the solved and unsolved files, and prints the summary: tests,
// maximum and achieved score, full-score positions by time bucket, time used and the ids of
// the positions without full points (their FEN when they have none); then, when the suite has
// them, the positions whose moves could not be read, the mates found and the points suite's
// total with subtotals by theme. Returns "" or the first failure to write a solved or
// unsolved file, "Cannot write to <file>: <reason>"; the summary is printed either way.
std::string printReport(const std::vector<TestPosition>& resultList, const ReportSettings& settings,
                        ConsoleOutput& console);

}  // namespace tarnwick
