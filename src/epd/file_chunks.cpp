#include "epd/file_chunks.hpp"

namespace tarnwick {

namespace {

constexpr std::size_t kChunkBytes = 65536;

}  // namespace

FileChunks::FileChunks(const std::string& fileName) : file_(std::fopen(fileName.c_str(), "rb")) {
    if (!file_) return;
    // Asked once, before anything is read: a failed seek on a pipe could lose bytes already
    // buffered. /dev/zero seeks but has no size, and is endless: it is never read twice.
    hasSize_ = std::fseek(file_.get(), 0, SEEK_END) == 0 && std::ftell(file_.get()) > 0;
    std::rewind(file_.get());
}

std::string_view FileChunks::peek(std::size_t n) {
    if (!file_ || peekedPending_) return peeked_;
    peeked_.resize(n);
    peeked_.resize(std::fread(peeked_.data(), 1, n, file_.get()));
    peekedPending_ = true;
    return peeked_;
}

std::string_view FileChunks::next() {
    if (!file_) return {};
    if (peekedPending_) {
        peekedPending_ = false;
        if (!peeked_.empty()) return peeked_;
    }
    buffer_.resize(kChunkBytes);
    return {buffer_.data(), std::fread(buffer_.data(), 1, buffer_.size(), file_.get())};
}

bool FileChunks::restart() {
    if (!hasSize_) return false;
    std::rewind(file_.get());
    peekedPending_ = false;
    return true;
}

}  // namespace tarnwick
