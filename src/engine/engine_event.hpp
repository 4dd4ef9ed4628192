#pragma once

#include <string>

#include "engine/analysis_line.hpp"

namespace tarnwick {

// What one line of engine output means to the run; the protocol parsers produce these and the
// run's line handler acts on them.
enum class EngineEventKind {
    None,       // nothing the run cares about
    Analysis,   // analysis holds the line's values
    FinalMove,  // move is the final move, "resign", "draw" or empty
    UciOk,
    ReadyOk,
    EngineName,  // move is the name the engine gives itself ("id name", "feature myname")
};

struct EngineEvent {
    EngineEventKind kind = EngineEventKind::None;
    AnalysisLine analysis;
    std::string move;
};

}  // namespace tarnwick
