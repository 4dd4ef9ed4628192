#include "run/shared_console.hpp"

namespace tarnwick {

SharedConsole::SharedConsole(ConsoleOutput& screen, size_t lanes)
    : screen_(screen),
      blocks_(lanes, ConsoleOutput::capture(screen.highlights())),
      working_(lanes) {}

void SharedConsole::write(size_t lane, std::string_view text) {
    std::lock_guard lock(mutex_);
    target(lane).write(text);
}

void SharedConsole::line(size_t lane, std::string_view text, bool highlight) {
    std::lock_guard lock(mutex_);
    target(lane).line(text, highlight);
}

void SharedConsole::print(size_t lane) {
    if (!blocks_[lane].captured().empty()) screen_.replay(blocks_[lane].takeCaptured());
}

void SharedConsole::endBlock(size_t lane) {
    std::lock_guard lock(mutex_);
    print(lane);
}

void SharedConsole::leave(size_t lane) {
    std::lock_guard lock(mutex_);
    print(lane);
    // The one left goes on with its block on the screen.
    if (--working_ == 1) {
        for (size_t i = 0; i < blocks_.size(); ++i) print(i);
    }
}

void SharedConsole::status(std::string_view text) {
    std::lock_guard lock(mutex_);
    screen_.status(text);
}

}  // namespace tarnwick
