#include "epd/puzzle_filter.hpp"

#include <algorithm>

#include "text/text.hpp"

namespace tarnwick {

namespace {

bool hasWord(std::string_view words, std::string_view wanted) {
    TokenCursor cursor(words);
    for (std::string_view word = cursor.next(); !word.empty(); word = cursor.next()) {
        if (word == wanted) return true;
    }
    return false;
}

}  // namespace

bool PuzzleFilter::keeps(int32_t rating, std::string_view themeWords) const {
    if (byRating && (rating < minRating || rating > maxRating)) return false;
    return std::all_of(themes.begin(), themes.end(),
                       [&](const std::string& theme) { return hasWord(themeWords, theme); });
}

std::string PuzzleFilter::optionNames(bool withLimit) const {
    std::vector<std::string_view> names;
    if (byRating) names.push_back("--rating");
    if (!themes.empty()) names.push_back("--theme");
    if (withLimit && limit > 0) names.push_back("--limit");
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

}  // namespace tarnwick
