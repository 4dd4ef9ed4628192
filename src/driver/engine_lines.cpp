#include "driver/engine_lines.hpp"

#include "platform/append_file.hpp"

namespace tarnwick {

namespace {

void onAnalysis(RunState& run, const AnalysisLine& line) {
    std::lock_guard lock(run.watch.runLock);
    const bool fullScore = onAnalysisLine(run.watch, line);
    run.console.line(line.echo, fullScore);
}

// Appends the newest record to the result file.
void writeRecord(RunState& run) {
    if (!run.settings.resultFile.empty()) {
        appendToFile(run.settings.resultFile, run.watch.resultList.back().toEpd(false) + "\n");
    }
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

}  // namespace tarnwick
