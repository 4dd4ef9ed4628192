#include "platform/console.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace tarnwick {

ConsoleOutput::ConsoleOutput()
    : terminal_(outputIsTerminal()), highlight_(terminal_ && std::getenv("NO_COLOR") == nullptr) {}

ConsoleOutput ConsoleOutput::capture(bool withHighlights) {
    return ConsoleOutput(CaptureTag{}, withHighlights);
}

void ConsoleOutput::emit(std::string_view text) {
    if (statusDrawn_ > 0 && !text.empty()) clearStatus();
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
    if (!capturing_ && !text.empty() && text.back() == '\n') {
        drawStatus();
        std::fflush(stdout);
    }
}

void ConsoleOutput::line(std::string_view text, bool highlight) {
    const bool colour = highlight && highlight_;
    if (colour) setHighlight(true);
    emit(text);
    if (colour) setHighlight(false);
    emit("\n");
    if (!capturing_) {
        drawStatus();
        std::fflush(stdout);
    }
}

void ConsoleOutput::replay(std::string_view captured) {
    bool on = false;
    while (!captured.empty()) {
        const std::string_view mark = on ? kHighlightOff : kHighlightOn;
        const size_t at = captured.find(mark);
        const std::string_view text = captured.substr(0, at);
        if (!text.empty()) emit(text);
        if (at == std::string_view::npos) break;
        on = !on;
        if (highlight_) setHighlight(on);
        captured.remove_prefix(at + mark.size());
    }
    if (on && highlight_) setHighlight(false);
    if (!capturing_) {
        drawStatus();
        std::fflush(stdout);
    }
}

void ConsoleOutput::status(std::string_view text) {
    if (capturing_ || !terminal_) return;
    status_ = text;
    if (statusDrawn_ > 0) clearStatus();
    drawStatus();
    std::fflush(stdout);
}

// Blanks rather than an erase escape, so any console clears it.
void ConsoleOutput::clearStatus() {
    const size_t width = std::exchange(statusDrawn_, 0);
    const std::string blank = "\r" + std::string(width, ' ') + "\r";
    std::fwrite(blank.data(), 1, blank.size(), stdout);
}

void ConsoleOutput::drawStatus() {
    if (status_.empty() || statusDrawn_ > 0) return;
    std::fwrite(status_.data(), 1, status_.size(), stdout);
    statusDrawn_ = status_.size();
}

}  // namespace tarnwick
