#include "platform/output_file.hpp"

#include <algorithm>
#include <utility>

#include <windows.h>

#include "platform/win32/error_text.hpp"

namespace tarnwick {

namespace {

// Bytes gathered before they are written, so a report of many records costs few writes.
constexpr size_t kFlushSize = 64 * 1024;

constexpr std::intptr_t kNoFile = -1;  // INVALID_HANDLE_VALUE

HANDLE asHandle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

}  // namespace

OutputFile::~OutputFile() {
    std::string ignored;
    close(ignored);
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoFile)), pending_(std::move(other.pending_)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        std::string ignored;
        close(ignored);
        handle_ = std::exchange(other.handle_, kNoFile);
        pending_ = std::move(other.pending_);
    }
    return *this;
}

bool OutputFile::create(const std::string& path, std::string& reason) {
    std::string ignored;
    close(ignored);
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = errorText(GetLastError());
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool OutputFile::write(std::string_view data, std::string& reason) {
    if (!isOpen()) {
        reason = errorText(ERROR_INVALID_HANDLE);
        return false;
    }
    pending_.append(data);
    return pending_.size() < kFlushSize || flush(reason);
}

bool OutputFile::flush(std::string& reason) {
    size_t done = 0;
    DWORD error = 0;
    while (done < pending_.size() && error == 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(pending_.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(asHandle(handle_), pending_.data() + done, chunk, &written, nullptr)) {
            error = GetLastError();
        } else if (written == 0) {
            // A write that takes nothing would take nothing again.
            error = ERROR_WRITE_FAULT;
        }
        done += written;
    }
    pending_.clear();
    if (error == 0) return true;
    reason = errorText(error);
    return false;
}

bool OutputFile::close(std::string& reason) {
    if (!isOpen()) return true;
    bool ok = flush(reason);
    if (!CloseHandle(asHandle(std::exchange(handle_, kNoFile))) && ok) {
        reason = errorText(GetLastError());
        ok = false;
    }
    return ok;
}

bool OutputFile::isOpen() const {
    return handle_ != kNoFile && handle_ != 0;
}

bool createWithoutTruncating(const std::string& path, std::string& reason) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = errorText(GetLastError());
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace tarnwick
