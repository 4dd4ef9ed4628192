#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "epd/puzzle_filter.hpp"
#include "epd/test_position.hpp"
#include "text/line_limit.hpp"

namespace tarnwick {

// Appends one record per EPD line of the file, in file order. Line ends may be LF, CR LF or a
// lone CR; empty lines and comment lines (";" or "#" first) are skipped. A line whose first word
// is no board (eight ranks between "/") is skipped too, and the result holds one message that
// counts such lines, and one that counts the lines whose operations followed words that cannot
// be opcodes. A file that cannot be read adds nothing. The file is read piece by piece, so no
// more than one line is held: a line longer than maxLineBytes is skipped, and the result holds
// a message for each one skipped.
std::vector<std::string> readEpdFile(const std::string& fileName, std::vector<TestPosition>& list,
                                     std::size_t maxLineBytes = kMaxLineBytes);

// The suite: read as a puzzle table (see puzzle_file.hpp) when its first line is the puzzle
// header, with the filter, and as EPD otherwise, as readEpdFile reads it. The filter means
// nothing to an EPD suite: a message then tells that the options that set it are not used.
std::vector<std::string> readSuiteFile(const std::string& fileName, const PuzzleFilter& filter,
                                       std::vector<TestPosition>& list,
                                       std::size_t maxLineBytes = kMaxLineBytes);

}  // namespace tarnwick
