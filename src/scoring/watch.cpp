#include "scoring/watch.hpp"

#include "chess/notation.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// The points of the first word of a variation that names a legal move on the position's board;
// empty when no word does.
std::optional<int32_t> firstMovePoints(const PositionScorer& scorer, std::string_view variation) {
    std::optional<int32_t> points;
    forEachToken(variation, [&](std::string_view word) {
        const Move move = scorer.board().parseMove(word);
        if (move.isValid()) points = scorer.points(move);
        return !points;
    });
    return points;
}

// A mate test follows the mate score, not the moves: the found time is that of the first line
// that reports the best mate, and is cleared while a later line reports another score.
bool judgeMate(WatchState& watch, const AnalysisLine& line) {
    TestPosition& position = watch.currentPosition;
    const bool wasBest = watch.scorer.isBestMate(position.mate);
    position.mate = line.score.kind == Score::Kind::mate ? line.score.value : 0;
    if (!watch.scorer.isBestMate(position.mate)) {
        position.acs = -1;
        return false;
    }
    if (!wasBest) position.acs = line.time;
    return true;
}

}  // namespace

void installPosition(WatchState& watch, const TestPosition& entry) {
    watch.currentPosition = entry;
    watch.currentPosition.acs = -1;
    watch.currentPosition.mate = 0;
    watch.currentPosition.pv.clear();
    watch.scorer = PositionScorer(watch.currentPosition);
    watch.variation.clear();
    watch.firstMovePoints.reset();
    watch.engineTime = 0;
    watch.overlongSaid = false;
}

bool onAnalysisLine(WatchState& watch, const AnalysisLine& line) {
    TestPosition& position = watch.currentPosition;
    position.acd = line.depth;
    position.ce = line.score.centipawns();
    position.acn = line.nodes;
    watch.engineTime = line.time;
    const std::string_view variation = line.variation();
    if (!variation.empty()) watch.variation.assign(variation);
    if (watch.scorer.isMateTest()) return judgeMate(watch, line);

    const std::optional<int32_t> previous = watch.firstMovePoints;
    if (!variation.empty()) watch.firstMovePoints = firstMovePoints(watch.scorer, variation);
    const int32_t current = watch.firstMovePoints.value_or(0);
    if (current < watch.scorer.maximum()) {
        position.acs = -1;
        return false;
    }
    // A new first move with the maximum: the solution was found at this line's time.
    if (!previous || *previous != current) position.acs = line.time;
    return true;
}

FinalMoveVerdict onFinalMove(WatchState& watch, std::string_view moveText) {
    if (!watch.searchInProgress) return {};
    watch.searchInProgress = false;

    TestPosition& position = watch.currentPosition;
    const Board& board = watch.scorer.board();
    const Move move = moveText.empty() ? Move{} : board.parseMove(moveText);
    position.pm = move.isValid() ? board.sanOf(move) : std::string(moveText);
    position.pv = sanVariation(board, watch.variation);
    normaliseNamedMoves(board, position.am, position.bm);
    const ScoredRecord& scored =
        watch.resultList.emplace_back(ScoredRecord{position, watch.scorer.verdictOf(position)});

    FinalMoveVerdict verdict;
    verdict.stored = true;
    verdict.legal = move.isValid();
    verdict.fullScore = verdict.legal && scored.verdict.points == scored.verdict.maximum;
    return verdict;
}

}  // namespace tarnwick
