#pragma once

#include "run/run_state.hpp"

namespace tarnwick {

// Exit status of a run left at once by a second interrupt.
inline constexpr int kExitInterrupted = 130;

// An interrupt (Ctrl+C, SIGTERM, a closed terminal): the first one once the engine has been
// started stops every write to the engine from waiting (see EngineProcess::cancelWrites), asks
// the engine to quit and wakes the run, which ends through its normal end steps and still
// reports, also when the run is ending already. An interrupt before the engine is started, or
// a second one, ends the program at once (the result file is complete up to its last line).
void onConsoleControl(RunState& run);

}  // namespace tarnwick
