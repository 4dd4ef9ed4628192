#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "report/report.hpp"
#include "report/run_facts.hpp"
#include "scoring/verdict.hpp"

namespace tarnwick {

// How the search of a recorded position ended.
enum class RecordOutcome {
    moved,    // the engine gave its final move
    timeout,  // it gave none in time and was restarted
    crash,    // it exited before it moved
    skipped,  // the position is not legal, so it was never sent
};

// One finished position as a JSON object on one line (no line end). Bytes that are not UTF-8
// are replaced by U+FFFD, so any record gives valid JSON. engineTime: the engine's own time at
// its last analysis line, in hundredths of a second.
std::string positionJson(const ScoredRecord& scored, RecordOutcome outcome, int32_t engineTime);

// The run's summary as one JSON object on one line: the report's totals, the engine, the
// options (any JSON object), the facts that make the run one to repeat (the program, the lines
// that set the engine up, the limits, the machine) and the start and end times.
std::string summaryJson(const ReportTotals& totals, const ReportSettings& settings,
                        const RunFacts& facts, const nlohmann::json& options);

}  // namespace tarnwick
