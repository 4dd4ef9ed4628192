#pragma once

namespace tarnwick {

// Makes a write to a pipe whose reader has gone fail with an error instead of ending the
// program, so an engine that has exited never takes the tester with it.
void ignoreBrokenPipeSignal();

void sleepMilliseconds(int milliseconds);

}  // namespace tarnwick
