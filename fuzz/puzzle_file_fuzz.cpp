// Any bytes read as a puzzle table, header first: every entry made is a legal position whose bm
// is a legal move written in SAN, and its record reads back as the same record.
#include "chess/legality.hpp"
#include "epd/line_splitter.hpp"
#include "epd/puzzle_file.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

namespace {

constexpr std::size_t kLineLimit = 4096;

void check(const TestPosition& entry) {
    require(whyNotLegal(entry.fenText()).empty(), "an entry is no legal position");
    Board board;
    board.setFromFen(entry.fenText());
    const Move bm = board.parseMove(entry.bm);
    require(bm.isValid() && board.sanOf(bm) == entry.bm, "an entry's bm is no legal move in SAN");
    TestPosition again;
    again.parseEpd(entry.toEpd(false));
    require(again == entry, "an entry's record reads back as another record");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    // A limit taken from the input's size, so that reading also stops short now and then.
    PuzzleFilter filter;
    filter.limit = static_cast<int32_t>(size % 7);
    std::vector<TestPosition> list;
    PuzzleReader reader(filter, list);
    LineSplitter lines(kLineLimit);
    const auto row = [&](const std::string& line, std::size_t number) {
        reader.read(line, number);
    };
    lines.feed(text, row, [](std::size_t) {});
    lines.finish(row);
    require(filter.limit == 0 || list.size() <= static_cast<size_t>(filter.limit),
            "more entries than the limit");
    for (const TestPosition& entry : list) check(entry);
    return 0;
}
