#pragma once

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "driver/handshake.hpp"
#include "driver/run_settings.hpp"
#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"
#include "platform/console.hpp"
#include "platform/event.hpp"
#include "platform/result_file.hpp"
#include "suite/test_position.hpp"
#include "suite/watch.hpp"

namespace tarnwick {

// Everything one run owns; the line handler and the interrupt handler reach it through a
// pointer, so several runs can live in one process.
struct RunState {
    explicit RunState(RunSettings completed, ConsoleOutput output = {})
        : settings(std::move(completed)), console(std::move(output)) {}

    const RunSettings settings;
    std::vector<TestPosition> suiteList;
    WatchState watch;  // currentPosition, resultList, runLock
    Event searchEnded{Event::Reset::automatic};
    HandshakeFlags handshake;
    std::atomic<bool> interrupted{false};
    std::atomic<bool> ending{false};
    std::atomic<bool> engineStarted{false};
    ResultFile resultFile;                 // open and locked for the whole run when there is one
    std::atomic<bool> writeFailed{false};  // a record could not be written: the run ends  // set at
                                           // the first start of the engine
    // The positions after which the engine had to be started again, in order.
    std::vector<std::string> restartedAt;
    ConsoleOutput console;
    EngineProcess engine;
    LineReader reader;
};

}  // namespace tarnwick
