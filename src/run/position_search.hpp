#pragma once

#include <cstddef>

#include "run/run_state.hpp"

namespace tarnwick {

enum class PositionOutcome {
    Finished,     // the final move ended the search
    Unanswered,   // no final move within the move timeout after the time per position
    EngineGone,   // the engine's output ended
    Interrupted,  // Ctrl+C or a termination signal
};

// Records suite entry index as tested without a move, and says so, when it is not a position
// an engine can be given; false, and nothing done, when it is.
bool skipIfNotLegal(RunState& run, size_t index);

// Tests suite entry index: sets it up, starts the search and waits for the final move, asking
// the engine to move once per period of the time per position.
PositionOutcome testPosition(RunState& run, size_t index);

}  // namespace tarnwick
