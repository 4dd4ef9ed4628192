#include "epd/epd_file.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string_view>

#include "text/text.hpp"

namespace tarnwick {

namespace {

constexpr std::size_t kChunkBytes = 65536;

// A skipped line is read past up to its line end only while it stays within this many times
// the line limit; beyond that the file is taken to be an endless source without line ends
// (/dev/zero, say) and its reading ends, since waiting for its next line would never end.
constexpr std::size_t kSkippedLineFactor = 4;

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

// Lines starting with ";" or "#" are comments: no position starts with either.
bool isComment(const std::string& line) {
    return line.front() == ';' || line.front() == '#';
}

// Eight ranks of piece letters and digits between "/": how every record starts, and what no
// stray text (a note, a torn line) does. How many squares a rank holds is the legality
// check's to tell, by the position's id.
bool isPlacement(std::string_view word) {
    int ranks = 0;
    for (std::size_t start = 0; start <= word.size(); ++ranks) {
        const std::size_t end = std::min(word.find('/', start), word.size());
        const std::string_view rank = word.substr(start, end - start);
        if (rank.empty() ||
            rank.find_first_not_of("PNBRQKpnbrqk12345678") != std::string_view::npos)
            return false;
        start = end + 1;
    }
    return ranks == 8;
}

enum class LineKind { nothing, notPosition, record };

// What the line holds once trimmed of controls: nothing to read (empty, a comment), a record,
// or text that is not a position.
LineKind kindOf(std::string& line) {
    trimControls(line);
    if (line.empty() || isComment(line)) return LineKind::nothing;
    const std::string_view text = line;
    return isPlacement(text.substr(0, text.find_first_of(kBlanks))) ? LineKind::record
                                                                    : LineKind::notPosition;
}

// Lines of a file told in one message: how many, and the first of them.
struct LineTally {
    std::size_t count = 0;
    std::size_t first = 0;

    void add(std::size_t number) {
        if (count++ == 0) first = number;
    }
    // "<n> lines of <file> <many> (first: line <k>); <done>.", or for one line "1 line of <file>
    // <one> (line <k>); <done>."; nothing when there was none.
    void tell(std::vector<std::string>& messages, const std::string& fileName, std::string_view one,
              std::string_view many, std::string_view done) const {
        if (count == 0) return;
        const bool single = count == 1;
        messages.push_back(std::to_string(count) + (single ? " line of " : " lines of ") +
                           fileName + " " + std::string(single ? one : many) +
                           (single ? " (line " : " (first: line ") + std::to_string(first) + "); " +
                           std::string(done) + ".");
    }
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Feeds the rest of the file to the splitter piece by piece; false when the splitter ended it.
template <typename OnLine, typename OnOverlong>
bool splitFile(std::FILE* file, LineSplitter& lines, OnLine&& line, OnOverlong&& overlong) {
    std::array<char, kChunkBytes> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) {
        if (!lines.feed({buffer.data(), n}, line, overlong)) return false;
    }
    lines.finish(line);
    return true;
}

// How many records a file that can be read twice (one with a size) will give, counted without
// parsing them, and the file rewound; 0 for a pipe or a device. Records are large: knowing
// their number lets the list grow once instead of moving them all at every growth.
std::size_t countRecords(std::FILE* file, std::size_t maxLineBytes) {
    if (std::fseek(file, 0, SEEK_END) != 0 || std::ftell(file) <= 0) {
        std::rewind(file);
        return 0;
    }
    std::rewind(file);
    LineSplitter lines(maxLineBytes);
    std::size_t records = 0;
    splitFile(
        file, lines,
        [&](std::string& line, std::size_t) {
            records += kindOf(line) == LineKind::record ? 1 : 0;
        },
        [](std::size_t) {});
    std::rewind(file);
    return records;
}

}  // namespace

std::vector<std::string> readEpdFile(const std::string& fileName, std::vector<TestPosition>& list,
                                     std::size_t maxLineBytes) {
    std::vector<std::string> messages;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) return messages;
    list.reserve(list.size() + countRecords(file.get(), maxLineBytes));
    LineSplitter lines(maxLineBytes);
    LineTally notPositions;
    LineTally strayWords;
    // A directory opens on some systems but gives no bytes: it adds nothing, as it should.
    splitFile(
        file.get(), lines,
        [&](std::string& line, std::size_t number) {
            const LineKind kind = kindOf(line);
            if (kind == LineKind::notPosition) notPositions.add(number);
            if (kind == LineKind::record && list.emplace_back().parseEpd(line))
                strayWords.add(number);
        },
        [&](std::size_t number) {
            messages.push_back("Line " + std::to_string(number) + " of " + fileName +
                               " is longer than " + lineLimitText(maxLineBytes) + "; skipped.");
        });
    notPositions.tell(messages, fileName, "is not an EPD position", "are not EPD positions",
                      "skipped");
    strayWords.tell(messages, fileName, "has words before its operations that cannot be opcodes",
                    "have words before their operations that cannot be opcodes",
                    "the words were skipped");
    return messages;
}

}  // namespace tarnwick
