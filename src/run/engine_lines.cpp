#include "run/engine_lines.hpp"

#include <algorithm>
#include <chrono>

#include "run/run_outputs.hpp"
#include "text/line_limit.hpp"

namespace tarnwick {

namespace {

// With an early stop: when the search may end, by the engine's own time. A full-points move
// is held from its found time on; a mate test ends at its best mate. Kept in steady-clock
// terms so the run can end the search even when no further line comes.
void noteEarlyStop(RunState& run, const AnalysisLine& line, bool fullScore) {
    if (!run.settings.earlyStopMs || !run.watch.searchInProgress) return;
    if (!fullScore) {
        if (run.earlyStopDue) run.earlyStopChanged.set();
        run.earlyStopDue.reset();
        return;
    }
    const TestPosition& position = run.watch.currentPosition;
    int64_t leftMs = 0;
    if (!run.watch.scorer.isMateTest()) {
        const int64_t heldMs = (int64_t{line.time} - position.acs) * 10;
        leftMs = std::max<int64_t>(0, *run.settings.earlyStopMs - heldMs);
    }
    // While the move holds, the moment only comes nearer: an engine whose lines carry no time
    // still gets its search ended by the clock.
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(leftMs);
    run.earlyStopDue = run.earlyStopDue ? std::min(*run.earlyStopDue, due) : due;
    run.earlyStopChanged.set();
}

void onAnalysis(RunState& run, const AnalysisLine& line) {
    std::lock_guard lock(run.watch.runLock);
    const bool fullScore = onAnalysisLine(run.watch, line);
    noteEarlyStop(run, line, fullScore);
    run.console.line(line.echo, fullScore);
}

// Appends the newest record to the result file, then to the JSON Lines file. A record that
// cannot be written to the result file is taken back, so the report shows only what a resumed
// run will find, and the run is told to end.
void writeRecord(RunState& run, RecordOutcome outcome) {
    if (run.records->isOpen()) {
        const std::string failure =
            run.records->append(run.watch.resultList.back().record.toEpd(false));
        if (!failure.empty()) {
            run.watch.resultList.pop_back();
            run.console.write(failure + "\n");
            run.writeFailed = true;
            return;
        }
    }
    writeJsonRecord(run, outcome);
}

void onFinal(RunState& run, const std::string& move) {
    std::lock_guard lock(run.watch.runLock);
    const FinalMoveVerdict verdict = onFinalMove(run.watch, move);
    if (!verdict.stored) return;
    writeRecord(run, RecordOutcome::moved);
    if (verdict.legal) {
        run.console.line(move, verdict.fullScore);
    } else {
        run.console.line("Move error: " + move);
    }
    run.searchEnded.set();
}

}  // namespace

bool recordWithoutMove(RunState& run, RecordOutcome outcome) {
    std::lock_guard lock(run.watch.runLock);
    if (!onFinalMove(run.watch, "").stored) return false;
    writeRecord(run, outcome);
    return true;
}

void onEngineEvent(RunState& run, const EngineEvent& event) {
    switch (event.kind) {
        case EngineEventKind::Analysis:
            onAnalysis(run, event.analysis);
            break;
        case EngineEventKind::FinalMove:
            onFinal(run, event.move);
            break;
        case EngineEventKind::UciOk:
            run.handshake.set(run.handshake.uciOkSeen);
            break;
        case EngineEventKind::ReadyOk:
            run.handshake.set(run.handshake.readyOkSeen);
            break;
        case EngineEventKind::EngineName: {
            std::lock_guard lock(run.watch.runLock);
            run.engineName = event.move;
            break;
        }
        case EngineEventKind::None:
            break;
    }
}

void onOverlongEngineLine(RunState& run) {
    std::lock_guard lock(run.watch.runLock);
    if (run.watch.overlongSaid) return;
    run.watch.overlongSaid = true;
    run.console.line("Engine line longer than " + lineLimitText(kMaxLineBytes) +
                     "; the rest of it was discarded.");
}

}  // namespace tarnwick
