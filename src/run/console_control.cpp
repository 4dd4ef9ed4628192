#include "run/console_control.hpp"

#include <cstdlib>

#include "platform/process.hpp"

namespace tarnwick {

namespace {

// Wakes the run and asks its engine to quit, without waiting for anything the run may hold.
void askEngineToEnd(RunState& run) {
    // A write blocked on a full pipe gives up now, and no later one waits, so the run reaches
    // its end steps and lets go of its lock.
    run.engine.cancelWrites();
    std::unique_lock lock(run.watch.runLock);
    // A move the engine sends in answer to "quit" ends a search that was cut short: it must
    // not be stored, or a resumed run would take that position for tested.
    run.watch.searchInProgress = false;
    // While the run is ending the engine has had its "quit" already, and the end steps that
    // follow (its bounded wait, the report, the outcome files) must run to their end. An
    // engine whose pipe is full does not get it: it is ended after the grace.
    if (!run.ending) run.engine.sendRaw("quit\n");
    lock.unlock();
    run.searchEnded.set();
}

// Several engines: each is asked to quit as one alone would be; a second interrupt ends them
// all at once.
void interruptLanes(RunState& run) {
    if (run.interrupted.exchange(true)) {
        for (const auto& lane : run.lanes) {
            if (const ProcessId engine = lane->engine.processId(); engine != 0) {
                signalProcessGroup(engine, ProcessSignal::kill);
            }
        }
        std::_Exit(kExitInterrupted);
    }
    // An engine still starting sees the interrupt and is not started further.
    for (const auto& lane : run.lanes) {
        lane->interrupted = true;
        askEngineToEnd(*lane);
    }
}

}  // namespace

void onConsoleControl(RunState& run) {
    if (run.lanesReady) {
        interruptLanes(run);
        return;
    }
    // Nothing here may wait for the run's lock before the run can let it go: the run may hold
    // it while it writes to an engine that does not read.
    const ProcessId engine = run.engine.processId();
    // Between a failed engine and its restart no engine runs either, but the run is under way.
    const bool notStarted = engine == 0 && !run.ending && !run.engineStarted;
    if (run.interrupted.exchange(true) || notStarted) {
        if (engine != 0) signalProcessGroup(engine, ProcessSignal::kill);
        std::_Exit(kExitInterrupted);
    }
    askEngineToEnd(run);
}

}  // namespace tarnwick
