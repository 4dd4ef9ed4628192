#include "platform/console.hpp"

#include <cstdio>
#include <cstdlib>

namespace tarnwick {

ConsoleOutput::ConsoleOutput()
    : highlight_(outputIsTerminal() && std::getenv("NO_COLOR") == nullptr) {}

ConsoleOutput ConsoleOutput::capture(bool withHighlights) {
    return ConsoleOutput(CaptureTag{}, withHighlights);
}

void ConsoleOutput::emit(std::string_view text) {
    if (capturing_) {
        captured_ += text;
    } else {
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
}

void ConsoleOutput::setHighlight(bool on) {
    if (capturing_) {
        captured_ += on ? kHighlightOn : kHighlightOff;
    } else {
        setTerminalHighlight(on);
    }
}

void ConsoleOutput::write(std::string_view text) {
    emit(text);
    if (!capturing_ && !text.empty() && text.back() == '\n') std::fflush(stdout);
}

void ConsoleOutput::line(std::string_view text, bool highlight) {
    const bool colour = highlight && highlight_;
    if (colour) setHighlight(true);
    emit(text);
    if (colour) setHighlight(false);
    emit("\n");
    if (!capturing_) std::fflush(stdout);
}

}  // namespace tarnwick
