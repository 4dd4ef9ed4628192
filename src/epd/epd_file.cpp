#include "epd/epd_file.hpp"

#include <string_view>

#include "epd/file_chunks.hpp"
#include "epd/line_splitter.hpp"
#include "epd/line_tally.hpp"
#include "epd/puzzle_file.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

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

// How many records a file that can be read twice (one with a size) will give, counted without
// parsing them, and the file rewound; 0 for a pipe or a device. Records are large: knowing
// their number lets the list grow once instead of moving them all at every growth.
std::size_t countRecords(FileChunks& file, std::size_t maxLineBytes) {
    if (!file.restart()) return 0;
    LineSplitter lines(maxLineBytes);
    std::size_t records = 0;
    splitFile(
        file, lines,
        [&](std::string& line, std::size_t) {
            records += kindOf(line) == LineKind::record ? 1 : 0;
        },
        [](std::size_t) {});
    file.restart();
    return records;
}

// readEpdFile on a file already open.
std::vector<std::string> readEpdLines(FileChunks& file, const std::string& fileName,
                                      std::vector<TestPosition>& list, std::size_t maxLineBytes) {
    std::vector<std::string> messages;
    list.reserve(list.size() + countRecords(file, maxLineBytes));
    LineSplitter lines(maxLineBytes);
    LineTally notPositions;
    LineTally strayWords;
    // A directory opens on some systems but gives no bytes: it adds nothing, as it should.
    splitFile(
        file, lines,
        [&](std::string& line, std::size_t number) {
            const LineKind kind = kindOf(line);
            if (kind == LineKind::notPosition) notPositions.add(number);
            if (kind == LineKind::record && list.emplace_back().parseEpd(line))
                strayWords.add(number);
        },
        [&](std::size_t number) {
            messages.push_back(overlongLineMessage(fileName, number, maxLineBytes));
        });
    notPositions.tell(messages, fileName, "is not an EPD position", "are not EPD positions",
                      "skipped");
    strayWords.tell(messages, fileName, "has words before its operations that cannot be opcodes",
                    "have words before their operations that cannot be opcodes",
                    "the words were skipped");
    return messages;
}

}  // namespace

std::vector<std::string> readEpdFile(const std::string& fileName, std::vector<TestPosition>& list,
                                     std::size_t maxLineBytes) {
    FileChunks file(fileName);
    return file.isOpen() ? readEpdLines(file, fileName, list, maxLineBytes)
                         : std::vector<std::string>{};
}

std::vector<std::string> readSuiteFile(const std::string& fileName, const PuzzleFilter& filter,
                                       std::vector<TestPosition>& list, std::size_t maxLineBytes) {
    FileChunks file(fileName);
    if (!file.isOpen()) return {};
    // The header, a byte-order mark before it and its line end: enough to tell the file's kind.
    if (startsWithPuzzleHeader(file.peek(kPuzzleHeader.size() + 4))) {
        return readPuzzleFile(file, fileName, filter, list, maxLineBytes);
    }
    std::vector<std::string> messages = readEpdLines(file, fileName, list, maxLineBytes);
    if (filter.isSet()) {
        const bool one = filter.optionNames().find(' ') == std::string::npos;
        messages.push_back(filter.optionNames() + (one ? " applies" : " apply") +
                           " only to puzzle files; " + fileName + " is read as EPD without " +
                           (one ? "it." : "them."));
    }
    return messages;
}

}  // namespace tarnwick
