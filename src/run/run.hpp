#pragma once

#include "platform/console.hpp"
#include "run/run_settings.hpp"

namespace tarnwick {

// Tests the suite the completed settings name with their engine, or reports on the result file
// alone, and returns the exit status.
int runSuite(RunSettings settings, ConsoleOutput console);

}  // namespace tarnwick
