#include "platform/console.hpp"

#include <unistd.h>

#include <cstdio>

namespace tarnwick {

bool ConsoleOutput::outputIsTerminal() {
    return isatty(STDOUT_FILENO) == 1;
}

void ConsoleOutput::setTerminalHighlight(bool on) {
    const std::string_view escape = on ? kHighlightOn : kHighlightOff;
    std::fwrite(escape.data(), 1, escape.size(), stdout);
}

}  // namespace tarnwick
