#pragma once

#include <memory>
#include <string_view>

#include "platform/handles.hpp"

namespace tarnwick {

// Writes to the write end of a pipe, which it owns, and can be made to give up from another
// thread: a reader that never reads must not hold the writer for good.
class PipeWriter {
  public:
    // Takes over pipe (kNoPipe: every write fails).
    explicit PipeWriter(PipeHandle pipe);
    ~PipeWriter();
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

    // Writes all of bytes, waiting while the pipe is full; false when the pipe is broken, or
    // when cancel() came before or during the write and the bytes did not fit at once. One
    // thread writes at a time. A write given up part way leaves the reader with a part of it:
    // every later write fails too, so that nothing is joined to that part.
    bool write(std::string_view bytes);

    // From now on no write waits: a write waiting now returns false at once, and a later one
    // writes what the pipe takes at once, false when that is not all. Safe from any thread;
    // takes no lock that a write holds while it waits.
    void cancel();

  private:
    struct State;  // the platform's own
    std::unique_ptr<State> state_;
};

}  // namespace tarnwick
