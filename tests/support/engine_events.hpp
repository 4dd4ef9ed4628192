#pragma once

#include <string>
#include <variant>

#include "engine/engine_event.hpp"

namespace tarnwick::testing {

// An event as one short text: "think:<echo>", "move:<move>", "name:<name>", "uciok",
// "readyok" or "none".
inline std::string describe(const EngineEvent& event) {
    if (const auto* line = std::get_if<AnalysisLine>(&event)) return "think:" + line->echo;
    if (const auto* best = std::get_if<BestMove>(&event)) return "move:" + best->move;
    if (const auto* name = std::get_if<EngineName>(&event)) return "name:" + name->name;
    if (const auto* rejected = std::get_if<Rejected>(&event)) return "rejected:" + rejected->line;
    if (const auto* answered = std::get_if<Answered>(&event)) {
        return answered->answer == Answer::uciOk ? "uciok" : "readyok";
    }
    return "none";
}

}  // namespace tarnwick::testing
