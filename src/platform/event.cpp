#include "platform/event.hpp"

#include <algorithm>

namespace tarnwick {

// One waiting call of waitForAny; the events it waits on ping it when they are set.
struct EventWaiter {
    std::mutex mutex;
    std::condition_variable wakeUp;
    bool pinged = false;
};

Event::Event(Reset reset, bool initiallySet)
    : set_(initiallySet), autoReset_(reset == Reset::automatic) {}

void Event::set() {
    std::lock_guard lock(mutex_);
    set_ = true;
    for (EventWaiter* waiter : waiters_) {
        {
            std::lock_guard waiterLock(waiter->mutex);
            waiter->pinged = true;
        }
        waiter->wakeUp.notify_one();
    }
}

void Event::reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool Event::isSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool Event::wait(std::chrono::milliseconds timeout) {
    return waitForAny({this}, timeout) == 0;
}

bool Event::tryConsume() {
    std::lock_guard lock(mutex_);
    if (!set_) return false;
    if (autoReset_) set_ = false;
    return true;
}

void Event::attach(EventWaiter* waiter) {
    std::lock_guard lock(mutex_);
    waiters_.push_back(waiter);
}

void Event::detach(EventWaiter* waiter) {
    std::lock_guard lock(mutex_);
    waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), waiter), waiters_.end());
}

int waitForAny(std::initializer_list<Event*> events, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    EventWaiter waiter;
    // Attached before the first look, so a set() after that look still pings this waiter.
    for (Event* event : events) event->attach(&waiter);
    int result = kWaitTimedOut;
    for (bool timedOut = false;;) {
        int index = 0;
        for (Event* event : events) {
            if (event->tryConsume()) {
                result = index;
                break;
            }
            ++index;
        }
        // After the time-out the events get one more look, so a set that raced it counts.
        if (result != kWaitTimedOut || timedOut) break;
        std::unique_lock lock(waiter.mutex);
        timedOut = !waiter.wakeUp.wait_until(lock, deadline, [&] { return waiter.pinged; });
        waiter.pinged = false;
    }
    for (Event* event : events) event->detach(&waiter);
    return result;
}

}  // namespace tarnwick
