#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_settings.hpp"
#include "engine/search_limits.hpp"
#include "epd/puzzle_filter.hpp"
#include "report/thresholds.hpp"

namespace tarnwick {

// Everything the command line sets, completed once before anything starts and read-only
// from then on.
struct RunSettings {
    EngineSettings engine;
    SearchLimits limits;
    std::string inputFile;
    std::string resultFile;
    std::string goodOnlyFile;
    std::string notFoundFile;
    int32_t initMilliseconds = 2000;  // the pause after the engine's initialisation

    int32_t concurrency = 1;  // engines searching at once
    int32_t shardIndex = 0;   // this run tests the positions whose index is shardIndex modulo
    int32_t shardCount = 1;   // shardCount
    PuzzleFilter puzzles;     // which puzzles of a puzzle table are tested

    // Results.
    std::string jsonFile;                   // JSON Lines, one object per position and a summary
    std::vector<std::string> compareFiles;  // result files compared side by side, no engine
    std::string plotFile;                   // the solution-time chart, SVG
    std::string logFile;                    // every line sent to and read from the engines
    std::string htmlFile;                   // the report as one HTML page
    std::string pgnFile;                    // each position's final line as a PGN game
    Thresholds thresholds;                  // below them the exit status is 3
};

}  // namespace tarnwick
