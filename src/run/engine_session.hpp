#pragma once

#include <optional>

#include "run/run_state.hpp"

namespace tarnwick {

// Starts the engine and its reader and brings the engine into the dialogue: the handshake, the
// set-up commands and the init pause. The exit status when that fails (its message printed).
std::optional<int> startEngine(RunState& run);

// Asks the engine to quit and stops the reader and the engine (terminated, then killed, when
// it does not quit), ready for a new start.
void stopEngine(RunState& run);

// Stops the engine for good at the end of the run.
void endEngine(RunState& run);

}  // namespace tarnwick
