#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/analysis_line.hpp"
#include "epd/test_position.hpp"
#include "scoring/mate_line.hpp"

namespace tarnwick {

// How an engine's mate score answers a mate test.
enum class MateVerdict {
    none,     // no mate for the side the test names
    found,    // that side's mate, at another distance
    best,     // the distance the test gives
    shorter,  // a quicker mate than the test's: the test is wrong, and this counts as best
};

// What a finished position earned, decided once by its scorer: the report, the JSON lines, the
// progress line, the chart, the comparison and the thresholds all read it instead of scoring the
// record again.
struct Verdict {
    int32_t points = 0;
    int32_t maximum = 0;
    // Full points on a position an engine could be given: one that is not legal is never solved,
    // even when it names no legal move and so has nothing to score.
    bool solved = false;
    // When solved, the found time in hundredths of a second; -1 when no analysis line showed the
    // move, and whenever the position is not solved.
    int32_t foundTime = -1;
    bool mateTest = false;
    int32_t mateTarget = 0;                // of a mate test: the mate it asks for, in signed moves
    MateVerdict mate = MateVerdict::none;  // of a mate test
    std::vector<MateLine> mateLines;       // how its mate claims' lines stand
    bool pointsSuite = false;
    bool puzzle = false;  // solved only when every solver move was found
    // Best and avoid words that name no legal move, and a dm that is no mate count ("dm 0").
    std::vector<std::string> unreadable;
    // The first pair of a points list that names no legal move, so that the list was set aside.
    std::string rejectedPair;
    // The moves the points list names more than once; each counts its larger value.
    std::vector<std::string> repeatedMoves;
};

// One of the engine's lines at the end of a search: which line, its score, its moves in SAN.
struct EngineLine {
    int32_t multipv = 1;
    Score score;
    std::string pv;
};

// A record and its verdict: what every output is made from.
struct ScoredRecord {
    TestPosition record;
    Verdict verdict;
    // The engine's last full set of lines, for the JSON lines; none for a record read from a file.
    std::vector<EngineLine> lines;
};

}  // namespace tarnwick
