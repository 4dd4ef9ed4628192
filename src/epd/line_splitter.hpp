#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "epd/file_chunks.hpp"

namespace tarnwick {

// A skipped line is read past up to its line end only while it stays within this many times
// the line limit; beyond that the file is taken to be an endless source without line ends
// (/dev/zero, say) and its reading ends, since waiting for its next line would never end.
inline constexpr std::size_t kSkippedLineFactor = 4;

// Cuts bytes that come in pieces into lines at LF, CR LF or a lone CR, and counts the lines
// from 1. A line that passes the limit is let go at once and skipped up to its end.
class LineSplitter {
  public:
    explicit LineSplitter(std::size_t maxLineBytes) : maxLineBytes_(maxLineBytes) {}

    // Calls line(text, number) for every line that chunk completes and overlong(number) when a
    // line passes the limit; false once a skipped line has run on too long to be read past.
    template <typename OnLine, typename OnOverlong>
    bool feed(std::string_view chunk, OnLine&& line, OnOverlong&& overlong) {
        // The next CR and LF at or after pos: each is searched for once per occurrence, so a
        // chunk of many short lines is not scanned again for every line.
        std::size_t nextReturn = findFrom(chunk, '\r', 0);
        std::size_t nextNewline = findFrom(chunk, '\n', 0);
        for (std::size_t pos = 0; pos < chunk.size();) {
            if (afterReturn_) {
                afterReturn_ = false;
                if (chunk[pos] == '\n') {  // the LF of a CR LF
                    ++pos;
                    continue;
                }
            }
            if (nextReturn < pos) nextReturn = findFrom(chunk, '\r', pos);
            if (nextNewline < pos) nextNewline = findFrom(chunk, '\n', pos);
            const std::size_t end = std::min(nextReturn, nextNewline);
            const std::string_view piece = chunk.substr(pos, end - pos);
            if (skipping_) {
                skipped_ += piece.size();
            } else if (piece.size() > maxLineBytes_ - line_.size()) {
                skipping_ = true;
                skipped_ = line_.size() + piece.size();
                std::string().swap(line_);  // the memory goes back, not just the text
                overlong(lineNumber_);
            } else {
                line_.append(piece);
            }
            if (skipping_ && skipped_ > kSkippedLineFactor * maxLineBytes_) return false;
            if (end == chunk.size()) break;
            afterReturn_ = chunk[end] == '\r';
            pos = end + 1;
            if (!skipping_) line(line_, lineNumber_);
            line_.clear();
            skipping_ = false;
            ++lineNumber_;
        }
        return true;
    }

    // Hands on the last line when it has no line end.
    template <typename OnLine>
    void finish(OnLine&& line) {
        if (!skipping_ && !line_.empty()) line(line_, lineNumber_);
    }

  private:
    // Where c next stands in text from pos on; the end of text when nowhere.
    static std::size_t findFrom(std::string_view text, char c, std::size_t pos) {
        return std::min(text.find(c, pos), text.size());
    }

    const std::size_t maxLineBytes_;
    std::string line_;
    std::size_t lineNumber_ = 1;
    bool afterReturn_ = false;  // the last line ended with CR: an LF next belongs to it
    bool skipping_ = false;
    std::size_t skipped_ = 0;  // bytes of the skipped line so far
};

// Feeds the rest of the file to the splitter piece by piece until stop() says so, asked before
// each piece is read; false when the splitter ended it.
template <typename OnLine, typename OnOverlong, typename Stop>
bool splitFile(FileChunks& file, LineSplitter& lines, OnLine&& line, OnOverlong&& overlong,
               Stop&& stop) {
    while (!stop()) {
        const std::string_view chunk = file.next();
        if (chunk.empty()) {
            lines.finish(line);
            return true;
        }
        if (!lines.feed(chunk, line, overlong)) return false;
    }
    return true;
}

// splitFile to the end of the file.
template <typename OnLine, typename OnOverlong>
bool splitFile(FileChunks& file, LineSplitter& lines, OnLine&& line, OnOverlong&& overlong) {
    return splitFile(file, lines, line, overlong, [] { return false; });
}

}  // namespace tarnwick
