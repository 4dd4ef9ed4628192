#pragma once

#include "run/run_state.hpp"

namespace tarnwick {

// Counts a finished suite entry of run (an engine's own run) in the progress of printer, the
// run whose console prints: record is the entry's new record, or null when none was written.
void countPosition(RunState& printer, const ScoredRecord* record);

// Shows the progress of printer on the bottom line of its console (on a terminal only).
void showProgress(RunState& printer);

}  // namespace tarnwick
