#pragma once

#include <string>

#include "platform/handles.hpp"

// What the test engine needs of its operating system beyond the platform layer.
namespace tarnwick::testengine {

PipeHandle standardInput();
PipeHandle standardOutput();
PipeHandle standardError();
std::string currentDirectory();
// "fds" and the open descriptors, or "fds unknown" where they cannot be listed.
std::string openDescriptors();
unsigned long processId();
// Dies at once of an abnormal end, without a core file or an error dialog.
[[noreturn]] void crash();
void closeStandardOutput();
void ignoreTerminate();
// Blocks the calling thread for good; the engine then ends from another thread.
[[noreturn]] void waitForever();
void ignoreBrokenPipe();

}  // namespace tarnwick::testengine
