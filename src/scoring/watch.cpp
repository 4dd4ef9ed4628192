#include "scoring/watch.hpp"

#include <algorithm>
#include <utility>

#include "chess/notation.hpp"
#include "epd/epd_opcodes.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// The most lines kept of one search.
constexpr size_t kMaxLines = 256;

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

bool judgeMoves(WatchState& watch, const AnalysisLine& line) {
    TestPosition& position = watch.currentPosition;
    const std::string_view variation = line.variation();
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

// Moves the early-stop moment after a line; true when it changed. Kept on the tester's clock
// so the search can be ended even when no further line comes.
bool moveEarlyStop(WatchState& watch, const AnalysisLine& line, bool fullScore,
                   WatchState::Clock::time_point now) {
    if (!watch.earlyStopMs || !watch.searchInProgress) return false;
    if (!fullScore) return std::exchange(watch.earlyStopDue, std::nullopt).has_value();
    int64_t leftMs = 0;
    if (!watch.scorer.isMateTest()) {
        const int64_t heldMs = (int64_t{line.time} - watch.currentPosition.acs) * 10;
        leftMs = std::max<int64_t>(0, *watch.earlyStopMs - heldMs);
    }
    // While the move holds, the moment only comes nearer: an engine whose lines carry no time
    // still gets its search ended by the clock.
    const auto due = now + std::chrono::milliseconds(leftMs);
    watch.earlyStopDue = watch.earlyStopDue ? std::min(*watch.earlyStopDue, due) : due;
    return true;
}

// Keeps a line among the engine's lines: a main line starts a new set, and the others take their
// places in it.
void keepLine(WatchState& watch, const AnalysisLine& line) {
    if (line.multipv <= 1) {
        watch.earlierLines.swap(watch.lines);
        watch.lines.clear();
    }
    const size_t at = static_cast<size_t>(std::max(line.multipv, 1) - 1);
    watch.linesWanted = std::max(watch.linesWanted, at + 1);
    // Lines beyond what one search can show are not kept, whatever number they carry.
    if (at >= kMaxLines) return;
    if (watch.lines.size() <= at) watch.lines.resize(at + 1);
    SearchLine& kept = watch.lines[at];
    kept.multipv = static_cast<int32_t>(at + 1);
    kept.score = line.score;
    kept.bound = line.bound;
    kept.variation.assign(line.variation());
}

// The last set of lines the engine gave in full, or the set it is giving when it gave none.
const std::vector<SearchLine>& lastFullSet(const WatchState& watch) {
    const auto given = [&](const std::vector<SearchLine>& set) {
        return static_cast<size_t>(std::count_if(
            set.begin(), set.end(), [](const SearchLine& l) { return !l.variation.empty(); }));
    };
    if (given(watch.lines) >= watch.linesWanted) return watch.lines;
    return given(watch.earlierLines) > given(watch.lines) ? watch.earlierLines : watch.lines;
}

// The words the record keeps for the mate claims of a mate test: the main line's (its latest),
// then those of the engine's other lines; bound scores claim nothing.
std::string checkMateClaims(const WatchState& watch, const std::vector<SearchLine>& set) {
    Board start = watch.scorer.board();
    start.halfMoveClock = readFenClocks(watch.currentPosition.fenText()).halfMoves;
    std::string words;
    const auto check = [&](const SearchLine& line) {
        if (line.score.kind != Score::Kind::mate || line.bound) return;
        if (!words.empty()) words += ' ';
        words += mateLineWord(checkMateLine(start, line.score.value, line.variation));
    };
    if (!watch.lines.empty() && watch.lines.front().multipv == 1) check(watch.lines.front());
    for (const SearchLine& line : set) {
        if (line.multipv > 1) check(line);
    }
    return words;
}

}  // namespace

void installPosition(WatchState& watch, const TestPosition& entry,
                     std::optional<int64_t> earlyStopMs, int32_t multipv) {
    // A suite may be an earlier run's results: none of its findings belong to this search.
    watch.currentPosition = entry;
    clearAnalysis(watch.currentPosition);
    watch.currentPosition.acs = -1;
    watch.scorer = PositionScorer(watch.currentPosition);
    watch.searchInProgress = true;
    watch.variation.clear();
    watch.firstMovePoints.reset();
    watch.engineTime = 0;
    watch.lines.clear();
    watch.earlierLines.clear();
    watch.linesWanted = static_cast<size_t>(std::max(multipv, 1));
    watch.overlongSaid = false;
    watch.earlyStopMs = earlyStopMs;
    watch.earlyStopDue.reset();
}

LineJudgement onAnalysisLine(WatchState& watch, const AnalysisLine& line,
                             WatchState::Clock::time_point now) {
    keepLine(watch, line);
    // The engine's other lines are shown, never judged.
    if (line.multipv > 1) return {};
    TestPosition& position = watch.currentPosition;
    position.acd = line.depth;
    position.ce = line.score.centipawns();
    position.acn = line.nodes;
    watch.engineTime = line.time;
    const std::string_view variation = line.variation();
    if (!variation.empty()) watch.variation.assign(variation);
    LineJudgement judgement;
    judgement.fullScore =
        watch.scorer.isMateTest() ? judgeMate(watch, line) : judgeMoves(watch, line);
    judgement.earlyStopChanged = moveEarlyStop(watch, line, judgement.fullScore, now);
    return judgement;
}

std::optional<FinalMove> onFinalMove(WatchState& watch, std::string_view moveText) {
    if (!watch.searchInProgress) return std::nullopt;
    watch.searchInProgress = false;

    TestPosition& position = watch.currentPosition;
    const Board& board = watch.scorer.board();
    const Move move = moveText.empty() ? Move{} : board.parseMove(moveText);
    position.pm = move.isValid() ? board.sanOf(move) : std::string(moveText);
    position.pv = sanVariation(board, watch.variation);
    normaliseNamedMoves(board, position.am, position.bm);
    const std::vector<SearchLine>& set = lastFullSet(watch);
    if (watch.scorer.isMateTest()) position.matecheck = checkMateClaims(watch, set);

    FinalMove final{move.isValid(), false, {position, watch.scorer.verdictOf(position), {}}};
    for (const SearchLine& line : set) {
        if (line.variation.empty()) continue;
        final.result.lines.push_back(
            {line.multipv, line.score, sanVariation(board, line.variation)});
    }
    final.fullScore = final.legal && final.result.verdict.points == final.result.verdict.maximum;
    return final;
}

}  // namespace tarnwick
