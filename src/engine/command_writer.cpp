#include "engine/command_writer.hpp"

namespace tarnwick {

CommandWriter::CommandWriter(EngineProcess& process)
    : process_(process), thread_([this] { writeQueued(); }) {}

CommandWriter::~CommandWriter() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void CommandWriter::tell(LineSink* sink) {
    std::lock_guard lock(mutex_);
    sink_ = sink;
}

void CommandWriter::post(std::string text) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        queue_.push_back(std::move(text));
        written_.reset();
    }
    changed_.notify_all();
}

void CommandWriter::close(std::string_view lastCommand) {
    {
        std::lock_guard lock(mutex_);
        queue_.clear();
        if (!lastCommand.empty()) queue_.emplace_back(lastCommand);
        closed_ = true;
        if (queue_.empty() && !writing_) written_.set();
    }
    changed_.notify_all();
}

void CommandWriter::drop() {
    std::unique_lock lock(mutex_);
    queue_.clear();
    changed_.wait(lock, [this] { return !writing_; });
    closed_ = false;
    written_.set();
}

void CommandWriter::writeQueued() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !queue_.empty(); });
        if (ending_) return;
        std::string text = std::move(queue_.front());
        queue_.pop_front();
        writing_ = true;
        LineSink* const sink = sink_;
        lock.unlock();
        if (process_.sendLine(text) && sink != nullptr) sink->onWritten(text);
        lock.lock();
        writing_ = false;
        if (queue_.empty()) written_.set();
        changed_.notify_all();
    }
}

}  // namespace tarnwick
