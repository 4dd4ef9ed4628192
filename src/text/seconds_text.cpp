#include "text/seconds_text.hpp"

#include <algorithm>
#include <cstdio>

#include "text/text.hpp"

namespace tarnwick {

namespace {

// Larger numbers saturate, as atoi-read numbers do.
constexpr int64_t kMaxSeconds = 2147483647;

struct Scan {
    std::optional<SecondsValue> value;
    size_t end = 0;  // where the number ends
};

Scan scanSeconds(std::string_view text, size_t i) {
    Scan scan;
    if (i < text.size() && text[i] == '-') return scan;
    if (i < text.size() && text[i] == '+') ++i;
    SecondsValue value;
    int64_t whole = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        whole = std::min<int64_t>(whole * 10 + (text[i] - '0'), kMaxSeconds);
    }
    value.milliseconds = whole * 1000;
    if (i + 1 < text.size() && text[i] == '.' && text[i + 1] >= '0' && text[i + 1] <= '9') {
        ++i;
        int64_t scale = 100;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++value.decimals) {
            value.milliseconds += (text[i] - '0') * scale;
            scale /= 10;
        }
    }
    scan.end = i;
    scan.value = value;
    return scan;
}

}  // namespace

std::optional<SecondsValue> leadingSeconds(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return scanSeconds(text, i).value;
}

std::optional<SecondsValue> exactSeconds(std::string_view text) {
    // The scan takes a sign, which this form may not have.
    const bool digitFirst = !text.empty() && text[0] >= '0' && text[0] <= '9';
    if (!digitFirst && !text.starts_with('.')) return std::nullopt;
    const Scan scan = scanSeconds(text, 0);
    if (scan.end != text.size()) return std::nullopt;
    return scan.value;
}

std::string centisecondsText(int64_t centiseconds, int32_t decimals) {
    const int32_t shown = std::clamp(decimals, 0, 2);
    std::string text = std::to_string(centiseconds / 100);
    if (shown == 0) return text;
    std::string fraction = std::to_string(100 + centiseconds % 100).substr(1);
    return text + "." + fraction.substr(0, static_cast<size_t>(shown));
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

}  // namespace tarnwick
