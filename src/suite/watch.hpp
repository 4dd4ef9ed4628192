#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "chess/notation.hpp"
#include "platform/console.hpp"
#include "suite/scoring.hpp"
#include "suite/test_position.hpp"

namespace tarnwick {

// What the solution watch shares with the run: the position under test, the results, and the
// lock that guards them and the commands of one position.
struct WatchState {
    std::mutex runLock;
    TestPosition currentPosition;
    std::vector<TestPosition> resultList;
    // Set when the search command has been sent; the first final move clears it. A final move
    // while no search of ours runs (a late or second move) is ignored.
    bool searchInProgress = false;
    std::string resultFile;
    ConsoleOutput* console = nullptr;
    std::function<void()> signalSearchEnded;
    // What the analysis lines of one position share; used under runLock only.
    PositionScorer scorer;
    SanVariationCache variations;
};

// Judges one thinking line ("depth score time nodes variation...") against the position under
// test: stores depth, score, nodes and the variation in SAN, keeps the found time, and echoes
// the line, highlighted when its first move earns the maximum points.
void onAnalysisLine(WatchState& watch, std::string_view thinkingLine);

// Ends the search with the engine's final move: stores the position as a result (in the list
// and the result file), echoes the move or "Move error: ", and signals the run.
void onFinalMove(WatchState& watch, std::string_view moveText);

}  // namespace tarnwick
