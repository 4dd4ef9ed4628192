#include "platform/result_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/posix/error_text.hpp"

namespace tarnwick {

namespace {

// Writes all of data; on failure returns the errno value, else 0.
int writeAll(int fd, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        // A write that takes nothing would take nothing again.
        if (n == 0) return EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Ends the last line of a regular file that does not end in a line end, so that the first
// record appended starts a line of its own instead of being glued to a torn or hand-edited
// last line. A file that cannot be read is left as it is. Returns the errno value, else 0.
int endLastLine(int fd) {
    struct stat file {};
    if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode) || file.st_size == 0) return 0;
    char last = '\n';
    ssize_t n;
    do {
        n = ::pread(fd, &last, 1, file.st_size - 1);
    } while (n < 0 && errno == EINTR);
    return n == 1 && last != '\n' ? writeAll(fd, "\n") : 0;
}

}  // namespace

ResultFile::~ResultFile() {
    close();
}

ResultFile::ResultFile(ResultFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

ResultFile& ResultFile::operator=(ResultFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

ResultFileOpen ResultFile::open(const std::string& path, std::string& reason) {
    close();
    // Read access lets open end the last line; a file that may only be written is still taken.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = errorText(errno);
        return ResultFileOpen::failed;
    }
    // flock belongs to the open file description, so a second open of the file conflicts
    // even within this process, and the lock goes with the last descriptor of this one.
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) return ResultFileOpen::inUse;
        reason = errorText(error);
        return ResultFileOpen::failed;
    }
    if (const int error = endLastLine(fd); error != 0) {
        ::close(fd);
        reason = errorText(error);
        return ResultFileOpen::failed;
    }
    handle_ = fd;
    return ResultFileOpen::opened;
}

bool ResultFile::append(std::string_view data, std::string& reason) {
    const int fd = static_cast<int>(handle_);
    if (fd < 0) {
        reason = errorText(EBADF);
        return false;
    }
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        reason = errorText(errno);
        return false;
    }
    if (const int error = writeAll(fd, data); error != 0) {
        reason = errorText(error);
        // Only a regular file can be cut back; a device keeps what it took.
        if (S_ISREG(before.st_mode) && ::ftruncate(fd, before.st_size) != 0) {
            reason += " (and the part written could not be taken back: " + errorText(errno) + ")";
        }
        return false;
    }
    if (::fdatasync(fd) != 0) {
        // A device or pipe that cannot be synchronised has taken the data all the same.
        if (errno == EINVAL || errno == EROFS) return true;
        reason = errorText(errno);
        return false;
    }
    return true;
}

bool ResultFile::isOpen() const {
    return handle_ >= 0;
}

void ResultFile::close() {
    if (handle_ < 0) return;
    ::close(static_cast<int>(std::exchange(handle_, -1)));
}

}  // namespace tarnwick
