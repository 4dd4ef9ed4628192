#include "run/run_progress.hpp"

#include "report/report.hpp"
#include "run/progress.hpp"

namespace tarnwick {

void countPosition(RunState& printer, const ScoredRecord* record) {
    ++printer.positionsDone;
    if (record != nullptr && record->verdict.solved) ++printer.positionsSolved;
}

void showProgress(RunState& printer) {
    Progress progress;
    progress.done = printer.positionsDone;
    progress.total = printer.queue ? printer.queue->size() : 0;
    progress.solved = printer.positionsSolved;
    progress.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - printer.startedAt)
                             .count();
    const auto addSearching = [&](const RunState& run) {
        const int64_t index = run.searching;
        if (index >= 0) progress.searching.push_back(static_cast<size_t>(index) + 1);
    };
    if (printer.lanes.empty()) addSearching(printer);
    for (const auto& lane : printer.lanes) addSearching(*lane);
    printer.console.status(progressText(progress));
}

}  // namespace tarnwick
