#include "driver/engine_lines.hpp"

#include "text/line_limit.hpp"

namespace tarnwick {

namespace {

void onAnalysis(RunState& run, const AnalysisLine& line) {
    std::lock_guard lock(run.watch.runLock);
    const bool fullScore = onAnalysisLine(run.watch, line);
    run.console.line(line.echo, fullScore);
}

// Appends the newest record to the result file. A record that cannot be written is taken
// back, so the report shows only what a resumed run will find, and the run is told to end.
void writeRecord(RunState& run) {
    if (!run.resultFile.isOpen()) return;
    std::string reason;
    if (run.resultFile.append(run.watch.resultList.back().toEpd(false) + "\n", reason)) return;
    run.watch.resultList.pop_back();
    run.console.write("Cannot write to " + run.settings.resultFile + ": " + reason + "\n");
    run.writeFailed = true;
}

void onFinal(RunState& run, const std::string& move) {
    std::lock_guard lock(run.watch.runLock);
    const FinalMoveVerdict verdict = onFinalMove(run.watch, move);
    if (!verdict.stored) return;
    writeRecord(run);
    if (verdict.legal) {
        run.console.line(move, verdict.fullScore);
    } else {
        run.console.line("Move error: " + move);
    }
    run.searchEnded.set();
}

}  // namespace

bool recordWithoutMove(RunState& run) {
    std::lock_guard lock(run.watch.runLock);
    if (!onFinalMove(run.watch, "").stored) return false;
    writeRecord(run);
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
