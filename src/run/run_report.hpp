#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/console.hpp"
#include "run/run_settings.hpp"
#include "run/shared_line_file.hpp"
#include "scoring/verdict.hpp"

namespace tarnwick {

// What a run knows of itself at its end, besides its settings.
struct RunEnd {
    const std::vector<ScoredRecord>& results;  // the result file's and this run's, in suite order
    std::string engineName;                    // as the engine named itself; empty: it did not
    std::chrono::system_clock::time_point started;
    bool tested = true;  // false for a report of earlier results alone
};

// Prints the report and writes the solved and unsolved files, the JSON summary (to json, when it
// is open), the chart and the PGN games, then tells the thresholds the results fall below. Returns
// kExitFailure when a file could not be written (the message is printed), kExitBelowThreshold when
// the results fall below a threshold, else kExitOk.
int reportRun(const RunSettings& settings, const RunEnd& end, SharedLineFile& json,
              ConsoleOutput& console);

}  // namespace tarnwick
