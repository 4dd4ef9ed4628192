#pragma once

#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace tarnwick {

struct EventWaiter;

// A waitable flag. An auto-reset event is cleared by the wait that it ends; a manual-reset
// event stays set until reset().
class Event {
  public:
    enum class Reset { automatic, manual };

    explicit Event(Reset reset, bool initiallySet = false);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    bool isSet() const;

    // Waits up to timeout; true when the event was (or became) set.
    bool wait(std::chrono::milliseconds timeout);

  private:
    friend int waitForAny(std::initializer_list<Event*> events, std::chrono::milliseconds timeout);

    bool tryConsume();
    void attach(EventWaiter* waiter);
    void detach(EventWaiter* waiter);

    mutable std::mutex mutex_;
    bool set_;
    const bool autoReset_;
    std::vector<EventWaiter*> waiters_;
};

inline constexpr int kWaitTimedOut = -1;

// Waits up to timeout until one of the events is set. Returns the index of the first set
// event in list order (an earlier event wins when several are set), consuming it when it is
// auto-reset, or kWaitTimedOut.
int waitForAny(std::initializer_list<Event*> events, std::chrono::milliseconds timeout);

}  // namespace tarnwick
