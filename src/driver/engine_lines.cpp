#include "driver/engine_lines.hpp"

#include "platform/append_file.hpp"
#include "text/line_limit.hpp"

namespace tarnwick {

namespace {

void onAnalysis(RunState& run, const AnalysisLine& line) {
    std::lock_guard lock(run.watch.runLock);
    const bool fullScore = onAnalysisLine(run.watch, line);
    run.console.line(line.echo, fullScore);
}

void onFinal(RunState& run, const std::string& move) {
    std::lock_guard lock(run.watch.runLock);
    const FinalMoveVerdict verdict = onFinalMove(run.watch, move);
    if (!verdict.stored) return;
    if (!run.settings.resultFile.empty()) {
        appendToFile(run.settings.resultFile, run.watch.resultList.back().toEpd(false) + "\n");
    }
    if (verdict.legal) {
        run.console.line(move, verdict.fullScore);
    } else {
        run.console.line("Move error: " + move);
    }
    run.searchEnded.set();
}

}  // namespace

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
