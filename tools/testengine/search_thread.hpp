#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "chess/board.hpp"
#include "testengine/search.hpp"

namespace tarnwick::testengine {

// Writes whole lines to standard output, one writer at a time, so that the search thread's
// reports never interleave with the command loop's answers.
class Output {
  public:
    void line(const std::string& text);

  private:
    std::mutex mutex_;
};

// Runs one search at a time on a thread of its own, so that the command loop can stop it.
class SearchThread {
  public:
    using IterationHandler = std::function<void(const SearchReport&)>;
    // Receives the best move when the search ends; abandoned is set when the search was cut
    // short by something other than a request to move (a new position, "quit").
    using DoneHandler = std::function<void(const Move& best, bool abandoned)>;

    SearchThread() = default;
    SearchThread(const SearchThread&) = delete;
    SearchThread& operator=(const SearchThread&) = delete;
    ~SearchThread() { stop(true); }

    // Starts searching position; with holdUntilStopped the result is kept back until a stop
    // comes even when the search ends on its own (UCI "go infinite").
    void start(const Board& position, const SearchLimits& limits, bool holdUntilStopped,
               IterationHandler onIteration, DoneHandler onDone);

    // Ends the running search, if any, and waits until its done handler has returned.
    void stop(bool abandon);

    // Asks the running search to end without waiting for it.
    void requestStop();

  private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> abandoned_{false};
    std::mutex mutex_;
    std::condition_variable stopped_;
};

// How long to think on a clock: a share of the remaining time that leaves room for the moves
// still to come, never more than the clock minus a safety margin. movesToGo 0 means unknown.
std::chrono::milliseconds thinkingTime(int64_t remainingMs, int64_t incrementMs, int movesToGo);

// A search time that is never reached: the search then runs until it is stopped.
inline constexpr std::chrono::milliseconds kUnlimitedTime{int64_t{1} << 40};

// The standard starting position.
inline constexpr const char* kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Moves to mate for a mate score (negative when the side to move is mated), 0 otherwise.
int mateInMoves(int score);

}  // namespace tarnwick::testengine
