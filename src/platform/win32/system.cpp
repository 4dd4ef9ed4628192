#include "platform/system.hpp"

#include <windows.h>

namespace tarnwick {

// A write to a pipe without reader fails with ERROR_NO_DATA here, and one that a file cannot
// take fails with its error too; nothing ends the program.
void ignoreBrokenPipeSignal() {}

void sleepMilliseconds(int milliseconds) {
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

}  // namespace tarnwick
