#include "engine/engine_process.hpp"

#include <string>

#include "platform/pipe_io.hpp"
#include "platform/pipe_writer.hpp"

namespace tarnwick {

EngineProcess::EngineProcess(StopGraces graces) : graces_(graces) {}

EngineProcess::~EngineProcess() {
    stop();
}

ProcessId EngineProcess::start(std::string_view commandLine, std::string* why) {
    stop();
    const SpawnedProcess spawned = spawnProcess(commandLine);
    if (why != nullptr) *why = spawned.error;
    std::lock_guard writing(writeMutex_);
    std::lock_guard lock(mutex_);
    id_ = spawned.id;
    // A fresh writer: a cancel given to the last engine does not hold for this one.
    if (spawned.id != 0) toEngine_ = std::make_unique<PipeWriter>(spawned.toChild);
    fromEngine_ = spawned.fromChild;
    return id_;
}

void EngineProcess::stop() {
    std::lock_guard stopping(stopMutex_);
    ProcessId id;
    {
        std::lock_guard lock(mutex_);
        id = id_;
    }
    if (id != 0) {
        // An engine that ignores "quit" must not outlive the run, and a child that is never
        // waited for stays behind as a zombie. The id stays in id_ all the while, so that
        // kill() can still end an engine that this waits for.
        bool ended = awaitExit(id, graces_.toExit);
        if (!ended) {
            signalProcessGroup(id, ProcessSignal::terminate);
            ended = awaitExit(id, graces_.afterTerminate);
        }
        if (!ended) {
            signalProcessGroup(id, ProcessSignal::kill);
            awaitExit(id, std::nullopt);
        }
        // Reaped, which no longer waits, and forgotten under the lock that kill() signals
        // under: the system may give a reaped id to another process.
        std::lock_guard lock(mutex_);
        lastExit_ = reapProcess(id);
        id_ = ProcessId();
    }
    // Closed only now, with no write under way: the engine is gone, and a process it started
    // that still holds its input cannot keep a write waiting either once writes are cancelled.
    cancelWrites();
    std::lock_guard writing(writeMutex_);
    std::lock_guard lock(mutex_);
    toEngine_.reset();
    closePipe(fromEngine_);
}

bool EngineProcess::sendLine(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 1);
    line.append(text);
    line += '\n';
    std::lock_guard writing(writeMutex_);
    PipeWriter* writer = nullptr;
    {
        // The writer stays while writeMutex_ is held; mutex_ is let go at once, so that
        // processId(), kill() and cancelWrites() never wait for a write.
        std::lock_guard lock(mutex_);
        writer = toEngine_.get();
    }
    return writer != nullptr && writer->write(line);
}

void EngineProcess::kill() {
    std::lock_guard lock(mutex_);
    signalProcessGroup(id_, ProcessSignal::kill);
}

void EngineProcess::cancelWrites() {
    std::lock_guard lock(mutex_);
    if (toEngine_) toEngine_->cancel();
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
