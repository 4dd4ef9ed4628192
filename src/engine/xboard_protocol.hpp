#pragma once

#include <string_view>

#include "engine/engine_event.hpp"
#include "engine/protocol.hpp"

namespace tarnwick {

// What one line of a WinBoard engine means: its move ("move X", "N. ... X"), a result or
// resignation (final moves "resign" or "draw"), a thinking line of at least four numbers, its
// name, or a command it rejected ("Error ...", "Illegal move ...", "Invalid move ...").
EngineEvent parseWinboardLine(std::string_view line);

// xboard (WinBoard): the set-up command at the start; the clear command, "force", the board,
// the clocks, "sd" for a depth and "go" for each position, "?" to ask for the move.
class XboardProtocol final : public Protocol {
  public:
    explicit XboardProtocol(EngineSettings settings);
    std::string_view name() const override { return "xboard"; }
    std::string unsupported(const SearchLimits& limits) const override;
    std::vector<HandshakeStep> handshake() const override;
    std::vector<std::string> startSearch(const SearchStart& start,
                                         const SearchLimits& limits) const override;
    std::string_view moveNow() const override;
    EngineEvent read(std::string_view line) const override { return parseWinboardLine(line); }
};

}  // namespace tarnwick
