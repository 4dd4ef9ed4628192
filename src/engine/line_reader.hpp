#pragma once

#include <memory>
#include <string_view>
#include <thread>

#include "platform/event.hpp"
#include "platform/handles.hpp"

namespace tarnwick {

// Called on the reading thread with each line (without its line end) and the user value;
// returns false to end the reading.
using LineHandler = bool (*)(std::string_view line, void* user);

// A thread that reads the engine's output, cuts it into lines and hands each to a handler as
// soon as its newline has arrived. A last line without newline is never handed on.
class LineReader {
  public:
    LineReader();
    virtual ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Takes effect at the next start().
    void setInput(PipeHandle input);
    // A null handler reads and drops the lines. Takes effect at the next start().
    void setHandler(LineHandler handler, void* user);

    // Starts the reading thread; true when it runs (or still has not been stopped since the
    // last start), false when no thread could be made.
    bool start();

    // Asks the thread to end and waits up to one second for it. A thread that does not end
    // in time (its handler is stuck) is let go: it owns what it touches, calls the handler
    // no more, and ends as soon as the handler returns.
    void stop();

    // Set whenever no reading thread runs: before start, when the reading has ended by itself
    // (end of the pipe, handler false) and after stop.
    Event& ended() { return ended_; }

  private:
    struct Shared;
    static void readLines(const std::shared_ptr<Shared>& shared);

    PipeHandle input_ = kNoPipe;
    LineHandler handler_ = nullptr;
    void* user_ = nullptr;
    Event ended_{Event::Reset::manual, true};
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace tarnwick
