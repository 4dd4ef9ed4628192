#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/handles.hpp"
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

    // Starts the engine from its command line; its process id, or 0 when it cannot be started.
    // An engine that is still running is stopped first.
    ProcessId start(std::string_view commandLine);

    // Waits for the engine to end, terminates and then kills it when it does not, reaps it and
    // closes both pipes. Harmless when no engine runs.
    void stop();

    // Sends text and one "\n" to the engine in a single write; nothing when no engine runs.
    void sendLine(std::string_view text);

    // Writes bytes as they are (the final "quit\n"); nothing when no engine runs.
    void sendRaw(std::string_view bytes);

    // The pipe carrying the engine's standard output and error; kNoPipe when no engine runs.
    PipeHandle fromEngine() const;

    ProcessId processId() const;

    // How the last stopped engine ended; nullopt before the first stop of a started engine.
    std::optional<ExitStatus> lastExit() const;

  private:
    const StopGraces graces_;
    mutable std::mutex mutex_;  // guards the fields below, never held while waiting
    ProcessId id_;
    PipeHandle toEngine_ = kNoPipe;
    PipeHandle fromEngine_ = kNoPipe;
    std::optional<ExitStatus> lastExit_;
};

}  // namespace tarnwick
