#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "engine/line_reader.hpp"

namespace tarnwick {

// Raised by the engine's reading thread when "uciok" and "readyok" arrive; the run waits on
// them during the engine's initialisation.
class HandshakeFlags {
  public:
    void clear(bool& flag);
    void set(bool& flag);
    // Waits until the flag is set (true), or the reader has ended, the run was interrupted
    // or the time is up (false).
    bool waitFor(const bool& flag, int milliseconds, const std::atomic<bool>& interrupted,
                 LineReader& reader);

    bool uciOkSeen = false;
    bool readyOkSeen = false;

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace tarnwick
