#include "text/text.hpp"

#include <cstdio>
#include <limits>

namespace tarnwick {

std::string_view nthTokenView(std::string_view text, int n, std::string_view delimiters) {
    if (n < 1) n = 1;
    size_t i = 0;
    const size_t size = text.size();
    while (i < size) {
        i = text.find_first_not_of(delimiters, i);
        if (i == std::string_view::npos) break;
        size_t end = text.find_first_of(delimiters, i);
        if (end == std::string_view::npos) end = size;
        if (--n == 0) return text.substr(i, end - i);
        i = end;
    }
    return {};
}

std::string nthToken(std::string_view text, int n, std::string_view delimiters) {
    return std::string(nthTokenView(text, n, delimiters));
}

std::string_view trimmedView(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string_view TokenCursor::rest() const {
    return trimmedView(text_.substr(pos_));
}

std::string trimmed(std::string_view text) {
    return std::string(trimmedView(text));
}

void trimControls(std::string& buffer) {
    auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    size_t end = buffer.size();
    while (end > 0 && isControl(buffer[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && isControl(buffer[begin])) ++begin;
    buffer.erase(end);
    buffer.erase(0, begin);
}

std::string collapseBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachToken(text, [&](std::string_view token) {
        if (!out.empty()) out += ' ';
        out += token;
        return true;
    });
    return out;
}

bool isWholeNumber(std::string_view text, bool plusAllowed) {
    if (text.starts_with('-') || (plusAllowed && text.starts_with('+'))) text.remove_prefix(1);
    return isNumber(text, 10);
}

bool isNumber(std::string_view text, int base) {
    std::string_view allowed;
    switch (base) {
        case 8:
            allowed = "01234567";
            break;
        case 10:
            allowed = "0123456789";
            break;
        case 16:
            allowed = "0123456789abcdefABCDEF";
            break;
        default:
            allowed = "0123456789.+- ";
            break;
    }
    return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

int32_t atoiValue(std::string_view text) {
    size_t i = 0;
    // C's isspace in the "C" locale: the blank set.
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kLimit) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

std::string percentOf(int32_t part, int32_t whole) {
    if (whole <= 0) return "0.0";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", 100.0 * part / whole);
    return text;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace tarnwick
