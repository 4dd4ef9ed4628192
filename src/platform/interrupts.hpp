#pragma once

#include <functional>
#include <memory>

namespace tarnwick {

// Takes the console's interrupts (on POSIX SIGINT, SIGTERM and SIGHUP) on a thread of its own
// and calls the handler there, where it may take locks. On POSIX the signals are blocked in the
// constructing thread, and so in every thread it starts later; the destructor restores the old
// mask. What the watching needs is the platform's own, so nothing of it shows here.
class InterruptWatcher {
  public:
    explicit InterruptWatcher(std::function<void()> handler);
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    struct Watch;  // the platform's own

  private:
    std::unique_ptr<Watch> watch_;
};

}  // namespace tarnwick
