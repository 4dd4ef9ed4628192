#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analysis_line.hpp"
#include "epd/test_position.hpp"
#include "scoring/position_scorer.hpp"

namespace tarnwick {

// The position under test and the results: what the engine's lines are judged against. The
// watch decides; the run writes what it decides.
struct WatchState {
    // Guards everything here and the commands of one position.
    std::mutex runLock;
    TestPosition currentPosition;
    PositionScorer scorer;  // of currentPosition, prepared when it is installed
    std::vector<ScoredRecord> resultList;
    // Set when the search command has been sent; the first final move clears it. A final move
    // while no search of ours runs (a late or second move) is ignored.
    bool searchInProgress = false;
    // The variation of the latest analysis line that had one, in the engine's words; it becomes
    // the record's pv, in SAN, when the search ends.
    std::string variation;
    // The points of that variation's first legal move; empty while there is none.
    std::optional<int32_t> firstMovePoints;
    // The engine's own time at its latest analysis line, in hundredths of a second.
    int32_t engineTime = 0;
    // Whether this position's search has already told of an overlong engine line.
    bool overlongSaid = false;
};

// Makes a suite entry the position under test: its scoring is prepared, and what the entry
// carries from an earlier run (found time, variation) is cleared, so it cannot pass for this
// search's findings.
void installPosition(WatchState& watch, const TestPosition& entry);

// Judges one analysis line against the position under test: stores depth, score and nodes,
// keeps the variation and the found time. True when the line's first move earns the maximum
// points, so its echo is highlighted.
bool onAnalysisLine(WatchState& watch, const AnalysisLine& line);

// How a final move ended the search.
struct FinalMoveVerdict {
    bool stored = false;     // false: no search of ours was running, so nothing happened
    bool legal = false;      // false: "Move error"
    bool fullScore = false;  // the move earns the maximum points
};

// Ends the search with the engine's final move: the position, its moves in SAN, becomes the
// last record of the result list.
FinalMoveVerdict onFinalMove(WatchState& watch, std::string_view moveText);

}  // namespace tarnwick
