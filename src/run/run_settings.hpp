#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    // The time per position; 0 becomes 10 s. Kept with the decimals it was given in, which
    // the report shows its times with.
    int64_t msPerPosition = 0;
    int32_t timeDecimals = 0;
    int32_t initMilliseconds = 2000;
    // After the time per position, how long the engine has to move before it is restarted;
    // 0: it may take forever.
    int32_t moveTimeoutSeconds = 10;
    BoardSetupMethod boardSetupMethod = BoardSetupMethod::setboard;
    bool useUci = false;

    // Throughput.
    int32_t concurrency = 1;  // engines searching at once
    int32_t depthLimit = 0;   // 0: the search is limited by time only
    int64_t nodeLimit = 0;    // 0: no node limit; UCI engines only
    // A search ends once its first move has earned full points for this long of the engine's
    // own time, or a mate test's best mate is reported; empty: searches take their whole time.
    std::optional<int64_t> earlyStopMs;
    int32_t shardIndex = 0;  // this run tests the positions whose index is shardIndex modulo
    int32_t shardCount = 1;  // shardCount

    // Results.
    std::string jsonFile;                   // JSON Lines, one object per position and a summary
    std::vector<std::string> compareFiles;  // result files compared side by side, no engine
    std::string plotFile;                   // the solution-time chart, SVG
    std::optional<double> minScorePercent;  // below it the exit status is 3
    std::optional<int32_t> minSolved;       // as is fewer full-score positions than this
};

}  // namespace tarnwick
