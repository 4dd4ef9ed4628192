#include "engine/line_reader.hpp"

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <system_error>

#include "engine/line_assembler.hpp"
#include "platform/pipe_reader.hpp"

namespace tarnwick {

namespace {

constexpr std::chrono::milliseconds kStopWait{1000};
constexpr std::size_t kReadBufferSize = 8192;

}  // namespace

// What one reading thread uses; shared with the thread so that it outlives a LineReader that
// had to let the thread go.
struct LineReader::Shared {
    Shared(const LineReader& owner, Event* ended)
        : pipe(owner.input_),
          maxLineBytes(owner.maxLineBytes_),
          handler(owner.handler_),
          user(owner.user_),
          overlongHandler(owner.overlongHandler_),
          overlongUser(owner.overlongUser_),
          ended(ended) {}

    PipeReader pipe;
    const std::size_t maxLineBytes;
    const LineHandler handler;
    void* const user;
    const OverlongHandler overlongHandler;
    void* const overlongUser;
    std::atomic<bool> stopRequested{false};
    std::mutex mutex;
    bool abandoned = false;  // guarded by mutex; once true, ended is no longer touched
    Event* const ended;
};

// The reading thread's body: reads until the end of the pipe, a handler's false or a stop.
void LineReader::readLines(const std::shared_ptr<Shared>& shared) {
    LineAssembler lines(shared->maxLineBytes);
    std::array<char, kReadBufferSize> buffer;
    const auto deliver = [&](std::string_view line) {
        if (shared->stopRequested.load(std::memory_order_relaxed)) return false;
        return shared->handler == nullptr || shared->handler(line, shared->user);
    };
    const auto overlong = [&] {
        if (shared->stopRequested.load(std::memory_order_relaxed)) return;
        if (shared->overlongHandler != nullptr) shared->overlongHandler(shared->overlongUser);
    };
    while (!shared->stopRequested.load(std::memory_order_relaxed)) {
        const std::size_t n = shared->pipe.read(buffer);
        if (n == 0 || !lines.feed({buffer.data(), n}, deliver, overlong)) break;
    }
    std::lock_guard lock(shared->mutex);
    if (!shared->abandoned) shared->ended->set();
}

LineReader::LineReader(std::size_t maxLineBytes) : maxLineBytes_(maxLineBytes) {}

LineReader::~LineReader() {
    stop();
}

void LineReader::setInput(PipeHandle input) {
    input_ = input;
}

void LineReader::setHandler(LineHandler handler, void* user) {
    handler_ = handler;
    user_ = user;
}

void LineReader::setOverlongHandler(OverlongHandler handler, void* user) {
    overlongHandler_ = handler;
    overlongUser_ = user;
}

bool LineReader::start() {
    if (thread_.joinable()) return true;
    shared_ = std::make_shared<Shared>(*this, &ended_);
    ended_.reset();
    try {
        thread_ = std::thread([shared = shared_] { readLines(shared); });
    } catch (const std::system_error&) {
        shared_.reset();
        ended_.set();
        return false;
    }
    return true;
}

void LineReader::stop() {
    if (!thread_.joinable()) return;
    shared_->stopRequested = true;
    shared_->pipe.interrupt();
    if (ended_.wait(kStopWait)) {
        thread_.join();
        return;
    }
    {
        std::lock_guard lock(shared_->mutex);
        shared_->abandoned = true;
    }
    thread_.detach();
    ended_.set();
}

}  // namespace tarnwick
