#pragma once

#include "driver/run_state.hpp"

namespace tarnwick {

// Exit status of a run left at once by a second interrupt.
inline constexpr int kExitInterrupted = 130;

// An interrupt (Ctrl+C, SIGTERM, a closed terminal): the first one while the engine runs asks
// it to quit and wakes the run, which ends through its normal end steps and still reports;
// an interrupt before the engine runs, or while the run is already ending, ends the program
// at once (the result file is complete up to its last line, so nothing is lost).
void onConsoleControl(RunState& run);

}  // namespace tarnwick
