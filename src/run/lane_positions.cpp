// The positions of a lane: the loop over what the queue hands out, and one position's search.
#include <algorithm>
#include <chrono>

#include "chess/legality.hpp"
#include "run/heading.hpp"
#include "run/lane.hpp"

namespace tarnwick {

namespace {

using Clock = std::chrono::steady_clock;

// How long a wait may last when nothing but an event ends it.
constexpr std::chrono::hours kLongWait(1);

std::chrono::milliseconds untilThen(Clock::time_point then) {
    const Clock::time_point now = Clock::now();
    if (then - now > kLongWait) return kLongWait;
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::ceil<std::chrono::milliseconds>(then - now));
}

}  // namespace

PositionOutcome Lane::testPositions() {
    int failuresInRow = 0;
    bool restartDue = false;
    std::optional<size_t> last;  // the position tested last
    while (!run_.ending()) {
        const std::optional<size_t> next = run_.nextPosition();
        if (!next) break;
        const size_t i = *next;
        {
            std::lock_guard lock(lock_);
            recorded_.reset();
            puzzle_.reset();
        }
        // Not sent, so the engine is neither crashed by it nor restarted for it.
        if (!skipIfNotLegal(i)) {
            // An engine that exited right after its final move is started again before it is
            // given the next position, which would otherwise be taken for the one it failed on.
            if (!restartDue && last && link_->ended().isSet() && !run_.interrupted()) {
                say("Engine exited after testing " + run_.positionName(*last) +
                    "; restarting it.\n");
                run_.restarted(*last);
                restartDue = true;
            }
            // The position taken is given back to nobody: a lane that cannot go on leaves it
            // untested.
            if (restartDue && !restartEngine(failuresInRow)) return PositionOutcome::EngineGone;
            restartDue = false;
            if (run_.interrupted()) return PositionOutcome::Interrupted;
            run_.searching(number_, i);
            const PositionOutcome outcome = testPosition(i);
            last = i;
            if (outcome == PositionOutcome::Interrupted) return outcome;
            if (outcome == PositionOutcome::Finished) {
                failuresInRow = 0;
            } else if (!run_.writeFailed()) {
                if (recordFailure(i, outcome)) ++failuresInRow;
                run_.restarted(i);
                restartDue = true;
            }
        }
        run_.searching(number_, std::nullopt);
        std::optional<bool> solved;
        {
            std::lock_guard lock(lock_);
            solved = recorded_;
        }
        run_.positionDone(number_, solved);
    }
    return run_.interrupted() ? PositionOutcome::Interrupted : PositionOutcome::Finished;
}

bool Lane::skipIfNotLegal(size_t index) {
    const std::string reason = whyNotLegal(run_.entry(index).fenText());
    if (reason.empty()) return false;
    skip(index, reason);
    return true;
}

void Lane::skip(size_t index, std::string_view reason) {
    const TestPosition& entry = run_.entry(index);
    // Installed, said and recorded in one hold of the lock: a late move of the last position
    // cannot become this one's record.
    std::lock_guard lock(lock_);
    install(index, entry);
    say("Position " + (entry.id.empty() ? std::to_string(index + 1) : entry.id) +
        " is not legal (" + std::string(reason) + "); skipped.\n");
    endSearch("", RecordOutcome::skipped);
}

void Lane::install(size_t index, const TestPosition& position) {
    installPosition(watch_, position, run_.settings().limits.earlyStopMs,
                    run_.settings().engine.multipv);
    current_ = index;
    if (puzzle_ && puzzle_->step > 0) {
        say(puzzleStepHeading(puzzle_->step + 1, puzzle_->steps.size(),
                              puzzle_->steps[puzzle_->step].opponentMove, watch_.scorer));
    } else {
        say(positionHeading(index + 1, run_.suiteSize(), watch_.currentPosition, watch_.scorer));
    }
}

PositionOutcome Lane::testPosition(size_t index) {
    const TestPosition& entry = run_.entry(index);
    if (isPuzzle(entry)) return testPuzzle(index);
    // The record keeps the castling rights and en-passant square as written.
    return search(index, entry, {fenToSend(entry.fenText()), {}, {}});
}

PositionOutcome Lane::search(size_t index, const TestPosition& position, const SearchStart& start) {
    {
        std::lock_guard lock(lock_);
        install(index, position);
        // A move of the last position that came after it was given up on must not end this one.
        searchEnded_.reset();
    }
    for (const std::string& command : protocol_->startSearch(start, run_.settings().limits)) {
        link_->send(command);
    }
    return awaitMove();
}

PositionOutcome Lane::awaitMove() {
    const SearchLimits& limits = run_.settings().limits;
    const std::chrono::milliseconds period(limits.msPerPosition);
    std::optional<std::chrono::seconds> grace;
    if (limits.moveTimeoutSeconds > 0) grace = std::chrono::seconds(limits.moveTimeoutSeconds);

    // The clock of a position starts once all its commands are written. An engine that has not
    // taken them when the time and the move timeout have passed has hung, as one that does not
    // move has.
    std::optional<Clock::time_point> giveUp;
    if (grace) giveUp = Clock::now() + period + *grace;
    for (;;) {
        // The end of the engine's output comes first: whether a move that arrived with it
        // still counts is for the caller to see.
        const int woken = waitForAny({&link_->ended(), &searchEnded_, &link_->written()},
                                     untilThen(giveUp.value_or(Clock::time_point::max())));
        if (run_.interrupted()) return PositionOutcome::Interrupted;
        if (woken == 0) return PositionOutcome::EngineGone;
        if (woken == 1) return PositionOutcome::Finished;
        if (woken == 2) break;
        if (giveUp && Clock::now() >= *giveUp) return PositionOutcome::Unanswered;
    }

    Clock::time_point nextRequest = Clock::now() + period;
    if (grace) giveUp = nextRequest + *grace;
    // When the early stop is due; the far future while it is not.
    Clock::time_point earlyStop = Clock::time_point::max();
    for (;;) {
        const Clock::time_point wakeAt =
            std::min({giveUp.value_or(Clock::time_point::max()), nextRequest, earlyStop});
        const int woken =
            waitForAny({&link_->ended(), &searchEnded_, &earlyStopChanged_}, untilThen(wakeAt));
        if (run_.interrupted()) return PositionOutcome::Interrupted;
        if (woken == 1) return PositionOutcome::Finished;
        if (woken == 0) return PositionOutcome::EngineGone;
        if (giveUp && Clock::now() >= *giveUp) return PositionOutcome::Unanswered;
        bool earlyStopNow = false;
        {
            std::lock_guard lock(lock_);
            earlyStop = watch_.earlyStopDue.value_or(Clock::time_point::max());
            if (Clock::now() >= earlyStop) {
                // Asked once; the final move is then awaited as after the time per position.
                earlyStopNow = true;
                watch_.earlyStopDue.reset();
                earlyStop = Clock::time_point::max();
            }
        }
        if (earlyStopNow) link_->send(protocol_->moveNow());
        if (Clock::now() >= nextRequest) {
            link_->send(protocol_->moveNow());
            nextRequest += period;
        }
    }
}

bool Lane::recordFailure(size_t index, PositionOutcome outcome) {
    const bool recorded = recordWithoutMove(
        outcome == PositionOutcome::Unanswered ? RecordOutcome::timeout : RecordOutcome::crash);
    // A final move that came with the end of the output still counts; the engine is gone all
    // the same.
    say(outcome == PositionOutcome::Unanswered
            ? "Engine did not move within " +
                  std::to_string(run_.settings().limits.moveTimeoutSeconds) +
                  " s after its time; restarting it.\n"
            : "Engine exited " + std::string(recorded ? "while" : "after") + " testing " +
                  run_.positionName(index) + "; restarting it.\n");
    return recorded && outcome == PositionOutcome::EngineGone;
}

bool Lane::recordWithoutMove(RecordOutcome outcome) {
    std::lock_guard lock(lock_);
    return endSearch("", outcome).has_value();
}

}  // namespace tarnwick
