#pragma once

namespace tarnwick {

// Makes a write to a pipe whose reader has gone, or one past the size limit a file may grow
// to, fail with an error instead of ending the program: an engine that has exited never takes
// the tester with it, and a result file that cannot grow is reported like a full disk.
void ignoreBrokenPipeSignal();

void sleepMilliseconds(int milliseconds);

}  // namespace tarnwick
