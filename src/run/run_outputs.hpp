#pragma once

#include "report/json_lines.hpp"
#include "report/report.hpp"
#include "run/run_state.hpp"

namespace tarnwick {

// Opens the JSON Lines file when the run has one; "" or why it cannot be written.
std::string openJsonFile(RunState& run);

// Appends the newest record of the result list to the JSON Lines file, when the run has one;
// a line that cannot be written is said and ends the run, as for the result file.
void writeJsonRecord(RunState& run, RecordOutcome outcome);

// After the report: the JSON summary and the chart, when asked for, then the thresholds.
// Returns the exit status these give: kExitFailure when a file could not be written,
// kExitBelowThreshold when the totals fall below a threshold, else kExitOk.
int finishReport(RunState& run, const ReportTotals& totals, const ReportSettings& settings);

}  // namespace tarnwick
