#pragma once

#include <cstdint>
#include <string>

#include "engine/board_setup.hpp"

namespace tarnwick {

// The protocol an engine speaks.
enum class ProtocolKind { xboard, uci };

// How the engine is started and spoken to, as the command line and the .eng file set it.
struct EngineSettings {
    std::string command;  // the engine's command line
    ProtocolKind protocol = ProtocolKind::xboard;
    std::string clearCommand;  // before every position; empty: the protocol's default
    std::string setupCommand;  // once after the start; empty: the protocol's default
    std::string options;       // the "setoption" commands of a .eng file, one per line
    BoardSetupMethod boardSetup = BoardSetupMethod::setboard;
    int32_t multipv = 0;  // lines the engine is asked to search at once; 0: as it likes
};

}  // namespace tarnwick
