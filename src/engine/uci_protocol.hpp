#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/engine_event.hpp"
#include "engine/protocol.hpp"

namespace tarnwick {

// The values of an "info" line (given without its leading "info"); the thinking line it
// echoes is "depth score time nodes variation", with the variation's words single-spaced.
// An info line without a variation has no analysis: the variation is empty.
AnalysisLine readSearchInfo(std::string_view keys);

// What one line of a UCI engine means: an analysis line (an "info" line with a variation), a
// final move ("bestmove"), "uciok", "readyok" or the engine's name ("id name").
EngineEvent parseUciLine(std::string_view line);

// UCI: "uci", the options, the set-up command and "isready" at the start; "position fen" and
// "go" for each position, "stop" to ask for the move.
class UciProtocol final : public Protocol {
  public:
    explicit UciProtocol(EngineSettings settings);
    std::string_view name() const override { return "uci"; }
    std::string unsupported(const SearchLimits& limits) const override;
    std::vector<HandshakeStep> handshake() const override;
    std::vector<std::string> startSearch(const SearchStart& start,
                                         const SearchLimits& limits) const override;
    std::string_view moveNow() const override;
    EngineEvent read(std::string_view line) const override { return parseUciLine(line); }
};

}  // namespace tarnwick
