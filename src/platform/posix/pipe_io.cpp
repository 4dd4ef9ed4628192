#include "platform/pipe_io.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick {

std::size_t readSome(PipeHandle pipe, std::span<char> buffer) {
    if (pipe == kNoPipe || buffer.empty()) return 0;
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(pipe), buffer.data(), buffer.size());
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return 0;
    }
}

bool writeAll(PipeHandle pipe, std::string_view bytes) {
    if (pipe == kNoPipe) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(static_cast<int>(pipe), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void closePipe(PipeHandle& pipe) {
    if (pipe == kNoPipe) return;
    // Not retried on EINTR: on Linux the descriptor is gone either way, and a retry could
    // close one that another thread has just opened.
    ::close(static_cast<int>(pipe));
    pipe = kNoPipe;
}

PipePair makePipe() {
    int fds[2];
    // Close-on-exec from the start: a pipe() plus fcntl() pair would leak into a child that
    // another thread spawns in between.
    if (::pipe2(fds, O_CLOEXEC) != 0) return {};
    return {fds[0], fds[1]};
}

PipeHandle duplicatePipe(PipeHandle pipe) {
    if (pipe == kNoPipe) return kNoPipe;
    const int fd = ::fcntl(static_cast<int>(pipe), F_DUPFD_CLOEXEC, 0);
    return fd < 0 ? kNoPipe : fd;
}

}  // namespace tarnwick
