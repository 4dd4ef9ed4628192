#pragma once

#include <cstddef>
#include <span>

#include "platform/handles.hpp"

namespace tarnwick {

// Reads from its own duplicate of a pipe and can be woken from another thread while it waits.
// Owning the duplicate means that a reader left running never reads from a handle that its
// owner has closed and the system has handed out again.
class PipeReader {
  public:
    explicit PipeReader(PipeHandle source);
    ~PipeReader();
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

    // False when the duplicate or the wake-up channel could not be made.
    bool valid() const;

    // Bytes read into buffer; 0 at the end of the pipe, on a lasting error, or once
    // interrupt() has been called.
    std::size_t read(std::span<char> buffer);

    // Makes the pending and every later read return 0. Safe from any thread.
    void interrupt();

  private:
    PipeHandle source_ = kNoPipe;
    // The wake-up channel: a pipe on POSIX; on Windows an event, kept in wakeRead_ alone.
    PipeHandle wakeRead_ = kNoPipe;
    PipeHandle wakeWrite_ = kNoPipe;
};

}  // namespace tarnwick
