#pragma once

#include <string>
#include <variant>

#include "engine/analysis_line.hpp"

namespace tarnwick {

// The engine's final move: its text, "resign", "draw", or empty when it named none.
struct BestMove {
    std::string move;
};

// The answers a start-up dialogue waits for.
enum class Answer { uciOk, readyOk };

struct Answered {
    Answer answer;
};

// The name the engine gives itself ("id name", "feature myname").
struct EngineName {
    std::string name;
};

// The engine's word that it rejected a command, as it wrote it.
struct Rejected {
    std::string line;
};

// A line that means nothing to the run.
struct NoEvent {};

// What one line of engine output means to the run, read once by the engine's protocol.
using EngineEvent = std::variant<NoEvent, AnalysisLine, BestMove, Answered, EngineName, Rejected>;

}  // namespace tarnwick
