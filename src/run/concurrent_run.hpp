#pragma once

#include <optional>

#include "run/position_search.hpp"
#include "run/run_state.hpp"

namespace tarnwick {

// Tests run's queue with settings.concurrency engines at once, each its own process, reader
// and watch. Each position's console block is printed whole when it finishes; the records
// join run's result list in suite order, and the engines' restarts join run's. Empty when no
// engine could be started.
std::optional<PositionOutcome> testConcurrently(RunState& run);

}  // namespace tarnwick
