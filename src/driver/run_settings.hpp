#pragma once

#include <cstdint>
#include <string>

#include "engine/board_setup.hpp"

namespace tarnwick {

// Everything the command line sets, completed once before anything starts and read-only
// from then on.
struct RunSettings {
    std::string engineCommand;
    std::string inputFile;
    std::string resultFile;
    std::string goodOnlyFile;
    std::string notFoundFile;
    std::string clearCommand;
    std::string setupCommand;
    std::string engineOptions;
    int32_t secondsPerPosition = 0;  // 0 becomes 10
    int32_t initMilliseconds = 2000;
    // After the time per position, how long the engine has to move before it is restarted;
    // 0: it may take forever.
    int32_t moveTimeoutSeconds = 10;
    BoardSetupMethod boardSetupMethod = BoardSetupMethod::setboard;
    bool useUci = false;
};

}  // namespace tarnwick
