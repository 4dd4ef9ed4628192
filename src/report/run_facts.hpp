#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/search_limits.hpp"

namespace tarnwick {

// What a run's summary tells of it besides its totals, so that it can be run again alike.
struct RunFacts {
    std::string engine;  // the name the engine gave itself, else its command
    std::chrono::system_clock::time_point started;
    std::chrono::system_clock::time_point ended;
    std::string program;                   // this program and its version
    std::vector<std::string> engineSetup;  // every line that set the engine up, as sent
    SearchLimits limits;
    int32_t multipv = 0;  // 0: the engine's own choice
    std::string cpu;      // the processor's model, as the system names it
    unsigned cores = 0;   // the processors the system counts; 0: not known
};

}  // namespace tarnwick
