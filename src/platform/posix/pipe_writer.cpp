#include "platform/pipe_writer.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/pipe_io.hpp"

namespace tarnwick {

// The pipe is non-blocking, and a write that finds it full waits in poll() for room or for
// the wake-up pipe, which cancel() makes readable for good.
struct PipeWriter::State {
    PipeHandle pipe = kNoPipe;
    PipeHandle wakeRead = kNoPipe;
    PipeHandle wakeWrite = kNoPipe;
    std::atomic<bool> cancelled{false};
    bool broken = false;  // the writing thread's alone

    // Waits until the pipe has room; false when cancelled or on an error.
    bool waitForRoom() const {
        pollfd fds[2] = {{static_cast<int>(pipe), POLLOUT, 0},
                         {static_cast<int>(wakeRead), POLLIN, 0}};
        // Without a wake-up pipe the flag is looked at now and then instead.
        const bool canWake = wakeRead != kNoPipe;
        for (;;) {
            if (cancelled) return false;
            const int ready = ::poll(fds, canWake ? 2 : 1, canWake ? -1 : 10);
            if (ready < 0 && errno != EINTR) return false;
            if (ready > 0 && canWake && fds[1].revents != 0) return false;
            // Room, or an error that the next write reports.
            if (ready > 0 && fds[0].revents != 0) return true;
        }
    }
};

PipeWriter::PipeWriter(PipeHandle pipe) : state_(std::make_unique<State>()) {
    state_->pipe = pipe;
    if (pipe == kNoPipe) return;
    // The tester's end alone: the engine's end of the pipe is an open file of its own and
    // stays blocking.
    const int flags = ::fcntl(static_cast<int>(pipe), F_GETFL);
    if (flags >= 0) ::fcntl(static_cast<int>(pipe), F_SETFL, flags | O_NONBLOCK);
    int fds[2];
    // Non-blocking, so that cancel() never waits however often it runs.
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        state_->wakeRead = fds[0];
        state_->wakeWrite = fds[1];
    }
}

PipeWriter::~PipeWriter() {
    closePipe(state_->pipe);
    closePipe(state_->wakeRead);
    closePipe(state_->wakeWrite);
}

bool PipeWriter::write(std::string_view bytes) {
    State& s = *state_;
    if (s.pipe == kNoPipe || s.broken) return false;
    bool started = false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(static_cast<int>(s.pipe), bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            started = true;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN && s.waitForRoom()) continue;
        s.broken = started;
        return false;
    }
    return true;
}

void PipeWriter::cancel() {
    State& s = *state_;
    s.cancelled = true;
    if (s.wakeWrite == kNoPipe) return;
    const char byte = 1;
    // A full wake-up pipe wakes the writer already, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t n = ::write(static_cast<int>(s.wakeWrite), &byte, 1);
}

}  // namespace tarnwick
