#include "run/handshake.hpp"

#include <chrono>

namespace tarnwick {

void HandshakeFlags::clear(bool& flag) {
    std::lock_guard lock(mutex_);
    flag = false;
}

void HandshakeFlags::set(bool& flag) {
    {
        std::lock_guard lock(mutex_);
        flag = true;
    }
    changed_.notify_all();
}

bool HandshakeFlags::waitFor(const bool& flag, int milliseconds,
                             const std::atomic<bool>& interrupted, LineReader& reader) {
    // Short slices notice an engine that exits or an interrupt without a signal of their own.
    constexpr std::chrono::milliseconds kSlice(50);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(mutex_);
    while (!flag) {
        if (interrupted || reader.ended().isSet()) return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        changed_.wait_for(lock, std::min<std::chrono::nanoseconds>(kSlice, deadline - now));
    }
    return true;
}

}  // namespace tarnwick
