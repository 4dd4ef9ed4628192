#include "suite/watch.hpp"

#include "chess/board.hpp"
#include "chess/notation.hpp"
#include "platform/append_file.hpp"
#include "suite/normalise.hpp"
#include "suite/scoring.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

constexpr int32_t kNoPreviousMove = -999;

// The points of the first move of a SAN variation, or fallback when there is none.
int32_t firstMovePoints(const PositionScorer& scorer, std::string_view pv, int32_t fallback) {
    const std::string_view first = nthTokenView(pv, 1);
    if (first.empty()) return fallback;
    const Move move = scorer.board().parseMove(first);
    return move.isValid() ? scorer.points(move) : fallback;
}

// Tokens 5 and later of a thinking line, as a view.
std::string_view variationOf(std::string_view line) {
    size_t pos = 0;
    for (int token = 0; token < 4; ++token) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        while (pos < line.size() && !isBlank(line[pos])) ++pos;
    }
    return trimmedView(line.substr(pos));
}

}  // namespace

void onAnalysisLine(WatchState& watch, std::string_view thinkingLine) {
    std::lock_guard lock(watch.runLock);
    TestPosition& position = watch.currentPosition;
    position.acd = atoiValue(nthTokenView(thinkingLine, 1));
    position.ce = atoiValue(nthTokenView(thinkingLine, 2));
    position.acn = atoiValue(nthTokenView(thinkingLine, 4));

    watch.scorer.prepare(position);
    const int32_t previous = firstMovePoints(watch.scorer, position.pv, kNoPreviousMove);

    if (const std::string_view variation = variationOf(thinkingLine); !variation.empty()) {
        position.pv = watch.variations.convert(watch.scorer.board(), variation);
    }

    const int32_t maximum = watch.scorer.maximum();
    const int32_t current = firstMovePoints(watch.scorer, position.pv, 0);
    if (current < maximum) {
        position.acs = -1;
        watch.console->line(thinkingLine);
        return;
    }
    const std::string_view time = nthTokenView(thinkingLine, 3);
    if (current != previous && !time.empty()) position.acs = atoiValue(time);
    watch.console->line(thinkingLine, true);
}

void onFinalMove(WatchState& watch, std::string_view moveText) {
    std::lock_guard lock(watch.runLock);
    if (!watch.searchInProgress) return;
    watch.searchInProgress = false;

    TestPosition& position = watch.currentPosition;
    position.pm = std::string(moveText);
    normaliseMoves(position);
    watch.resultList.push_back(position);
    if (!watch.resultFile.empty()) appendToFile(watch.resultFile, position.toEpd(false) + "\n");

    Move move;
    if (!position.pm.empty()) {
        Board board;
        board.setFromFen(position.fenText());
        move = board.parseMove(position.pm);
    }
    if (move.isValid()) {
        const bool full = movePoints(position, move) == maxPoints(position);
        watch.console->line(moveText, full);
    } else {
        watch.console->line("Move error: " + std::string(moveText));
    }
    if (watch.signalSearchEnded) watch.signalSearchEnded();
}

}  // namespace tarnwick
