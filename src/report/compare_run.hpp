#pragma once

#include "platform/console.hpp"
#include "run/run_settings.hpp"

namespace tarnwick {

// Compares the result files of the settings side by side, and draws their chart when asked;
// no engine is started. Returns the exit status: kExitFailure when a file holds no records or
// the chart cannot be written.
int compareResultFiles(const RunSettings& settings, ConsoleOutput& console);

}  // namespace tarnwick
