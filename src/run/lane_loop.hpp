#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run/position_search.hpp"
#include "run/run_state.hpp"

namespace tarnwick {

// Tests the suite entries the run's queue hands out, one at a time, with the run's engine
// (started already). An engine that stops answering or exits is started again before the next
// position; EngineGone when it cannot be brought back. afterPosition runs after each entry, with
// the entry's new record (null when none could be written).
PositionOutcome testPositions(RunState& run,
                              const std::function<void(const ScoredRecord*)>& afterPosition);

// The report's last line when the engine had to be started again.
std::string restartsLine(const std::vector<std::string>& names);

}  // namespace tarnwick
