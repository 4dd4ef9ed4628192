#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace tarnwick {

// The program's console text: every line is flushed when it ends, and a line can be
// highlighted (bright white, then the normal colour again). Highlighting happens only on a
// terminal without NO_COLOR; elsewhere the text is written without any escape bytes. A console
// made for capture keeps the text in memory instead, for tests.
class ConsoleOutput {
  public:
    ConsoleOutput();  // standard output
    // Keeps the text in memory; with highlights, highlighted lines carry the terminal escapes.
    static ConsoleOutput capture(bool withHighlights = false);

    // Writes text as it is; flushes when it ends with a line end.
    void write(std::string_view text);
    // Writes text and a line end, highlighted when asked and possible.
    void line(std::string_view text, bool highlight = false);

    // Writes text captured by a console made with highlights, highlighting its highlighted lines
    // here as this console does: how a block of text made elsewhere reaches the screen whole.
    void replay(std::string_view captured);

    // A line kept at the bottom of a terminal: cleared before any other text and drawn again
    // after it. Nothing happens elsewhere (a file, a pipe, a capture); empty text removes it.
    void status(std::string_view text);

    bool highlights() const { return highlight_; }
    const std::string& captured() const { return captured_; }
    // Hands over the captured text and starts afresh.
    std::string takeCaptured() { return std::exchange(captured_, {}); }

  private:
    // Bright white for a highlighted line, then the normal colour again, as terminal escapes.
    static constexpr std::string_view kHighlightOn = "\x1b[1;97m";
    static constexpr std::string_view kHighlightOff = "\x1b[0m";

    struct CaptureTag {};
    ConsoleOutput(CaptureTag, bool withHighlights) : capturing_(true), highlight_(withHighlights) {}
    void emit(std::string_view text);
    void setHighlight(bool on);

    // The platform's own part: whether standard output is a terminal that shows highlights,
    // and switching them on and off there (text written before the switch is flushed first).
    static bool outputIsTerminal();
    static void setTerminalHighlight(bool on);

    void clearStatus();
    void drawStatus();

    bool capturing_ = false;
    bool terminal_ = false;
    std::string status_;
    size_t statusDrawn_ = 0;  // the width of the status line on the screen, 0: none
    bool highlight_ = false;
    std::string captured_;
};

}  // namespace tarnwick
