#include "platform/interrupts.hpp"

#include <pthread.h>

#include <cerrno>

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

InterruptWatcher::InterruptWatcher(std::function<void()> handler) : handler_(std::move(handler)) {
    const sigset_t set = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, &oldMask_);
    thread_ = std::thread([this] { watch(); });
}

InterruptWatcher::~InterruptWatcher() {
    pthread_kill(thread_.native_handle(), kStopSignal);
    thread_.join();
    pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
}

void InterruptWatcher::watch() {
    const sigset_t set = watchedSignals();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) continue;
        if (signal == kStopSignal) return;
        handler_();
    }
}

}  // namespace tarnwick
