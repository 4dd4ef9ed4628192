#include "driver/long_options.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>

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
