#include "platform/console.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tarnwick {

namespace {

// Bright white for a highlighted line; the reset restores the terminal's normal colour.
constexpr std::string_view kHighlightOn = "\x1b[1;97m";
constexpr std::string_view kHighlightOff = "\x1b[0m";

}  // namespace

ConsoleOutput::ConsoleOutput()
    : highlight_(isatty(STDOUT_FILENO) == 1 && std::getenv("NO_COLOR") == nullptr) {}

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

void ConsoleOutput::write(std::string_view text) {
    emit(text);
    if (!capturing_ && !text.empty() && text.back() == '\n') std::fflush(stdout);
}

void ConsoleOutput::line(std::string_view text, bool highlight) {
    const bool colour = highlight && highlight_;
    if (colour) emit(kHighlightOn);
    emit(text);
    if (colour) emit(kHighlightOff);
    emit("\n");
    if (!capturing_) std::fflush(stdout);
}

}  // namespace tarnwick
