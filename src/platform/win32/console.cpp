#include "platform/console.hpp"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace tarnwick {

namespace {

// Bright white for a highlighted line, then the console's normal grey.
constexpr WORD kHighlightOn = 0x000F;
constexpr WORD kHighlightOff = 0x0007;

bool outputIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

void setAttribute(WORD attribute) {
    std::fflush(stdout);
    SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), attribute);
}

}  // namespace

ConsoleOutput::ConsoleOutput()
    : highlight_(outputIsConsole() && std::getenv("NO_COLOR") == nullptr) {}

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
    // A captured console has no attributes; it marks highlighted lines the terminal's way.
    if (colour && capturing_) emit("\x1b[1;97m");
    if (colour && !capturing_) setAttribute(kHighlightOn);
    emit(text);
    if (colour && capturing_) emit("\x1b[0m");
    if (colour && !capturing_) setAttribute(kHighlightOff);
    emit("\n");
    if (!capturing_) std::fflush(stdout);
}

}  // namespace tarnwick
