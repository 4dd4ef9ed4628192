#include "epd/puzzle_file.hpp"
#include "support/test_paths.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "chess/chess_test_util.hpp"
#include "epd/csv_row.hpp"
#include "epd/epd_file.hpp"
#include "support/temp_files.hpp"
#include "text/text.hpp"

namespace tarnwick {
namespace {

const std::string kTable = std::string(TEST_DATA_DIR) + "/puzzles.csv";

// A filter by rating from least to most (none when most is negative), theme words and limit.
PuzzleFilter filter(int32_t least, int32_t most, std::vector<std::string> themes, int32_t limit) {
    return PuzzleFilter{most >= 0, least, most, std::move(themes), limit};
}

std::string idsOf(const std::vector<TestPosition>& list) {
    std::string ids;
    for (const TestPosition& entry : list) ids += (ids.empty() ? "" : " ") + entry.id;
    return ids;
}

// Each puzzle replayed from its FEN: the entry holds the position after the opponent's move,
// bm is the solver's first move, and the last move of a mate puzzle mates.
TEST(PuzzleFile, TheTableReplaysAndItsMatesMate) {
    std::vector<TestPosition> list;
    EXPECT_EQ(readSuiteFile(kTable, {}, list),
              std::vector<std::string>{"7 rows of " + kTable +
                                       " are not puzzles (first: line 13); skipped."});
    EXPECT_EQ(idsOf(list),
              "m1white m1black m2white fork m2black promote enpassant q\"uoted smother1 castle "
              "forkblack");
    for (const TestPosition& entry : list) {
        Board board;
        board.setFromFen(entry.puzzle_fen);
        TokenCursor moves(entry.puzzle_moves);
        int step = 0;
        for (std::string_view word = moves.next(); !word.empty(); word = moves.next(), ++step) {
            Move move = board.parseMove(word);
            if (step == 1) {
                EXPECT_EQ(board.sanOf(move), entry.bm) << entry.id;
            }
            ASSERT_TRUE(move.isValid() && playMove(board, move, true)) << entry.id << " " << word;
            if (step == 0) {
                EXPECT_EQ(board.compare(testutil::boardFrom(entry.fenText())), 0) << entry.id;
            }
        }
        EXPECT_EQ(isCheckmate(board),
                  (" " + entry.puzzle_themes + " ").find(" mate ") != std::string::npos)
            << entry.id;
    }
    ASSERT_EQ(list.size(), 11u);
    EXPECT_EQ(list[6].toEpd(false),
              "4k3/4q3/8/3pP3/8/8/8/4R1K1 w - d6 bm exd6; fmvn 19; id \"enpassant\"; puzzle_fen "
              "\"4k3/3pq3/8/4P3/8/8/8/4R1K1 b - - 0 18\"; puzzle_moves d7d5 e5d6; puzzle_rating "
              "1105; puzzle_themes advantage enPassant middlegame oneMove;");
    EXPECT_EQ(list[9].bm, "O-O");
}

TEST(PuzzleFile, FiltersKeepRatingsThemesAndTheFirstN) {
    const std::string none = "No puzzle of " + kTable + " passes ";
    // Rows the filters leave out are not checked further: only the rows whose fields are
    // unreadable (13, 18 and 19) count.
    const std::string bad = "3 rows of " + kTable + " are not puzzles (first: line 13); skipped.";
    const struct {
        PuzzleFilter filter;
        std::string ids;
        std::vector<std::string> messages;
    } cases[] = {
        {filter(1000, 1500, {}, 0), "m2white fork enpassant smother1 castle forkblack", {bad}},
        {filter(0, -1, {"mateIn2", "mate"}, 0), "m2white m2black", {bad}},
        {filter(0, -1, {"fork"}, 1), "fork", {}},
        {filter(0, -1, {}, 2), "m1white m1black", {}},
        {filter(0, -1, {"Move"}, 3), "", {bad, none + "--theme."}},
        {filter(0, 1, {"fork"}, 0), "", {bad, none + "--rating and --theme."}},
    };
    for (const auto& [filter, ids, messages] : cases) {
        std::vector<TestPosition> list;
        EXPECT_EQ(readSuiteFile(kTable, filter, list), messages) << ids;
        EXPECT_EQ(idsOf(list), ids);
    }
}

// The first line decides how the suite is read; filters given for an EPD suite are told.
TEST(PuzzleFile, TheFirstLineChoosesTheReader) {
    const testing::TempDirectory dir("suite_file");
    const std::string file = (dir / "suite").string();
    const std::string header(kPuzzleHeader);
    const std::string row =
        "p1,6k1/p4ppp/8/8/8/8/5PPP/3R2K1 b - - 0 30,a7a6 d1d8,600,1,1,1,mate,u,";
    const std::string epd = "6k1/p4ppp/8/8/8/8/5PPP/3R2K1 b - - bm Rd8#; id \"e\";\n";
    const std::string unused = " only to puzzle files; F is read as EPD without ";
    const struct {
        std::string text;
        PuzzleFilter filter;
        std::string ids;
        std::vector<std::string> messages;
    } cases[] = {
        {header + "\r\n" + row, {}, "p1", {}},
        {"\xEF\xBB\xBF" + header + "\n" + row + "\r\n\r\n", {}, "p1", {}},
        {header + ",X\n" + row,
         {},
         "",
         {"2 lines of F are not EPD positions (first: line 1); skipped."}},
        {epd, filter(0, -1, {}, 5), "e", {"--limit applies" + unused + "it."}},
        {epd, filter(0, 0, {"mate"}, 0), "e", {"--rating and --theme apply" + unused + "them."}},
    };
    for (const auto& [text, filter, ids, messages] : cases) {
        std::ofstream(file, std::ios::binary) << text;
        std::vector<TestPosition> list;
        std::vector<std::string> told = readSuiteFile(file, filter, list);
        for (std::string& message : told) message.replace(message.find(file), file.size(), "F");
        EXPECT_EQ(told, messages) << text;
        EXPECT_EQ(idsOf(list), ids);
    }
}

TEST(CsvRow, QuotedFieldsAndTheirFaults) {
    const struct {
        std::string_view line;
        bool whole;
        std::vector<std::string> fields;
    } cases[] = {
        {"a,b,,c", true, {"a", "b", "", "c"}},
        {"\"a,b\",\"c\"\"d\",e", true, {"a,b", "c\"d", "e"}},
        {"\"\",x,", true, {"", "x", ""}},
        {"", true, {""}},
        {"a\"b,c", true, {"a\"b", "c"}},
        {"x,\"open,y", false, {}},
        {"\"a\"b,c", false, {}},
        {"a,b,c,d,\"open", true, {"a", "b", "c", "d"}},
    };
    std::vector<std::string> fields{"left", "over", "from", "before", "x"};
    for (const auto& [line, whole, expected] : cases) {
        EXPECT_EQ(splitCsvRow(line, fields, 4), whole) << line;
        if (whole) {
            EXPECT_EQ(fields, expected) << line;
        }
    }
}

}  // namespace
}  // namespace tarnwick
