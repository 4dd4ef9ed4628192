#include "epd/puzzle_file.hpp"

#include <optional>

#include "epd/csv_row.hpp"
#include "epd/line_splitter.hpp"
#include "epd/puzzle_entry.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

enum PuzzleColumn : std::size_t { Id = 0, Fen = 1, Moves = 2, Rating = 3, Themes = 7 };
constexpr std::size_t kColumnsNeeded = Themes + 1;

}  // namespace

bool startsWithPuzzleHeader(std::string_view firstBytes) {
    if (firstBytes.starts_with("\xEF\xBB\xBF")) firstBytes.remove_prefix(3);
    if (!firstBytes.starts_with(kPuzzleHeader)) return false;
    firstBytes.remove_prefix(kPuzzleHeader.size());
    return firstBytes.empty() || firstBytes.front() == '\n' || firstBytes.front() == '\r';
}

void PuzzleReader::read(std::string_view line, std::size_t number) {
    if (number == 1 || line.empty() || full()) return;
    const bool whole =
        splitCsvRow(line, fields_, kColumnsNeeded) && fields_.size() >= kColumnsNeeded;
    const std::optional<int32_t> rating =
        whole ? wholeNumber<int32_t>(fields_[Rating]) : std::nullopt;
    if (!rating) {
        notPuzzles_.add(number);
        return;
    }
    if (!filter_.keeps(*rating, fields_[Themes])) return;
    const PuzzleRow row{fields_[Id], fields_[Fen], fields_[Moves], *rating, fields_[Themes]};
    if (!makePuzzleEntry(row, list_.emplace_back())) {
        list_.pop_back();
        notPuzzles_.add(number);
        return;
    }
    ++kept_;
}

void PuzzleReader::tell(std::vector<std::string>& messages, const std::string& fileName) const {
    notPuzzles_.tell(messages, fileName, "is not a puzzle", "are not puzzles", "skipped", "row");
    if (kept_ == 0 && filter_.selects()) {
        messages.push_back("No puzzle of " + fileName + " passes " + filter_.optionNames(false) +
                           ".");
    }
}

std::vector<std::string> readPuzzleFile(FileChunks& file, const std::string& fileName,
                                        const PuzzleFilter& filter, std::vector<TestPosition>& list,
                                        std::size_t maxLineBytes) {
    std::vector<std::string> messages;
    PuzzleReader reader(filter, list);
    LineSplitter lines(maxLineBytes);
    splitFile(
        file, lines,
        [&](const std::string& line, std::size_t number) { reader.read(line, number); },
        [&](std::size_t number) {
            messages.push_back(overlongLineMessage(fileName, number, maxLineBytes));
        },
        [&] { return reader.full(); });
    reader.tell(messages, fileName);
    return messages;
}

}  // namespace tarnwick
