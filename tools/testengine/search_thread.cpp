#include "testengine/search_thread.hpp"

#include <algorithm>
#include <cstdlib>

#include "platform/pipe_io.hpp"
#include "testengine/host.hpp"

namespace tarnwick::testengine {

void Output::line(const std::string& text) {
    std::lock_guard lock(mutex_);
    writeAll(standardOutput(), text + "\n");
}

void SearchThread::start(const Board& position, const SearchLimits& limits, bool holdUntilStopped,
                         IterationHandler onIteration, DoneHandler onDone) {
    stop(true);
    stop_ = false;
    abandoned_ = false;
    thread_ = std::thread([this, position, limits, holdUntilStopped,
                           onIteration = std::move(onIteration), onDone = std::move(onDone)] {
        Search search;
        const Move best = search.run(position, limits, stop_, onIteration);
        if (holdUntilStopped) {
            std::unique_lock lock(mutex_);
            stopped_.wait(lock, [this] { return stop_.load(); });
        }
        onDone(best, abandoned_.load());
    });
}

void SearchThread::requestStop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    stopped_.notify_all();
}

void SearchThread::stop(bool abandon) {
    if (!thread_.joinable()) return;
    if (abandon) abandoned_ = true;
    requestStop();
    thread_.join();
}

std::chrono::milliseconds thinkingTime(int64_t remainingMs, int64_t incrementMs, int movesToGo) {
    constexpr int64_t kMarginMs = 50;
    const int64_t share = movesToGo > 0 ? movesToGo + 1 : 30;
    const int64_t wanted = remainingMs / share + incrementMs * 3 / 4;
    const int64_t allowed = std::max<int64_t>(10, remainingMs - kMarginMs);
    return std::chrono::milliseconds(std::clamp<int64_t>(wanted, 10, allowed));
}

int mateInMoves(int score) {
    if (std::abs(score) < kMateThreshold) return 0;
    const int plies = kMateScore - std::abs(score);
    return score > 0 ? (plies + 1) / 2 : -(plies / 2);
}

}  // namespace tarnwick::testengine
