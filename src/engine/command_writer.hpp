#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "engine/engine_link.hpp"
#include "engine/engine_process.hpp"
#include "platform/event.hpp"

namespace tarnwick {

// Writes the commands for an engine on a thread of its own, whole and in the order they were
// queued, so that whoever queues one never waits for an engine that does not read. One command
// is one write of the engine process; a "quit" queued during it follows it, never lands inside
// it (a write of more than PIPE_BUF bytes is not atomic on a pipe). mutex_ guards the queue and
// writing_; the writing thread alone writes.
class CommandWriter {
  public:
    explicit CommandWriter(EngineProcess& process);
    ~CommandWriter();
    CommandWriter(const CommandWriter&) = delete;
    CommandWriter& operator=(const CommandWriter&) = delete;

    // Where word of each command written goes from now on; null: nowhere.
    void tell(LineSink* sink);
    // Queues text, to be written with one "\n"; nothing once closed.
    void post(std::string text);
    // Drops what is queued, queues lastCommand (unless empty) and takes nothing more until drop().
    // Waits for nothing.
    void close(std::string_view lastCommand);
    // Drops what is queued and waits for the write under way to end (it ends at once once the
    // process's writes are cancelled), so that nothing meant for one engine reaches the next;
    // then takes commands again.
    void drop();
    // Set whenever nothing is queued or being written.
    Event& written() { return written_; }

  private:
    void writeQueued();

    EngineProcess& process_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    LineSink* sink_ = nullptr;
    bool writing_ = false;
    bool closed_ = false;
    bool ending_ = false;  // the writing thread is to end
    Event written_{Event::Reset::manual, true};
    std::thread thread_;
};

}  // namespace tarnwick
