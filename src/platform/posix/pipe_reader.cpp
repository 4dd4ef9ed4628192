#include "platform/pipe_reader.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/pipe_io.hpp"

namespace tarnwick {

PipeReader::PipeReader(PipeHandle source) : source_(duplicatePipe(source)) {
    int fds[2];
    // The wake-up pipe is non-blocking so that interrupt() never waits, however often it runs.
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
}

std::size_t PipeReader::read(std::span<char> buffer) {
    if (!valid() || buffer.empty()) return 0;
    pollfd fds[2] = {{static_cast<int>(wakeRead_), POLLIN, 0},
                     {static_cast<int>(source_), POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return 0;
        }
        if (fds[0].revents != 0) return 0;
        if (fds[1].revents != 0) return readSome(source_, buffer);
    }
}

void PipeReader::interrupt() {
    if (wakeWrite_ == kNoPipe) return;
    const char byte = 1;
    // A full wake-up pipe already wakes the reader, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t n = ::write(static_cast<int>(wakeWrite_), &byte, 1);
}

}  // namespace tarnwick
