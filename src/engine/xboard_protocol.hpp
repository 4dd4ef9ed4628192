#pragma once

#include <string_view>

#include "engine/engine_event.hpp"
#include "engine/protocol.hpp"

namespace tarnwick {

// Commands sent to a WinBoard engine.
inline constexpr std::string_view kWinboardDefaultSetup =
    "xboard\nhard\neasy\nnew\nlevel 1 1440 0\npost";
inline constexpr std::string_view kWinboardDefaultClear = "new";
// Sent after the clear command: an engine left playing the side to move starts searching as soon
// as the position is set, and "go" then makes it play a second move for the other side, which
// would arrive during the next position's search and end it.
inline constexpr std::string_view kWinboardForce = "force";
inline constexpr std::string_view kWinboardClocks = "time 8640000\notim 8640000";
inline constexpr std::string_view kWinboardGo = "go";
inline constexpr std::string_view kWinboardMoveNow = "?";

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
    std::string_view moveNow() const override { return kWinboardMoveNow; }
    EngineEvent read(std::string_view line) const override { return parseWinboardLine(line); }
};

}  // namespace tarnwick
