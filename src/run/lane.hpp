#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_link.hpp"
#include "engine/protocol.hpp"
#include "platform/event.hpp"
#include "report/json_lines.hpp"
#include "run/run_context.hpp"
#include "scoring/puzzle.hpp"
#include "scoring/watch.hpp"

namespace tarnwick {

// How the search of one position ended.
enum class PositionOutcome {
    Finished,     // the final move ended the search
    Unanswered,   // no final move within the move timeout after the time per position
    EngineGone,   // the engine's output ended
    Interrupted,  // Ctrl+C or a termination signal
};

// A puzzle under test in a lane: its steps, the step searched now, and how the engine went so
// far.
struct LanePuzzle {
    std::vector<PuzzleStep> steps;
    size_t step = 0;
    TestPosition first;  // the first step's record: its move, line and analysis
    std::string played;  // SAN, one per step reached
    std::string times;   // found times, -1 where not found
    int32_t failed = 0;  // the step missed, from 1; 0 while none was
};

// One engine and all that speaks to it: its link (the process and the threads that read and
// write its pipes), its protocol, its watch and its place on the shared screen. A run with one
// engine is a run with one lane.
//
// Threads: the lane's own thread runs run(); the link's reading thread calls onLine and
// onOverlongLine; the run's interrupt thread calls interrupt() and kill(). lock_ guards the
// watch (the position under test and what its lines found), the puzzle under test and the
// engine's name; the interrupt never takes it. Nothing is written to the engine under it: commands
// are queued to the link's writing thread, so an engine that stops reading never holds the lock,
// and a "quit" from the interrupt is queued after a command, never written into one. A position is
// installed under lock_, so no line is applied to half of it.
class Lane final : private LineSink {
  public:
    Lane(RunContext& run, size_t number, std::unique_ptr<EngineLink> link);
    ~Lane();
    Lane(const Lane&) = delete;
    Lane& operator=(const Lane&) = delete;

    // Starts the engine, tests the positions the run's queue hands out, starting the engine
    // again when it fails, and ends it. How the testing ended; empty when the engine never got
    // into the dialogue.
    std::optional<PositionOutcome> run();

    // The first interrupt: no write waits for the engine any more, it is asked to quit, a search
    // cut short is not recorded, and the lane's waits end.
    void interrupt();
    // The second: the engine is killed.
    void kill() { link_->kill(); }

    // The name the engine gave itself; empty when it gave none.
    std::string engineName() const;

  private:
    void onLine(std::string_view line) override;
    void onOverlongLine() override;
    void onWritten(std::string_view command) override;
    void onAnalysis(const AnalysisLine& line);
    void onBestMove(const std::string& move);
    void onAnswer(Answer answer);

    // Starts the engine and brings it into the dialogue; false (and said) when that fails.
    bool startEngine();
    // The start-up dialogue; the message of the answer that did not come, or "".
    std::string_view handshake();
    // Sends "quit" and stops the engine; forGood: at the end of the run.
    void stopEngine(bool forGood);
    // Starts the engine again after it failed; false once it has failed too often in a row.
    bool restartEngine(int& failuresInRow);

    PositionOutcome testPositions();
    // Records suite entry index as tested without a move, and says so, when it is not a position
    // an engine can be given; false, and nothing done, when it is.
    bool skipIfNotLegal(size_t index);
    // Records suite entry index as skipped, for the reason said.
    void skip(size_t index, std::string_view reason);
    // Installs a position of suite entry index (a later step of a puzzle: of that step) and says
    // its heading; lock_ held.
    void install(size_t index, const TestPosition& position);
    // Sets up suite entry index, starts its search and waits for the final move; a puzzle's
    // steps one after the other.
    PositionOutcome testPosition(size_t index);
    // Installs a position of suite entry index (a later step of a puzzle: of that step), sends it
    // as start and waits for the final move.
    PositionOutcome search(size_t index, const TestPosition& position, const SearchStart& start);
    PositionOutcome testPuzzle(size_t index);
    // Takes a puzzle step's final move (empty: none came) and, when the puzzle is over, stores its
    // record; lock_ held. Whether the move solved the step.
    bool takePuzzleStep(const FinalMove& final, std::string_view move, RecordOutcome outcome);
    PositionOutcome awaitMove();
    // Records the position the engine failed on and says what happened; true when the engine
    // exited before it finished the position.
    bool recordFailure(size_t index, PositionOutcome outcome);
    // Ends the search without a final move; false when a final move came first.
    bool recordWithoutMove(RecordOutcome outcome);
    // Ends the search with a move (empty: none) and stores its record; lock_ held. False when
    // no search was running.
    std::optional<FinalMove> endSearch(std::string_view move, RecordOutcome outcome);

    void say(std::string_view text);

    RunContext& run_;
    const size_t number_;
    const std::unique_ptr<EngineLink> link_;
    const std::unique_ptr<Protocol> protocol_;

    mutable std::mutex lock_;
    WatchState watch_;
    size_t current_ = 0;            // the suite index of the watch's position
    std::optional<bool> recorded_;  // its record was stored: whether it was solved
    std::string engineName_;
    std::optional<LanePuzzle> puzzle_;  // the puzzle under test

    // By Answer: set when the engine gave it.
    Event answers_[2] = {Event(Event::Reset::manual), Event(Event::Reset::manual)};
    Event searchEnded_{Event::Reset::automatic};
    Event earlyStopChanged_{Event::Reset::automatic};
    std::atomic<bool> ending_{false};  // the end steps have sent "quit"
};

}  // namespace tarnwick
