#pragma once

#include <functional>
#include <thread>

#include <signal.h>

namespace tarnwick {

// Takes the console's interrupts (SIGINT, SIGTERM, SIGHUP) on a thread of its own and calls
// the handler there, where it may take locks. The signals are blocked in the constructing
// thread, and so in every thread it starts later; the destructor restores the old mask.
class InterruptWatcher {
  public:
    explicit InterruptWatcher(std::function<void()> handler);
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

  private:
    void watch();

    std::function<void()> handler_;
    sigset_t oldMask_{};
    std::thread thread_;
};

}  // namespace tarnwick
