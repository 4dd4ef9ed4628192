// A lane's puzzles: each solver move searched in turn, and one record for the whole puzzle.
#include "chess/legality.hpp"
#include "run/lane.hpp"
#include "scoring/position_scorer.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// The words joined by single blanks.
void appendWord(std::string& words, std::string_view word) {
    if (!words.empty()) words += ' ';
    words += word;
}

// The time the puzzle took to solve: the sum of its steps' found times; -1 when a step's move
// showed in no analysis line.
int32_t puzzleTime(std::string_view times) {
    int64_t sum = 0;
    bool known = true;
    forEachToken(times, [&](std::string_view time) {
        const int32_t value = atoiValue(time);
        known = known && value >= 0;
        sum += value;
        return known;
    });
    return known ? static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX)) : -1;
}

}  // namespace

PositionOutcome Lane::testPuzzle(size_t index) {
    const TestPosition& entry = run_.entry(index);
    std::vector<PuzzleStep> steps = puzzleSteps(entry);
    // Nothing to search, yet the puzzle is recorded, or a resumed run would try it again.
    if (steps.empty()) {
        skip(index, "its moves cannot be played");
        return PositionOutcome::Finished;
    }
    {
        std::lock_guard lock(lock_);
        puzzle_.emplace();
        puzzle_->steps = std::move(steps);
    }
    for (;;) {
        PuzzleStep step;
        {
            std::lock_guard lock(lock_);
            // Over once a move missed (or none came) or the last one was found.
            if (puzzle_->failed != 0 || puzzle_->step == puzzle_->steps.size()) break;
            step = puzzle_->steps[puzzle_->step];
        }
        // The engine is given the game from the puzzle's own FEN, so that it sees its history,
        // without the castling rights and en-passant square its moves were not played with.
        const PositionOutcome outcome = search(
            index, step.position,
            {fenToSend(step.position.fenText()), fenToSend(entry.puzzle_fen), step.movesSoFar});
        if (outcome != PositionOutcome::Finished) return outcome;
    }
    return PositionOutcome::Finished;
}

bool Lane::takePuzzleStep(const FinalMove& final, std::string_view move, RecordOutcome outcome) {
    LanePuzzle& puzzle = *puzzle_;
    const PuzzleStep& step = puzzle.steps[puzzle.step];
    const bool last = puzzle.step + 1 == puzzle.steps.size();
    const bool solved =
        final.legal && solvesStep(step, watch_.scorer.board().parseMove(move), last);
    if (puzzle.step == 0) puzzle.first = final.result.record;
    if (!final.result.record.pm.empty()) appendWord(puzzle.played, final.result.record.pm);
    appendWord(puzzle.times, std::to_string(solved ? final.result.record.acs : -1));
    ++puzzle.step;
    if (!solved) puzzle.failed = static_cast<int32_t>(puzzle.step);
    if (solved && !last) return solved;

    TestPosition record = run_.entry(current_);
    record.pm = puzzle.first.pm;
    record.pv = puzzle.first.pv;
    record.acd = puzzle.first.acd;
    record.acn = puzzle.first.acn;
    record.ce = puzzle.first.ce;
    record.puzzle_played = puzzle.played;
    record.puzzle_failed = puzzle.failed;
    record.puzzle_times = puzzle.times;
    record.acs = solved ? puzzleTime(puzzle.times) : -1;
    const ScoredRecord scored = scoreRecord(std::move(record));
    if (run_.store(number_, current_, scored, outcome, watch_.engineTime)) {
        recorded_ = scored.verdict.solved;
    }
    return solved;
}

}  // namespace tarnwick
