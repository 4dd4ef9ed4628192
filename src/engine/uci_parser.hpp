#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/engine_event.hpp"

namespace tarnwick {

// Commands sent to a UCI engine.
inline constexpr std::string_view kUciCommand = "uci";
inline constexpr std::string_view kUciIsReady = "isready";
inline constexpr std::string_view kUciDefaultClear = "ucinewgame";
inline constexpr std::string_view kUciPositionPrefix = "position fen ";
inline constexpr std::string_view kUciGo = "go wtime 7200000 btime 7200000 movestogo 1";
inline constexpr std::string_view kUciStop = "stop";

// The keys of one "info" line that the thinking line carries; absent keys keep these values.
struct SearchInfo {
    int32_t depth = 1;
    int32_t score = 0;
    int32_t time = 1;  // hundredths of a second
    int32_t nodes = 1;
    std::string pv;  // every move token preceded by one blank
};

// Reads the keys of an "info" line (the line without its leading "info").
SearchInfo readSearchInfo(std::string_view keys);

// The thinking line "depth score time nodes pv..." of a search info.
std::string thinkingLineOf(const SearchInfo& info);

// What one line of a UCI engine means: an analysis line (an "info" line with a variation,
// rewritten as a thinking line), a final move ("bestmove"), "uciok" or "readyok".
EngineEvent parseUciLine(std::string_view line);

}  // namespace tarnwick
