#include "driver/console_control.hpp"

#include <cstdlib>

#include "platform/process.hpp"

namespace tarnwick {

void onConsoleControl(RunState& run) {
    std::unique_lock lock(run.watch.runLock);
    const ProcessId engine = run.engine.processId();
    if (run.interrupted || run.ending || engine == 0) {
        if (engine != 0) signalProcessGroup(engine, ProcessSignal::kill);
        std::_Exit(kExitInterrupted);
    }
    run.interrupted = true;
    run.engine.sendRaw("quit\n");
    lock.unlock();
    run.searchEnded.set();
}

}  // namespace tarnwick
