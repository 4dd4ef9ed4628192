#pragma once

#include <cstdint>
#include <optional>

namespace tarnwick {

// Every limit of one position's search, filled once from the command line.
struct SearchLimits {
    // The time per position; 0 becomes 10 s. Kept with the decimals it was given in, which the
    // report shows its times with. The engine is asked to move once per such period.
    int64_t msPerPosition = 0;
    int32_t timeDecimals = 0;
    int32_t depth = 0;  // 0: no depth limit
    int64_t nodes = 0;  // 0: no node limit
    // A search ends once its first move has earned full points for this long of the engine's
    // own time, or a mate test's best mate is reported; empty: searches take their whole time.
    std::optional<int64_t> earlyStopMs;
    // After the time per position, how long the engine has to move before it is restarted;
    // 0: it may take forever.
    int32_t moveTimeoutSeconds = 10;
};

}  // namespace tarnwick
