#pragma once

#include "driver/run_state.hpp"
#include "engine/engine_event.hpp"

namespace tarnwick {

// Acts on one event of the engine's reading thread: an analysis line is judged and echoed, a
// final move is stored (result list and result file), echoed and wakes the run, and the
// handshake answers raise their flags.
void onEngineEvent(RunState& run, const EngineEvent& event);

}  // namespace tarnwick
