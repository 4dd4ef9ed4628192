#pragma once

#include <string>
#include <string_view>

#include "platform/event.hpp"

namespace tarnwick {

// Where the lines of an engine go, on the thread that reads them, and word of the commands
// written to it, on the thread that writes them.
class LineSink {
  public:
    // One line, without its line end.
    virtual void onLine(std::string_view line) = 0;
    // A line longer than the limit was dropped.
    virtual void onOverlongLine() = 0;
    // A command has been written whole (without its line end).
    virtual void onWritten(std::string_view command) = 0;

  protected:
    ~LineSink() = default;
};

// A lane's connection to one engine at a time: it starts the engine, queues the commands for it
// and hands the lines it prints to a sink. A real engine is a child process over pipes; a test
// puts a script in its place.
class EngineLink {
  public:
    virtual ~EngineLink() = default;

    // Starts the engine from its command line, its lines going to sink from now on; false, with
    // the reason in why, when it cannot be started. An engine that still runs is stopped first.
    virtual bool start(const std::string& command, LineSink& sink, std::string& why) = 0;
    // Queues a command, written as the text and one "\n", whole and after the commands queued
    // before it. Never waits for the engine.
    virtual void send(std::string_view text) = 0;
    // Set whenever every command queued so far has been written.
    virtual Event& written() = 0;
    // Set when the engine's output has ended (it exited or closed it), and while none runs.
    virtual Event& ended() = 0;
    // Ends the dialogue at once: no write waits for an engine that does not read any more, what
    // is queued is dropped, lastCommand (unless empty) is queued, and nothing sent after it is
    // written until the next start. Any thread may call it; it waits for nothing.
    virtual void close(std::string_view lastCommand) = 0;
    // Stops reading, waits for the engine to end (it was sent "quit"), terminates and then kills
    // it when it does not, and drops what was not written.
    virtual void stop() = 0;
    // Kills the engine at once. Any thread may call it.
    virtual void kill() = 0;
};

}  // namespace tarnwick
