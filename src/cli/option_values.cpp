#include "cli/option_values.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "text/seconds_text.hpp"
#include "text/text.hpp"

namespace tarnwick::option_values {

namespace {

// A whole number from least to most, and nothing else.
template <typename Number>
bool parseWhole(std::string_view text, Number least, Number most, Number& number) {
    const std::optional<Number> value = wholeNumber<Number>(text);
    if (!value || *value < least || *value > most) return false;
    number = *value;
    return true;
}

// Seconds to milliseconds without overflowing the 32-bit field.
int32_t secondsToMilliseconds(int32_t seconds) {
    const int64_t ms = int64_t{seconds} * 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(ms, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The whole value as seconds ("12", "0.25", ".5"), up to a day; empty for anything else.
std::optional<SecondsValue> strictSeconds(std::string_view value) {
    const std::optional<SecondsValue> seconds = exactSeconds(value);
    if (!seconds || seconds->milliseconds > int64_t{86400} * 1000) return std::nullopt;
    return seconds;
}

// Below a hundredth the report could not show the time it was given; 0 asks for the default.
bool setTime(std::optional<SecondsValue> time, RunSettings& s) {
    if (!time || (time->milliseconds > 0 && time->milliseconds < 10)) return false;
    s.limits.msPerPosition = time->milliseconds;
    s.limits.timeDecimals = time->decimals;
    return true;
}

}  // namespace

bool inputFile(std::string_view value, RunSettings& s) {
    s.inputFile = value;
    return true;
}

bool resultFile(std::string_view value, RunSettings& s) {
    s.resultFile = value;
    return true;
}

bool goodOnlyFile(std::string_view value, RunSettings& s) {
    s.goodOnlyFile = value;
    return true;
}

bool notFoundFile(std::string_view value, RunSettings& s) {
    s.notFoundFile = value;
    return true;
}

bool clearCommand(std::string_view value, RunSettings& s) {
    s.engine.clearCommand = value;
    return true;
}

bool setupCommand(std::string_view value, RunSettings& s) {
    s.engine.setupCommand = value;
    return true;
}

bool timePerPosition(std::string_view value, RunSettings& s) {
    return setTime(strictSeconds(value), s);
}

bool originalTime(std::string_view value, RunSettings& s) {
    return setTime(leadingSeconds(value), s);
}

bool initTime(std::string_view value, RunSettings& s) {
    const std::optional<SecondsValue> seconds = strictSeconds(value);
    if (seconds) s.initMilliseconds = static_cast<int32_t>(seconds->milliseconds);
    return seconds.has_value();
}

bool originalInitTime(std::string_view value, RunSettings& s) {
    const int32_t seconds = atoiValue(value);
    if (seconds < 0) return false;
    s.initMilliseconds = secondsToMilliseconds(seconds);
    return true;
}

bool boardSetup(std::string_view value, RunSettings& s) {
    if (value == "edit") {
        s.engine.boardSetup = BoardSetupMethod::edit;
    } else if (value == "cbedit") {
        s.engine.boardSetup = BoardSetupMethod::cbedit;
    } else if (value == "setboard") {
        s.engine.boardSetup = BoardSetupMethod::setboard;
    } else {
        return false;
    }
    return true;
}

bool uci(std::string_view, RunSettings& s) {
    s.engine.protocol = ProtocolKind::uci;
    return true;
}

bool moveTimeout(std::string_view value, RunSettings& s) {
    // Up to a day, which leaves the milliseconds of any sum of them in range.
    return parseWhole(value, 0, 86400, s.limits.moveTimeoutSeconds);
}

bool concurrency(std::string_view value, RunSettings& s) {
    return parseWhole(value, 1, 256, s.concurrency);
}

bool depth(std::string_view value, RunSettings& s) {
    return parseWhole(value, 1, 1000, s.limits.depth);
}

bool nodes(std::string_view value, RunSettings& s) {
    return parseWhole<int64_t>(value, 1, int64_t{1} << 50, s.limits.nodes);
}

bool multipv(std::string_view value, RunSettings& s) {
    return parseWhole(value, 1, 256, s.engine.multipv);
}

bool earlyStop(std::string_view value, RunSettings& s) {
    const std::optional<SecondsValue> seconds = strictSeconds(value);
    if (seconds) s.limits.earlyStopMs = seconds->milliseconds;
    return seconds.has_value();
}

bool shard(std::string_view value, RunSettings& s) {
    // K/N with 0 <= K < N.
    const size_t slash = value.find('/');
    if (slash == std::string_view::npos) return false;
    int32_t index = 0;
    int32_t count = 0;
    if (!parseWhole(value.substr(0, slash), 0, 1 << 20, index)) return false;
    if (!parseWhole(value.substr(slash + 1), 1, 1 << 20, count) || index >= count) return false;
    s.shardIndex = index;
    s.shardCount = count;
    return true;
}

bool rating(std::string_view value, RunSettings& s) {
    const size_t dash = value.find('-');
    if (dash == std::string_view::npos) return false;
    int32_t least = 0;
    int32_t most = 0;
    constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
    if (!parseWhole(value.substr(0, dash), 0, kMost, least)) return false;
    if (!parseWhole(value.substr(dash + 1), least, kMost, most)) return false;
    s.puzzles.byRating = true;
    s.puzzles.minRating = least;
    s.puzzles.maxRating = most;
    return true;
}

bool theme(std::string_view value, RunSettings& s) {
    if (value.empty() || value.find_first_of(kBlanks) != std::string_view::npos) return false;
    s.puzzles.themes.emplace_back(value);
    return true;
}

bool limit(std::string_view value, RunSettings& s) {
    return parseWhole(value, 1, std::numeric_limits<int32_t>::max(), s.puzzles.limit);
}

bool compareFile(std::string_view value, RunSettings& s) {
    if (value.empty()) return false;
    s.compareFiles.emplace_back(value);
    return true;
}

bool minScore(std::string_view value, RunSettings& s) {
    // Digits with an optional fraction: no sign, exponent, infinity or NaN.
    if (value.empty() || value[0] < '0' || value[0] > '9') return false;
    double percent = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), percent,
                                              std::chars_format::fixed);
    if (error != std::errc{} || end != value.data() + value.size()) return false;
    if (!std::isfinite(percent) || percent > 100) return false;
    s.thresholds.minScorePercent = percent;
    return true;
}

bool minSolved(std::string_view value, RunSettings& s) {
    int32_t count = 0;
    if (!parseWhole(value, 0, std::numeric_limits<int32_t>::max(), count)) return false;
    s.thresholds.minSolved = count;
    return true;
}

}  // namespace tarnwick::option_values
