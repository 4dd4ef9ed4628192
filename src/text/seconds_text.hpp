#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// A time given in seconds with up to three decimals, kept in milliseconds with the number of
// decimals it was written with, so it can be shown back with the same precision.
struct SecondsValue {
    int64_t milliseconds = 0;
    int32_t decimals = 0;
};

// Reads the leading number of text the way atoi reads an integer (white space, then digits,
// then an optional fraction; what follows is ignored, no digits is 0, and a huge number
// saturates). Empty for a negative number.
std::optional<SecondsValue> leadingSeconds(std::string_view text);

// The whole text as a number of seconds: digits with an optional fraction ("12", "0.25", ".5"),
// nothing else.
std::optional<SecondsValue> exactSeconds(std::string_view text);

// Centiseconds as seconds with the given number of decimals (at most two), rounded down.
std::string centisecondsText(int64_t centiseconds, int32_t decimals);

// Seconds with the digits they need and the unit, as labels and limits show them: "0.01 s",
// "10 s".
std::string secondsText(double seconds);

}  // namespace tarnwick
