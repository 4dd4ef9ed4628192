#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// A search score as the engine gave it: centipawns, or a mate in so many moves (negative when
// the side to move is mated).
struct Score {
    enum class Kind { centipawns, mate };
    Kind kind = Kind::centipawns;
    int32_t value = 0;
    // The number an xboard engine printed for a mate, on its own scale.
    std::optional<int32_t> printed;

    // The score as one number: centipawns, a mate counting as 30000 for the side that mates
    // (or as the engine printed it).
    int32_t centipawns() const {
        if (printed) return *printed;
        if (kind == Kind::centipawns) return value;
        return value >= 0 ? kMateCentipawns : -kMateCentipawns;
    }

    static constexpr int32_t kMateCentipawns = 30000;
};

// One analysis line of either protocol, read once into values. Absent keys keep these
// defaults.
struct AnalysisLine {
    int32_t depth = 1;
    Score score;
    bool bound = false;  // the score is only a lower or upper bound: no claim of a mate
    // Which of the engine's best lines this is, from 1 (UCI "multipv"); only the first is the
    // engine's main line.
    int32_t multipv = 1;
    int32_t time = 1;  // hundredths of a second
    int32_t nodes = 1;
    // The thinking line shown on the console ("depth score time nodes variation..."); the
    // variation is its tail from variationStart, move words in the engine's notation.
    std::string echo;
    size_t variationStart = 0;

    std::string_view variation() const {
        return std::string_view(echo).substr(std::min(variationStart, echo.size()));
    }
};

}  // namespace tarnwick
