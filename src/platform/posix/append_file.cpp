#include "platform/append_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick {

bool appendToFile(const std::string& path, std::string_view data) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = true;
    size_t done = 0;
    // One write normally takes the whole record; the loop only covers a write cut short.
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return ok;
}

}  // namespace tarnwick
