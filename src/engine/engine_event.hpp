#pragma once

#include <string>

namespace tarnwick {

// What one line of engine output means to the run; the protocol parsers produce these and the
// run's line handler acts on them.
enum class EngineEventKind {
    None,       // nothing the run cares about
    Analysis,   // text is a thinking line: depth, score, time, nodes, variation
    FinalMove,  // text is the final move, "resign", "draw" or empty
    UciOk,
    ReadyOk,
};

struct EngineEvent {
    EngineEventKind kind = EngineEventKind::None;
    std::string text;
};

}  // namespace tarnwick
