#include "engine/engine_process.hpp"

#include <string>

#include "platform/pipe_io.hpp"

namespace tarnwick {

EngineProcess::EngineProcess(StopGraces graces) : graces_(graces) {}

EngineProcess::~EngineProcess() {
    stop();
}

ProcessId EngineProcess::start(std::string_view commandLine) {
    stop();
    const SpawnedProcess spawned = spawnProcess(commandLine);
    std::lock_guard lock(mutex_);
    id_ = spawned.id;
    toEngine_ = spawned.toChild;
    fromEngine_ = spawned.fromChild;
    return id_;
}

void EngineProcess::stop() {
    ProcessId id;
    {
        std::lock_guard lock(mutex_);
        std::swap(id, id_);
    }
    if (id != 0) {
        // An engine that ignores "quit" must not outlive the run, and a child that is never
        // waited for stays behind as a zombie.
        std::optional<ExitStatus> status = waitForExit(id, graces_.toExit);
        if (!status) {
            signalProcessGroup(id, ProcessSignal::terminate);
            status = waitForExit(id, graces_.afterTerminate);
        }
        if (!status) {
            signalProcessGroup(id, ProcessSignal::kill);
            status = reapProcess(id);
        }
        std::lock_guard lock(mutex_);
        lastExit_ = status;
    }
    // Closed only now: the engine is gone, so a write still blocked in sendLine has failed
    // and no handle is closed under it.
    std::lock_guard lock(mutex_);
    closePipe(toEngine_);
    closePipe(fromEngine_);
}

void EngineProcess::sendLine(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 1);
    line.append(text);
    line += '\n';
    sendRaw(line);
}

void EngineProcess::sendRaw(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    writeAll(toEngine_, bytes);
}

PipeHandle EngineProcess::fromEngine() const {
    std::lock_guard lock(mutex_);
    return fromEngine_;
}

ProcessId EngineProcess::processId() const {
    std::lock_guard lock(mutex_);
    return id_;
}

std::optional<ExitStatus> EngineProcess::lastExit() const {
    std::lock_guard lock(mutex_);
    return lastExit_;
}

}  // namespace tarnwick
