#pragma once

#include <cstddef>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/console.hpp"

namespace tarnwick {

// The screen that a run's lanes share. What a lane prints for one position (its heading, the
// thinking lines, the final move) is one block, and blocks never mix: while other lanes are at
// work a lane keeps its block and prints it whole when it ends; a lane that works alone, the one
// lane of a run or the last one left, writes every line as it comes. mutex_ guards all of it,
// the screen included; any thread may call it.
class SharedConsole {
  public:
    SharedConsole(ConsoleOutput& screen, size_t lanes);

    void write(size_t lane, std::string_view text);
    // Text and a line end, highlighted when asked and possible.
    void line(size_t lane, std::string_view text, bool highlight = false);
    // The lane's block is complete: it is printed, and what the lane writes next starts another.
    void endBlock(size_t lane);
    // The lane has ended: what it kept is printed, and a lane left alone writes through.
    void leave(size_t lane);
    // The line kept at the bottom of a terminal; empty removes it.
    void status(std::string_view text);

  private:
    ConsoleOutput& target(size_t lane) { return working_ == 1 ? screen_ : blocks_[lane]; }
    void print(size_t lane);

    std::mutex mutex_;
    ConsoleOutput& screen_;
    std::vector<ConsoleOutput> blocks_;  // each lane's block so far, while it is not alone
    size_t working_;                     // the lanes that have not left
};

}  // namespace tarnwick
