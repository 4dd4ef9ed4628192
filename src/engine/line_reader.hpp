#pragma once

#include <memory>
#include <string_view>
#include <thread>

#include "platform/event.hpp"
#include "platform/handles.hpp"
#include "text/line_limit.hpp"

namespace tarnwick {

// Called on the reading thread with each line (without its line end) and the user value;
// returns false to end the reading.
using LineHandler = bool (*)(std::string_view line, void* user);

// Called on the reading thread, with the user value, once for each line that passed the
// length limit; such a line is dropped, never handed to the line handler.
using OverlongHandler = void (*)(void* user);

// A thread that reads the engine's output, cuts it into lines and hands each to a handler as
// soon as its newline has arrived. A last line without newline is never handed on, nor is a
// line longer than maxLineBytes: of that, no more than the limit is ever held.
class LineReader {
  public:
    explicit LineReader(std::size_t maxLineBytes = kMaxLineBytes);
    virtual ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Takes effect at the next start().
    void setInput(PipeHandle input);
    // A null handler reads and drops the lines. Takes effect at the next start().
    void setHandler(LineHandler handler, void* user);
    // A null handler drops overlong lines unnoticed. Takes effect at the next start().
    void setOverlongHandler(OverlongHandler handler, void* user);

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

    const std::size_t maxLineBytes_;
    PipeHandle input_ = kNoPipe;
    LineHandler handler_ = nullptr;
    void* user_ = nullptr;
    OverlongHandler overlongHandler_ = nullptr;
    void* overlongUser_ = nullptr;
    Event ended_{Event::Reset::manual, true};
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace tarnwick
