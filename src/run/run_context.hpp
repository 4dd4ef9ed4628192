#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "epd/test_position.hpp"
#include "platform/console.hpp"
#include "platform/event.hpp"
#include "report/json_lines.hpp"
#include "run/dialogue_log.hpp"
#include "run/position_queue.hpp"
#include "run/run_settings.hpp"
#include "run/shared_console.hpp"
#include "run/shared_line_file.hpp"
#include "scoring/verdict.hpp"

namespace tarnwick {

// What the lanes of a run share while they test: the settings, the suite and the queue of its
// positions, the files every finished position is appended to, the screen, the progress, and
// this run's records and restarts. Any lane's threads may call it: the queue is atomic, the
// files and the screen lock themselves, and mutex_ guards the records, the restarts and the
// progress counts.
class RunContext {
  public:
    struct Shared {
        const RunSettings& settings;
        const std::vector<TestPosition>& suite;
        SharedLineFile& records;  // the result file
        SharedLineFile& json;     // the JSON Lines file
        DialogueLog& log;         // the engines' dialogue
        ConsoleOutput& screen;
        const std::atomic<bool>& interrupted;
        Event& interruptedEvent;  // set with interrupted, so that a pause can end at once
    };

    // toTest: the suite indices to test, in order; lanes: how many lanes share the run.
    RunContext(const Shared& shared, std::vector<size_t> toTest, size_t lanes);

    const RunSettings& settings() const { return shared_.settings; }
    const TestPosition& entry(size_t index) const { return shared_.suite[index]; }
    size_t suiteSize() const { return shared_.suite.size(); }
    // How the position is named in messages: its id, or its number in the suite.
    std::string positionName(size_t index) const;
    std::optional<size_t> nextPosition() { return queue_.take(); }
    size_t positionsToTest() const { return queue_.size(); }
    SharedConsole& console() { return console_; }
    DialogueLog& log() { return shared_.log; }

    bool interrupted() const { return shared_.interrupted; }
    // Waits up to the time, or until the run is interrupted.
    void pause(std::chrono::milliseconds time) { shared_.interruptedEvent.wait(time); }
    // Set once the run is interrupted, for waits that end then.
    Event& interruptedEvent() { return shared_.interruptedEvent; }
    bool writeFailed() const { return writeFailed_; }
    // No position is started any more: the run was interrupted or a record could not be written.
    bool ending() const { return interrupted() || writeFailed(); }

    // Stores the record of suite entry index: appended to the result file and then to the JSON
    // Lines file, and kept for the report. A record that cannot be written to the result file is
    // dropped, so that the report shows only what a resumed run will find; either failure is
    // said on the lane's console and ends the run. False when the record was dropped.
    bool store(size_t lane, size_t index, const ScoredRecord& record, RecordOutcome outcome,
               int32_t engineTime);
    // A lane's engine rejected a command: said once per run, in the engine's own words, since
    // a limit or set-up command it ignores changes every search.
    void rejected(size_t lane, std::string_view line);
    // The engine had to be started again after suite entry index.
    void restarted(size_t index);
    // The lane is searching suite entry index, for the progress line; nullopt: none.
    void searching(size_t lane, std::optional<size_t> index);
    // The lane has finished a position (solved tells whether its stored record earned full
    // points; empty when none was stored): it is counted, its block is printed and the progress
    // line is drawn again.
    void positionDone(size_t lane, std::optional<bool> solved);

    // After the lanes: this run's records and the names of the positions after which an engine
    // was restarted, both in suite order.
    std::vector<ScoredRecord> takeRecords();
    std::vector<std::string> restarts() const;

  private:
    Shared shared_;
    PositionQueue queue_;
    SharedConsole console_;
    std::atomic<bool> writeFailed_{false};
    std::atomic<bool> rejectionSaid_{false};
    const std::chrono::steady_clock::time_point startedAt_ = std::chrono::steady_clock::now();
    // Per lane, 1 + the suite index it searches; 0: none.
    std::vector<std::atomic<size_t>> searching_;
    mutable std::mutex mutex_;
    std::vector<std::pair<size_t, ScoredRecord>> records_;
    std::vector<size_t> restarts_;  // suite indices
    size_t done_ = 0;
    size_t solved_ = 0;
};

}  // namespace tarnwick
