#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// A file written from the start, whose every failure is reported: a failed create, a write to
// a full disk, and one that only shows when the last buffered bytes go out at close. Each
// failure gives the system's words for it in reason (strerror / FormatMessage).
class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile();  // closes without reporting; close() first to hear of a failure
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file, or empties it when it exists.
    bool create(const std::string& path, std::string& reason);
    // Queues the bytes, writing them out once enough have come together.
    bool write(std::string_view data, std::string& reason);
    // Writes out what is queued and closes the file. True when there was nothing to close.
    bool close(std::string& reason);
    bool isOpen() const;

  private:
    bool flush(std::string& reason);

    std::intptr_t handle_ = -1;  // a file descriptor on POSIX, a HANDLE value on Windows
    std::string pending_;
};

// Creates the file when it is missing, leaving an existing one as it is, to learn before a run
// whether the file can be written at all. False with the system's words when it cannot.
bool createWithoutTruncating(const std::string& path, std::string& reason);

}  // namespace tarnwick
