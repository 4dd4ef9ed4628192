#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

enum class ResultFileOpen { opened, inUse, failed };

// The result file of a run, held open and locked for the whole run so that a second run on the
// same file is turned away instead of mixing its records into ours. The lock is advisory on
// POSIX and covers a byte past any real data on Windows: reading the file by its name while it
// is held still works everywhere.
class ResultFile {
  public:
    ResultFile() = default;
    ~ResultFile();
    ResultFile(ResultFile&& other) noexcept;
    ResultFile& operator=(ResultFile&& other) noexcept;
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    // Opens the file for appending (created when missing), takes an exclusive lock on it
    // without waiting, and ends its last line with a line end when it has none, so that every
    // record appended stands on a line of its own; on failed, reason holds the system's words
    // (strerror / FormatMessage).
    ResultFileOpen open(const std::string& path, std::string& reason);
    // Appends data whole or not at all, then forces it to the disk (fdatasync /
    // FlushFileBuffers). A short or failed write cuts the file back to its length before the
    // write, so the file never ends in a torn record. False with the reason when it failed.
    bool append(std::string_view data, std::string& reason);
    bool isOpen() const;
    void close();  // also in the destructor; releases the lock

  private:
    // A file descriptor on POSIX; wide enough for a Windows HANDLE value.
    std::intptr_t handle_ = -1;
};

}  // namespace tarnwick
