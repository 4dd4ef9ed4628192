#include "platform/output_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/posix/error_text.hpp"

namespace tarnwick {

namespace {

// Bytes gathered before they are written, so a report of many records costs few writes.
constexpr size_t kFlushSize = 64 * 1024;

}  // namespace

OutputFile::~OutputFile() {
    std::string ignored;
    close(ignored);
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), pending_(std::move(other.pending_)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        std::string ignored;
        close(ignored);
        handle_ = std::exchange(other.handle_, -1);
        pending_ = std::move(other.pending_);
    }
    return *this;
}

bool OutputFile::create(const std::string& path, std::string& reason) {
    std::string ignored;
    close(ignored);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = errorText(errno);
        return false;
    }
    handle_ = fd;
    return true;
}

bool OutputFile::write(std::string_view data, std::string& reason) {
    if (handle_ < 0) {
        reason = errorText(EBADF);
        return false;
    }
    pending_.append(data);
    return pending_.size() < kFlushSize || flush(reason);
}

bool OutputFile::flush(std::string& reason) {
    const int fd = static_cast<int>(handle_);
    size_t done = 0;
    int error = 0;
    while (done < pending_.size() && error == 0) {
        const ssize_t n = ::write(fd, pending_.data() + done, pending_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n > 0) done += static_cast<size_t>(n);
        // A write that takes nothing would take nothing again.
        if (n <= 0) error = n < 0 ? errno : EIO;
    }
    pending_.clear();
    if (error == 0) return true;
    reason = errorText(error);
    return false;
}

bool OutputFile::close(std::string& reason) {
    if (handle_ < 0) return true;
    bool ok = flush(reason);
    if (::close(static_cast<int>(std::exchange(handle_, -1))) != 0 && ok) {
        // The descriptor is gone even when close fails; EINTR loses nothing already written.
        if (errno != EINTR) {
            reason = errorText(errno);
            ok = false;
        }
    }
    return ok;
}

bool OutputFile::isOpen() const {
    return handle_ >= 0;
}

bool createWithoutTruncating(const std::string& path, std::string& reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = errorText(errno);
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace tarnwick
