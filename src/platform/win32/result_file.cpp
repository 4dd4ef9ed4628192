#include "platform/result_file.hpp"

#include <algorithm>
#include <utility>

#include <windows.h>

#include "platform/win32/error_text.hpp"

namespace tarnwick {

namespace {

// Windows locks are mandatory on the range they cover, so the lock sits on one byte far past
// any data the file will ever hold: writers and readers of the real bytes are not stopped.
constexpr DWORD kLockOffsetLow = 0xFFFFFFFEu;
constexpr DWORD kLockOffsetHigh = 0xFFFFFFFFu;

HANDLE asHandle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

constexpr std::intptr_t kNoFile = -1;  // INVALID_HANDLE_VALUE

// Writes all of data at the end of the file; on failure returns the error code, else 0.
DWORD writeAll(HANDLE file, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
        DWORD written = 0;
        // Both offsets all ones: wherever the end of the file is now, as O_APPEND does.
        OVERLAPPED atEnd{};
        atEnd.Offset = 0xFFFFFFFFu;
        atEnd.OffsetHigh = 0xFFFFFFFFu;
        if (!WriteFile(file, data.data() + done, chunk, &written, &atEnd)) return GetLastError();
        // A write that takes nothing would take nothing again.
        if (written == 0) return ERROR_WRITE_FAULT;
        done += written;
    }
    return 0;
}

// Ends the last line of a disk file that does not end in a line end, so that the first record
// appended starts a line of its own instead of being glued to a torn or hand-edited last line.
// A file that cannot be read is left as it is. Returns the error code, else 0.
DWORD endLastLine(HANDLE file) {
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart == 0)
        return 0;
    OVERLAPPED lastByte{};
    lastByte.Offset = static_cast<DWORD>((size.QuadPart - 1) & 0xFFFFFFFF);
    lastByte.OffsetHigh = static_cast<DWORD>((size.QuadPart - 1) >> 32);
    char last = '\n';
    DWORD read = 0;
    if (!ReadFile(file, &last, 1, &read, &lastByte) || read != 1) return 0;
    return last != '\n' ? writeAll(file, "\n") : 0;
}

}  // namespace

ResultFile::~ResultFile() {
    close();
}

ResultFile::ResultFile(ResultFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoFile)) {}

ResultFile& ResultFile::operator=(ResultFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, kNoFile);
    }
    return *this;
}

ResultFileOpen ResultFile::open(const std::string& path, std::string& reason) {
    close();
    // Full write access rather than FILE_APPEND_DATA alone: LockFileEx and SetEndOfFile want
    // it. Every write still goes to the end of the file (see writeAll). Read access lets open
    // end the last line; a file that may only be written is still taken.
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        reason = errorText(GetLastError());
        return ResultFileOpen::failed;
    }
    OVERLAPPED where{};
    where.Offset = kLockOffsetLow;
    where.OffsetHigh = kLockOffsetHigh;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
            return ResultFileOpen::inUse;
        }
        reason = errorText(error);
        return ResultFileOpen::failed;
    }
    if (const DWORD error = endLastLine(file); error != 0) {
        CloseHandle(file);
        reason = errorText(error);
        return ResultFileOpen::failed;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return ResultFileOpen::opened;
}

bool ResultFile::append(std::string_view data, std::string& reason) {
    if (!isOpen()) {
        reason = errorText(ERROR_INVALID_HANDLE);
        return false;
    }
    const HANDLE file = asHandle(handle_);
    LARGE_INTEGER before{};
    if (!GetFileSizeEx(file, &before)) {
        reason = errorText(GetLastError());
        return false;
    }
    if (const DWORD error = writeAll(file, data); error != 0) {
        reason = errorText(error);
        if (!SetFilePointerEx(file, before, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
            reason +=
                " (and the part written could not be taken back: " + errorText(GetLastError()) +
                ")";
        }
        return false;
    }
    if (!FlushFileBuffers(file)) {
        reason = errorText(GetLastError());
        return false;
    }
    return true;
}

bool ResultFile::isOpen() const {
    return handle_ != kNoFile && handle_ != 0;
}

void ResultFile::close() {
    if (!isOpen()) return;
    // Closing the handle releases its lock as well.
    CloseHandle(asHandle(std::exchange(handle_, kNoFile)));
}

}  // namespace tarnwick
