#pragma once

#include <cstdint>

namespace tarnwick {

// One end of a pipe: a file descriptor on POSIX; wide enough for a Windows HANDLE value.
using PipeHandle = std::intptr_t;
inline constexpr PipeHandle kNoPipe = -1;

// A child process's id; 0 stands for no process.
using ProcessId = std::uint32_t;

}  // namespace tarnwick
