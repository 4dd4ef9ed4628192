#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "epd/file_chunks.hpp"
#include "epd/line_tally.hpp"
#include "epd/puzzle_filter.hpp"
#include "epd/test_position.hpp"

// Puzzle tables: comma-separated files whose first line is kPuzzleHeader, one puzzle per row.
namespace tarnwick {

inline constexpr std::string_view kPuzzleHeader =
    "PuzzleId,FEN,Moves,Rating,RatingDeviation,Popularity,NbPlays,Themes,GameUrl,OpeningTags";

// Whether a file that begins with these bytes is a puzzle table: its first line is the header,
// after a UTF-8 byte-order mark if there is one; a line end or the end of the bytes follows.
bool startsWithPuzzleHeader(std::string_view firstBytes);

// Turns the lines of a puzzle table into suite entries, in table order. Line 1 is the header;
// empty lines are passed over. Rows the filter leaves out are not checked further; the others
// become entries (see makePuzzleEntry) or count as no puzzles, as does a row with fewer fields
// than the eight up to Themes, a quoted one among them that never closes, or a rating that is no
// whole number. The fields after Themes are not read.
class PuzzleReader {
  public:
    PuzzleReader(const PuzzleFilter& filter, std::vector<TestPosition>& list)
        : filter_(filter), list_(list) {}

    void read(std::string_view line, std::size_t number);
    // The filter's limit is reached: no later row can be kept.
    bool full() const { return filter_.limit > 0 && kept_ >= static_cast<size_t>(filter_.limit); }
    // The messages of what was read: the rows that are no puzzles, and a filter that kept none.
    void tell(std::vector<std::string>& messages, const std::string& fileName) const;

  private:
    const PuzzleFilter& filter_;
    std::vector<TestPosition>& list_;
    std::vector<std::string> fields_;
    std::size_t kept_ = 0;
    LineTally notPuzzles_;
};

// Reads a puzzle table piece by piece, from its start, into list; the messages tell the lines
// over maxLineBytes (skipped) and what PuzzleReader tells. Reading ends once the filter's limit
// is reached, so a limit makes a large table quick to read.
std::vector<std::string> readPuzzleFile(FileChunks& file, const std::string& fileName,
                                        const PuzzleFilter& filter, std::vector<TestPosition>& list,
                                        std::size_t maxLineBytes);

}  // namespace tarnwick
