#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "platform/handles.hpp"

namespace tarnwick {

// Reads whatever the pipe holds, up to buffer.size() bytes, blocking until something comes.
// Returns the number of bytes read, or 0 at the end of the pipe and on any error that a
// retry would not cure.
std::size_t readSome(PipeHandle pipe, std::span<char> buffer);

// Writes all of bytes, going on after partial writes and interruptions. False when the pipe
// is closed, broken or not set.
bool writeAll(PipeHandle pipe, std::string_view bytes);

// Closes the handle when it is set and sets it to kNoPipe.
void closePipe(PipeHandle& pipe);

// Two ends of a fresh pipe whose handles are not inherited by child processes.
struct PipePair {
    PipeHandle readEnd = kNoPipe;
    PipeHandle writeEnd = kNoPipe;
};

// A new pipe, or two kNoPipe ends when none can be made.
PipePair makePipe();

// A duplicate of the handle, not inherited by child processes; kNoPipe on failure.
PipeHandle duplicatePipe(PipeHandle pipe);

}  // namespace tarnwick
