#include "driver/console_control.hpp"

#include <cstdlib>

#include "platform/process.hpp"

namespace tarnwick {

void onConsoleControl(RunState& run) {
    std::unique_lock lock(run.watch.runLock);
    const ProcessId engine = run.engine.processId();
    const bool notStarted = engine == 0 && !run.ending;
    if (run.interrupted || notStarted) {
        if (engine != 0) signalProcessGroup(engine, ProcessSignal::kill);
        std::_Exit(kExitInterrupted);
    }
    run.interrupted = true;
    // A move the engine sends in answer to "quit" ends a search that was cut short: it must
    // not be stored, or a resumed run would take that position for tested.
    run.watch.searchInProgress = false;
    // While the run is ending the engine has had its "quit" already, and the end steps that
    // follow (its bounded wait, the report, the outcome files) must run to their end.
    if (!run.ending) run.engine.sendRaw("quit\n");
    lock.unlock();
    run.searchEnded.set();
}

}  // namespace tarnwick
