#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "driver/run_settings.hpp"
#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"
#include "platform/console.hpp"
#include "platform/event.hpp"
#include "suite/test_position.hpp"
#include "suite/watch.hpp"

namespace tarnwick {

// Raised by the engine's reading thread when "uciok" and "readyok" arrive; the run waits on
// them during the engine's initialisation.
class HandshakeFlags {
  public:
    void clear(bool& flag);
    void set(bool& flag);
    // Waits until the flag is set (true), or the reader has ended, the run was interrupted
    // or the time is up (false).
    bool waitFor(const bool& flag, int milliseconds, const std::atomic<bool>& interrupted,
                 LineReader& reader);

    bool uciOkSeen = false;
    bool readyOkSeen = false;

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

// Everything one run owns; the line handler and the interrupt handler reach it through a
// pointer, so several runs can live in one process.
struct RunState {
    RunSettings settings;
    std::vector<TestPosition> suiteList;
    WatchState watch;  // currentPosition, resultList, runLock
    Event searchEnded{Event::Reset::automatic};
    HandshakeFlags handshake;
    std::atomic<bool> interrupted{false};
    std::atomic<bool> ending{false};
    ConsoleOutput console;
    EngineProcess engine;
    LineReader reader;
};

}  // namespace tarnwick
