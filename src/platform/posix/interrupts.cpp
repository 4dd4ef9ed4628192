#include "platform/interrupts.hpp"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace tarnwick {

namespace {

// SIGUSR2 only wakes the watcher when it is to stop.
constexpr int kStopSignal = SIGUSR2;

sigset_t watchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, kStopSignal);
    return set;
}

}  // namespace

struct InterruptWatcher::Watch {
    std::function<void()> handler;
    sigset_t oldMask{};
    std::thread thread;

    void run() {
        const sigset_t set = watchedSignals();
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0) continue;
            if (signal == kStopSignal) return;
            handler();
        }
    }
};

InterruptWatcher::InterruptWatcher(std::function<void()> handler)
    : watch_(std::make_unique<Watch>()) {
    watch_->handler = std::move(handler);
    const sigset_t set = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, &watch_->oldMask);
    watch_->thread = std::thread([watch = watch_.get()] { watch->run(); });
}

InterruptWatcher::~InterruptWatcher() {
    pthread_kill(watch_->thread.native_handle(), kStopSignal);
    watch_->thread.join();
    pthread_sigmask(SIG_SETMASK, &watch_->oldMask, nullptr);
}

}  // namespace tarnwick
