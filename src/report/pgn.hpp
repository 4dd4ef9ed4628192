#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "scoring/verdict.hpp"

namespace tarnwick {

// The tags every game of a run shares.
struct PgnHeader {
    std::string event;  // the suite's name
    std::string date;   // "YYYY.MM.DD"; empty when not known
    std::string white;  // the engine's name; empty when not known
};

// A position as one PGN game: the Seven Tag Roster, SetUp and the FEN as an engine is sent it,
// the expected moves (and the id) in a comment, then the engine's final line, up to its first
// move that is not legal, with the score and depth in a comment after its first move. Tag values
// and comments are escaped; movetext lines stay within 79 columns.
std::string pgnGame(const TestPosition& record, const PgnHeader& header);

// A game per record, in order, each followed by a blank line.
std::string pgnText(const std::vector<ScoredRecord>& results, const PgnHeader& header);

// The UTC date of a time as a PGN Date tag gives it: "2026.12.09".
std::string pgnDate(std::chrono::system_clock::time_point time);

// Writes the games of pgnText; "" or "Cannot write to <file>: <reason>".
std::string writePgnFile(const std::string& path, const std::vector<ScoredRecord>& results,
                         const PgnHeader& header);

}  // namespace tarnwick
