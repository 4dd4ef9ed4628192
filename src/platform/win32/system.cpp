#include "platform/system.hpp"

#include <windows.h>

#include "text/text.hpp"

namespace tarnwick {

// A write to a pipe without reader fails with ERROR_NO_DATA here, and one that a file cannot
// take fails with its error too; nothing ends the program.
void ignoreBrokenPipeSignal() {}

std::string cpuModel() {
    char name[256] = {};
    DWORD size = sizeof name;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                     "ProcessorNameString", RRF_RT_REG_SZ, nullptr, name, &size) != ERROR_SUCCESS) {
        return {};
    }
    return trimmed(name);
}

}  // namespace tarnwick
