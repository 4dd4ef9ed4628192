#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Which puzzles of a large puzzle table a run takes (--rating, --theme, --limit).
struct PuzzleFilter {
    bool byRating = false;
    int32_t minRating = 0;
    int32_t maxRating = 0;
    std::vector<std::string> themes;  // each must be one of the puzzle's theme words
    int32_t limit = 0;                // the first this many puzzles kept; 0: all

    // Whether the rating or theme filter is set, which can leave every puzzle out.
    bool selects() const { return byRating || !themes.empty(); }
    bool isSet() const { return selects() || limit > 0; }

    // Whether a puzzle of this rating and these blank-separated theme words passes the rating
    // and theme filters (the limit is the reader's to count).
    bool keeps(int32_t rating, std::string_view themeWords) const;

    // The options that set the filter, for messages: "--rating", "--rating and --theme", ...;
    // --limit only when withLimit.
    std::string optionNames(bool withLimit = true) const;
};

}  // namespace tarnwick
