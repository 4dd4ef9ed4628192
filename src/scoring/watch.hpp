#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analysis_line.hpp"
#include "epd/test_position.hpp"
#include "scoring/position_scorer.hpp"
#include "scoring/verdict.hpp"

namespace tarnwick {

// One of the engine's lines as it last stood, in the engine's words.
struct SearchLine {
    int32_t multipv = 1;
    Score score;
    bool bound = false;
    std::string variation;
};

// The position under test and what the engine's lines have found for it: what its lines are
// judged against. The watch decides; its owner writes what it decides. Not locked: the owner
// guards it.
struct WatchState {
    using Clock = std::chrono::steady_clock;

    TestPosition currentPosition;
    PositionScorer scorer;  // of currentPosition, prepared when it is installed
    // Set when the search starts; the first final move clears it. A final move while no search
    // runs (a late or second move) is ignored.
    bool searchInProgress = false;
    // The variation of the latest analysis line that had one, in the engine's words; it becomes
    // the record's pv, in SAN, when the search ends.
    std::string variation;
    // The points of that variation's first legal move; empty while there is none.
    std::optional<int32_t> firstMovePoints;
    // The engine's own time at its latest analysis line, in hundredths of a second.
    int32_t engineTime = 0;
    // The set of lines the engine is giving now, by multipv from its main line on, and the set
    // before it; the more lines the engine gives at once, the more a set holds.
    std::vector<SearchLine> lines;
    std::vector<SearchLine> earlierLines;
    size_t linesWanted = 1;
    // Whether this position's search has already told of an overlong engine line.
    bool overlongSaid = false;
    // With an early stop: how long a full-points first move must hold, of the engine's time.
    std::optional<int64_t> earlyStopMs;
    // When the search may end because its first move has held full points long enough (a mate
    // test: its best mate was reported), on the tester's clock; empty while it may not.
    std::optional<Clock::time_point> earlyStopDue;
};

// Makes a suite entry the position under test and starts its search: its scoring is prepared,
// and what the entry carries from an earlier run (found time, variation) is cleared, so it
// cannot pass for this search's findings.
void installPosition(WatchState& watch, const TestPosition& entry,
                     std::optional<int64_t> earlyStopMs = std::nullopt, int32_t multipv = 1);

// What one analysis line did.
struct LineJudgement {
    bool fullScore = false;         // its first move earns the maximum: its echo is highlighted
    bool earlyStopChanged = false;  // earlyStopDue was set, moved or cleared
};

// Judges one analysis line, read at now, against the position under test: a main line (multipv
// 1) stores depth, score and nodes, keeps the variation and the found time, and moves the
// early-stop moment; every line is kept among the engine's lines. The moment follows the
// engine's own time: a full-points move found at time t may end the search at t + the
// early-stop time, which only ever comes nearer while the move holds and is cleared when it is
// lost.
LineJudgement onAnalysisLine(WatchState& watch, const AnalysisLine& line,
                             WatchState::Clock::time_point now = WatchState::Clock::now());

// How a final move ended the search.
struct FinalMove {
    bool legal = false;      // false: "Move error"
    bool fullScore = false;  // a legal move that earns the maximum
    ScoredRecord result;     // the position, its moves in SAN, and its verdict
};

// Ends the search with the engine's final move (empty: none came); nothing when no search of
// ours was running.
std::optional<FinalMove> onFinalMove(WatchState& watch, std::string_view moveText);

}  // namespace tarnwick
