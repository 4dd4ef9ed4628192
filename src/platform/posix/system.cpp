#include "platform/system.hpp"

#include <signal.h>

#include <fstream>

#include "text/text.hpp"

namespace tarnwick {

void ignoreBrokenPipeSignal() {
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGPIPE, &action, nullptr);
    ::sigaction(SIGXFSZ, &action, nullptr);
}

std::string cpuModel() {
    // Linux tells it in /proc; other systems keep it elsewhere, and there it stays unnamed.
    std::ifstream info("/proc/cpuinfo");
    for (std::string line; std::getline(info, line);) {
        if (!line.starts_with("model name")) continue;
        const size_t colon = line.find(':');
        if (colon != std::string::npos) return trimmed(line.substr(colon + 1));
    }
    return {};
}

}  // namespace tarnwick
