#pragma once

#include "engine/engine_event.hpp"
#include "report/json_lines.hpp"
#include "run/run_state.hpp"

namespace tarnwick {

// Acts on one event of the engine's reading thread: an analysis line is judged and echoed, a
// final move is stored (result list and result file), echoed and wakes the run, and the
// handshake answers raise their flags.
void onEngineEvent(RunState& run, const EngineEvent& event);

// Ends the search of the position under test without a final move: it is stored as tested and
// unsolved, so a resumed run does not wait on it again; outcome says why, for the JSON Lines
// file. False when a final move came first.
bool recordWithoutMove(RunState& run, RecordOutcome outcome);

// Tells, once per position, that an engine line passed the length limit and was dropped.
void onOverlongEngineLine(RunState& run);

}  // namespace tarnwick
