#pragma once

#include <string_view>

#include "engine/engine_event.hpp"

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
// resignation (final moves "resign" or "draw"), or a thinking line of at least four numbers.
EngineEvent parseWinboardLine(std::string_view line);

}  // namespace tarnwick
