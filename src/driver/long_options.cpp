#include "driver/long_options.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "text/seconds_text.hpp"

namespace tarnwick {

namespace {

// A whole non-negative number of seconds up to a day, which leaves the milliseconds of any
// sum of them in range; nothing else is read as one.
bool parseSeconds(std::string_view text, int32_t& seconds) {
    constexpr int32_t kMaxSeconds = 86400;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return false;
    if (value < 0 || value > kMaxSeconds) return false;
    seconds = value;
    return true;
}

// A whole number from least to most, and nothing else.
template <typename Number>
bool parseWhole(std::string_view text, Number least, Number most, Number& number) {
    Number value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return false;
    if (value < least || value > most) return false;
    number = value;
    return true;
}

// K/N with 0 <= K < N.
bool parseShard(std::string_view text, RunSettings& s) {
    const size_t slash = text.find('/');
    if (slash == std::string_view::npos) return false;
    int32_t index = 0;
    int32_t count = 0;
    if (!parseWhole(text.substr(0, slash), 0, 1 << 20, index)) return false;
    if (!parseWhole(text.substr(slash + 1), 1, 1 << 20, count) || index >= count) return false;
    s.shardIndex = index;
    s.shardCount = count;
    return true;
}

struct LongOption {
    std::string_view name;
    std::string_view usage;
    // Sets the option from its value; false when the value is not one the option takes.
    bool (*apply)(std::string_view value, RunSettings& settings);
};

constexpr LongOption kLongOptions[] = {
    {"move-timeout",
     "  --move-timeout SECONDS  Seconds to wait for the move after the time is up before the\n"
     "     engine is restarted and the position counts as unsolved; 0 waits forever.\n"
     "     Default=10.\n",
     [](std::string_view value, RunSettings& s) {
         return parseSeconds(value, s.moveTimeoutSeconds);
     }},
    {"concurrency",
     "  --concurrency N  Engines searching at once, each its own process. Default=1.\n",
     [](std::string_view value, RunSettings& s) {
         return parseWhole(value, 1, 256, s.concurrency);
     }},
    {"depth",
     "  --depth D  Searches each position to depth D; the time per position still ends it.\n",
     [](std::string_view value, RunSettings& s) {
         return parseWhole(value, 1, 1000, s.depthLimit);
     }},
    {"nodes",
     "  --nodes N  Searches each position for N nodes (UCI engines); the time per position\n"
     "     still ends it.\n",
     [](std::string_view value, RunSettings& s) {
         return parseWhole<int64_t>(value, 1, int64_t{1} << 50, s.nodeLimit);
     }},
    {"early-stop",
     "  --early-stop SECONDS  Ends a search once its first move has earned full points for\n"
     "     this long of the engine's time, or once a mate test's best mate is reported.\n",
     [](std::string_view value, RunSettings& s) {
         const std::optional<SecondsValue> seconds = exactSeconds(value);
         if (seconds) s.earlyStopMs = seconds->milliseconds;
         return seconds.has_value();
     }},
    {"shard", "  --shard K/N  Tests only the positions whose index, from 0, is K modulo N.\n",
     [](std::string_view value, RunSettings& s) { return parseShard(value, s); }},
    {"json",
     "",  // usage comes with the table-driven command line
     [](std::string_view value, RunSettings& s) {
         s.jsonFile = value;
         return !value.empty();
     }},
    {"compare",
     "",  // usage comes with the table-driven command line
     [](std::string_view value, RunSettings& s) {
         s.compareFiles.emplace_back(value);
         return !value.empty();
     }},
    {"plot",
     "",  // usage comes with the table-driven command line
     [](std::string_view value, RunSettings& s) {
         s.plotFile = value;
         return !value.empty();
     }},
    {"min-score",
     "",  // usage comes with the table-driven command line
     [](std::string_view value, RunSettings& s) {
         const std::optional<SecondsValue> percent = exactSeconds(value);
         if (!percent || percent->milliseconds > 100000) return false;
         s.minScorePercent = static_cast<double>(percent->milliseconds) / 1000.0;
         return true;
     }},
    {"min-solved",
     "",  // usage comes with the table-driven command line
     [](std::string_view value, RunSettings& s) {
         int32_t count = 0;
         if (!parseWhole(value, 0, INT32_MAX, count)) return false;
         s.minSolved = count;
         return true;
     }},
};

const LongOption* findLongOption(std::string_view name) {
    const auto* found = std::find_if(std::begin(kLongOptions), std::end(kLongOptions),
                                     [&](const LongOption& o) { return o.name == name; });
    return found == std::end(kLongOptions) ? nullptr : found;
}

}  // namespace

bool isLongOption(std::string_view word) {
    return word.size() > 2 && word.starts_with("--");
}

std::string applyLongOption(const std::vector<std::string>& words, size_t& index,
                            RunSettings& settings) {
    const std::string_view word = words[index];
    const size_t equals = word.find('=');
    const std::string_view name =
        word.substr(2, equals == std::string_view::npos ? word.npos : equals - 2);
    const LongOption* option = findLongOption(name);
    if (option == nullptr) return "Unknown option --" + std::string(name) + ".";
    std::string_view value;
    if (equals != std::string_view::npos) {
        value = word.substr(equals + 1);
    } else if (index + 1 < words.size()) {
        value = words[++index];
    } else {
        return "Missing value for option --" + std::string(name) + ".";
    }
    if (!option->apply(value, settings)) {
        return "Invalid value for option --" + std::string(name) + ": " + std::string(value);
    }
    return {};
}

std::string longOptionsUsage() {
    std::string text;
    for (const LongOption& option : kLongOptions) text += option.usage;
    return text;
}

}  // namespace tarnwick
