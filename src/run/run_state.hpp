#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"
#include "epd/test_position.hpp"
#include "platform/console.hpp"
#include "platform/event.hpp"
#include "run/handshake.hpp"
#include "run/position_queue.hpp"
#include "run/run_settings.hpp"
#include "run/shared_line_file.hpp"
#include "scoring/watch.hpp"

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
    // With an early stop: when the search of the position under test may end, because its
    // first move has held full points long enough (guarded by the watch's lock); raised again
    // whenever it changes.
    std::optional<std::chrono::steady_clock::time_point> earlyStopDue;
    Event earlyStopChanged{Event::Reset::automatic};
    HandshakeFlags handshake;
    std::atomic<bool> interrupted{false};
    std::atomic<bool> ending{false};
    std::atomic<bool> engineStarted{false};
    // The result file, open and locked for the whole run when there is one; shared with the
    // run's other engines.
    std::shared_ptr<SharedLineFile> records = std::make_shared<SharedLineFile>();
    // The JSON Lines file, open for the whole run when there is one; shared like the result file.
    std::shared_ptr<SharedLineFile> jsonFile = std::make_shared<SharedLineFile>();
    const std::chrono::system_clock::time_point started = std::chrono::system_clock::now();
    std::atomic<bool> writeFailed{false};  // a record could not be written: the run ends
    // The suite entries to test; shared with the run's other engines.
    std::shared_ptr<PositionQueue> queue;
    // The suite entry of each record this run added to the result list, in the same order.
    std::vector<size_t> recordedFrom;
    // The name the engine gave itself, for the JSON summary (guarded by the watch's lock).
    std::string engineName;
    // The positions after which the engine had to be started again, in order.
    std::vector<std::string> restartedAt;
    // With several engines: each engine's own run, which the interrupt handler reaches through
    // here, and the run whose console prints their blocks; set before the engines start.
    std::vector<std::unique_ptr<RunState>> lanes;
    RunState* parent = nullptr;
    std::atomic<bool> lanesReady{false};
    // The suite entry this run's engine is searching, for the progress line; -1: none.
    std::atomic<int64_t> searching{-1};
    // For the progress line of the run that prints (the parent, with several engines).
    std::atomic<size_t> positionsDone{0};
    std::atomic<size_t> positionsSolved{0};
    const std::chrono::steady_clock::time_point startedAt = std::chrono::steady_clock::now();
    ConsoleOutput console;
    EngineProcess engine;
    LineReader reader;
};

}  // namespace tarnwick
