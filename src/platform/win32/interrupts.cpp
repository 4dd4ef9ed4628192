#include "platform/interrupts.hpp"

#include <windows.h>

#include <atomic>

namespace tarnwick {

// The console calls its handlers without a user value, so the one watcher is found here.
struct InterruptWatcher::Watch {
    std::function<void()> handler;
};

namespace {

std::atomic<InterruptWatcher::Watch*> activeWatch{nullptr};

// Every console event (Ctrl+C, Ctrl+Break, closing the window, logoff, shutdown) alike; the
// system calls this on a thread of its own, where the handler may take locks.
BOOL WINAPI onConsoleEvent(DWORD) {
    InterruptWatcher::Watch* watch = activeWatch.load();
    if (watch == nullptr) return FALSE;
    watch->handler();
    return TRUE;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::function<void()> handler)
    : watch_(std::make_unique<Watch>()) {
    watch_->handler = std::move(handler);
    activeWatch.store(watch_.get());
    SetConsoleCtrlHandler(&onConsoleEvent, TRUE);
}

InterruptWatcher::~InterruptWatcher() {
    SetConsoleCtrlHandler(&onConsoleEvent, FALSE);
    activeWatch.store(nullptr);
}

}  // namespace tarnwick
