#include "run/lane_loop.hpp"

#include <mutex>
#include <optional>

#include "run/engine_lines.hpp"
#include "run/engine_session.hpp"

namespace tarnwick {

namespace {

// Restarts in a row that end before the engine finishes a position; at this many the engine
// is taken for broken and the run ends.
constexpr int kFailuresBeforeGivingUp = 3;

// How the position is named in messages: its id, or its number in the suite.
std::string positionName(const RunState& run, size_t index) {
    const std::string& id = run.suiteList[index].id;
    return id.empty() ? "position " + std::to_string(index + 1) : id;
}

// Records the position the engine failed on and says what happened; true when the engine
// exited before it finished the position.
bool recordFailure(RunState& run, size_t index, PositionOutcome outcome) {
    const bool recorded =
        recordWithoutMove(run, outcome == PositionOutcome::Unanswered ? RecordOutcome::timeout
                                                                      : RecordOutcome::crash);
    // A final move that came with the end of the output still counts; the engine is gone all
    // the same.
    const std::string message =
        outcome == PositionOutcome::Unanswered
            ? "Engine did not move within " + std::to_string(run.settings.moveTimeoutSeconds) +
                  " s after its time; restarting it.\n"
            : "Engine exited " + std::string(recorded ? "while" : "after") + " testing " +
                  positionName(run, index) + "; restarting it.\n";
    // The reader may still echo a hung engine's lines.
    std::lock_guard lock(run.watch.runLock);
    run.console.write(message);
    return recorded && outcome == PositionOutcome::EngineGone;
}

// Starts the engine again after it failed; false once it has failed too often in a row.
bool restartEngine(RunState& run, int& failuresInRow) {
    stopEngine(run);
    while (!run.interrupted) {
        if (failuresInRow >= kFailuresBeforeGivingUp) return false;
        if (!startEngine(run)) return true;
        ++failuresInRow;
    }
    return true;
}

// Whether the run, or with several engines any of them, is ending: no position is started then.
bool runEnding(const RunState& run) {
    if (run.interrupted || run.writeFailed) return true;
    return run.parent != nullptr && (run.parent->interrupted || run.parent->writeFailed);
}

}  // namespace

PositionOutcome testPositions(RunState& run,
                              const std::function<void(const ScoredRecord*)>& afterPosition) {
    int failuresInRow = 0;
    bool restartDue = false;
    std::optional<size_t> last;  // the position tested last
    while (!runEnding(run)) {
        const std::optional<size_t> next = run.queue->take();
        if (!next) break;
        const size_t i = *next;
        const size_t recordsBefore = run.watch.resultList.size();
        const auto done = [&] {
            run.searching = -1;
            const bool recorded = run.watch.resultList.size() > recordsBefore;
            if (recorded) run.recordedFrom.push_back(i);
            afterPosition(recorded ? &run.watch.resultList.back() : nullptr);
        };
        // Not sent, so the engine is neither crashed by it nor restarted for it.
        if (skipIfNotLegal(run, i)) {
            done();
            continue;
        }
        // An engine that exited right after its final move is started again before it is given
        // the next position, which would otherwise be taken for the one it failed on.
        if (!restartDue && last && run.reader.ended().isSet() && !run.interrupted) {
            std::lock_guard lock(run.watch.runLock);
            run.console.write("Engine exited after testing " + positionName(run, *last) +
                              "; restarting it.\n");
            run.restartedAt.push_back(positionName(run, *last));
            restartDue = true;
        }
        // The position taken is given back to nobody: a run that cannot go on leaves it untested.
        if (restartDue && !restartEngine(run, failuresInRow)) return PositionOutcome::EngineGone;
        restartDue = false;
        if (run.interrupted) return PositionOutcome::Interrupted;
        run.searching = static_cast<int64_t>(i);
        const PositionOutcome outcome = testPosition(run, i);
        last = i;
        if (outcome == PositionOutcome::Interrupted) return outcome;
        if (run.writeFailed) {
            done();
            return outcome;
        }
        if (outcome == PositionOutcome::Finished) {
            failuresInRow = 0;
            done();
            continue;
        }
        if (recordFailure(run, i, outcome)) ++failuresInRow;
        run.restartedAt.push_back(positionName(run, i));
        done();
        restartDue = true;
    }
    return run.interrupted ? PositionOutcome::Interrupted : PositionOutcome::Finished;
}

// The report's last line when the engine had to be started again.
std::string restartsLine(const std::vector<std::string>& names) {
    std::string line = "Engine restarts: " + std::to_string(names.size()) + " (";
    for (size_t i = 0; i < names.size(); ++i) line += (i == 0 ? "" : ", ") + names[i];
    return line + ")\n";
}

}  // namespace tarnwick
