#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/handles.hpp"
#include "platform/pipe_writer.hpp"
#include "platform/process.hpp"

namespace tarnwick {

// How long stop() lets an engine end by itself before it is terminated, and then killed.
struct StopGraces {
    std::chrono::milliseconds toExit{5000};
    std::chrono::milliseconds afterTerminate{1000};
};

// The engine's child process and the tester's ends of its two pipes.
class EngineProcess {
  public:
    explicit EngineProcess(StopGraces graces = {});
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts the engine from its command line; its process id, or 0 when it cannot be started,
    // with the reason in why. An engine that is still running is stopped first.
    ProcessId start(std::string_view commandLine, std::string* why = nullptr);

    // Waits for the engine to end, terminates and then kills it when it does not, reaps it and
    // closes both pipes. Harmless when no engine runs.
    void stop();

    // Kills the engine and what it started, at once; from any thread, also while stop() waits
    // for it. Harmless when no engine runs.
    void kill();

    // Sends text and one "\n" to the engine in a single write. False when no engine runs, the
    // pipe is broken, or the write was cancelled (see cancelWrites).
    bool sendLine(std::string_view text);

    // Until the next start(), no write waits for an engine that does not read: a write blocked
    // now returns false at once, and a later one sends only what the pipe takes at once, false
    // when that is not all of it (and always once a line has been cut short, so that nothing is
    // joined to its part). Safe from any thread, e.g. the interrupt handler's: it needs no lock
    // that a write holds.
    void cancelWrites();

    // The pipe carrying the engine's standard output and error; kNoPipe when no engine runs.
    PipeHandle fromEngine() const;

    ProcessId processId() const;

    // How the last stopped engine ended; nullopt before the first stop of a started engine.
    std::optional<ExitStatus> lastExit() const;

  private:
    const StopGraces graces_;
    std::mutex stopMutex_;  // one stop() at a time, so an engine is reaped once; taken first
    // One write at a time; held across a write, and by start() and stop() while they replace
    // toEngine_, so that no pipe is closed under a write. Taken before mutex_.
    std::mutex writeMutex_;
    mutable std::mutex mutex_;  // guards the fields below, never held while waiting or writing
    ProcessId id_;
    std::unique_ptr<PipeWriter> toEngine_;
    PipeHandle fromEngine_ = kNoPipe;
    std::optional<ExitStatus> lastExit_;
};

}  // namespace tarnwick
