#pragma once

#include <string>

namespace tarnwick {

// Makes a write to a pipe whose reader has gone, or one past the size limit a file may grow
// to, fail with an error instead of ending the program: an engine that has exited never takes
// the tester with it, and a result file that cannot grow is reported like a full disk.
void ignoreBrokenPipeSignal();

// The processor's model as the system names it ("Intel(R) Xeon(R) ..."); empty when it names
// none.
std::string cpuModel();

}  // namespace tarnwick
