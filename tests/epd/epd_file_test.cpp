#include "epd/epd_file.hpp"
#include "support/test_paths.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>

#include "epd/set_aside.hpp"
#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

std::vector<TestPosition> readText(const std::string& bytes) {
    const testing::TempDirectory dir("epd_file");
    const fs::path path = dir / "suite.epd";
    std::ofstream(path, std::ios::binary) << bytes;
    std::vector<TestPosition> list;
    readEpdFile(path.string(), list);
    return list;
}

TEST(EpdFile, CommentsEmptyLinesAndLineEnds) {
    auto list = readText("; my suite\n\n  8/8/8/8/8/8/8/k6K w - - bm Kg2; id \"a\";  \n \t \n");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].id, "a");
    EXPECT_TRUE(readText(";8/8/8/8/8/8/8/k6K w - - bm Kg2;\n#from a web page\n").empty());

    list = readText(
        "8/8/8/8/8/8/8/k6K w - - id \"1\";\r\n8/8/8/8/8/8/8/k6K w - - id \"2\";\r"
        "8/8/8/8/8/8/8/k6K w - - id \"3\";\n\r\n8/8/8/8/8/8/8/k6K w - - id \"4\";");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[3].id, "4");

    // NUL bytes at the ends are stripped; inside a line they stay text.
    list = readText(std::string("8/8/8/8/8/8/8/k6K w - - id \"x\";\0\n", 32));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].id, "x");
}

TEST(EpdFile, LongLinesAndBadFilesLoseNothing) {
    const std::string longComment(600, 'c');
    const std::string megabyte(1 << 20, 'm');
    auto list = readText(
        "8/8/8/8/8/8/8/k6K w - - id \"1\";\n8/8/8/8/8/8/8/k6K w - - id \"2\";\n"
        "8/8/8/8/8/8/8/k6K w - - c0 \"" +
        longComment + "\"; id \"3\";\n" + megabyte + "\n8/8/8/8/8/8/8/k6K w - - id \"5\";\n");
    ASSERT_EQ(list.size(), 4u);  // the megabyte of text is no position
    EXPECT_EQ(list[2].c[0], longComment);
    EXPECT_EQ(list[3].id, "5");

    EXPECT_TRUE(readText("").empty());
    std::vector<TestPosition> none;
    readEpdFile("/nonexistent/suite.epd", none);
    readEpdFile(fs::temp_directory_path().string(), none);
    EXPECT_TRUE(none.empty());

    std::mt19937 random(3);
    std::string binary(200000, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    list = readText(binary);
    for (const TestPosition& p : list) EXPECT_FALSE(p.isEmpty());
}

// Reads bytes as a file under a line limit; the messages go to messages.
std::vector<TestPosition> readLimited(const std::string& bytes, size_t limit,
                                      std::vector<std::string>& messages) {
    const testing::TempDirectory dir("epd_limit");
    const fs::path path = dir / "suite.epd";
    std::ofstream(path, std::ios::binary) << bytes;
    std::vector<TestPosition> list;
    messages = readEpdFile(path.string(), list, limit);
    for (std::string& message : messages) {
        if (const size_t at = message.find(path.string()); at != std::string::npos)
            message.replace(at, path.string().size(), "F");
    }
    return list;
}

std::vector<std::string> ids(const std::vector<TestPosition>& list) {
    std::vector<std::string> out;
    for (const TestPosition& p : list) out.push_back(p.id);
    return out;
}

TEST(EpdFile, LinesOverTheLimitAreSkippedAndCounted) {
    using Texts = std::vector<std::string>;
    const std::string record = "8/8/8/8/8/8/8/k6K w - - id \"";
    std::vector<std::string> messages;
    auto list = readLimited(record + "1\";\n" +                                   // line 1
                                std::string(41, 'x') + "\n" +                     // 2
                                record + "3\";\r\n" +                             // 3
                                std::string(60, 'y') + "\r" +                     // 4, a lone CR
                                record + "5\";" + std::string(9, ' ') + "\r\n" +  // 5, 40 bytes
                                "\n;" + std::string(50, 'c') + "\n" +             // 6, 7
                                record + "8\";",                                  // 8, no end
                            40, messages);
    EXPECT_EQ(ids(list), (Texts{"1", "3", "5", "8"}));
    EXPECT_EQ(messages, (Texts{"Line 2 of F is longer than 40 bytes; skipped.",
                               "Line 4 of F is longer than 40 bytes; skipped.",
                               "Line 7 of F is longer than 40 bytes; skipped."}));

    // The file is read in pieces: a CR LF and an overlong line across their seams count right.
    const size_t piece = 65536;
    list = readLimited("#" + std::string(piece - 2, 'c') + "\r\n" + std::string(3 * piece, 'z') +
                           "\r\n" + record + "3\";\n",
                       2 * piece, messages);
    EXPECT_EQ(ids(list), Texts{"3"});
    EXPECT_EQ(messages, Texts{"Line 2 of F is longer than 131072 bytes; skipped."});

    // A skipped line that runs on past four times the limit is taken for a source without line
    // ends: the reading stops there, as it must for one that is endless.
    list = readLimited(record + "1\";\n" + std::string(400, 'w') + "\n" + record + "3\";\n" +
                           std::string(401, 'z') + "\n" + record + "5\";\n",
                       100, messages);
    EXPECT_EQ(ids(list), (Texts{"1", "3"}));
    EXPECT_EQ(messages, (Texts{"Line 2 of F is longer than 100 bytes; skipped.",
                               "Line 4 of F is longer than 100 bytes; skipped."}));

    // Room is made for the records a file holds, not for its lines: a million empty lines cost
    // nothing.
    list = readLimited(std::string(1000000, '\n') + record + "1\";\n", 100, messages);
    EXPECT_EQ(ids(list), Texts{"1"});
    EXPECT_LT(list.capacity(), 100u);
}

// Lines that are no position are skipped, and words before the operations passed over; each is
// told once per file, by count and first line.
TEST(EpdFile, StrayLinesAndWordsAreSkippedAndTold) {
    using Texts = std::vector<std::string>;
    const std::string kings = "8/8/8/8/8/8/8/k6K w ";
    std::vector<std::string> messages;
    const auto list = readLimited(kings + "K f6 - bm Kg2; id \"1\";\nhello world\n" + kings +
                                      "- - 0 1 2 bm Kg2; id \"3\";\n; note\n8/8/8/8/8/8/8 w - -\n" +
                                      kings + "- - -; bm Kg2; id \"6\";",
                                  100, messages);
    EXPECT_EQ(ids(list), (Texts{"1", "3", "6"}));
    for (const TestPosition& p : list) EXPECT_EQ(p.bm, "Kg2");
    EXPECT_EQ(messages,
              (Texts{"2 lines of F are not EPD positions (first: line 2); skipped.",
                     "2 lines of F have words before their operations that cannot be opcodes "
                     "(first: line 1); the words were skipped."}));
    readLimited("hello\n" + kings + "- - - bm Kg2;\n", 100, messages);
    EXPECT_EQ(messages, (Texts{"1 line of F is not an EPD position (line 1); skipped.",
                               "1 line of F has words before its operations that cannot be "
                               "opcodes (line 2); the words were skipped."}));
}

// Every record of every real suite survives writing and reading back.
TEST(EpdFile, SharedSuitesRoundTrip) {
    const fs::path folder = SHARED_SUITES_DIR;
    for (const char* name : {"wac.epd", "wac_crlf.epd", "sts.epd", "matetrack.epd"}) {
        if (!fs::is_regular_file(folder / name)) GTEST_SKIP() << "no " << name << " at " << folder;
    }
    size_t records = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".epd") continue;
        std::vector<TestPosition> list;
        readEpdFile(entry.path().string(), list);
        EXPECT_FALSE(list.empty()) << entry.path();
        for (const TestPosition& p : list) {
            const std::string line = p.toEpd(false);
            TestPosition back;
            back.parseEpd(line);
            ASSERT_EQ(back.toEpd(false), line) << entry.path();
        }
        records += list.size();
    }
    EXPECT_GT(records, 10000u);

    std::vector<TestPosition> lf;
    std::vector<TestPosition> crlf;
    readEpdFile((folder / "wac.epd").string(), lf);
    readEpdFile((folder / "wac_crlf.epd").string(), crlf);
    ASSERT_EQ(lf.size(), 300u);
    ASSERT_EQ(crlf.size(), 300u);
    for (size_t i = 0; i < lf.size(); ++i) EXPECT_EQ(lf[i].toEpd(false), crlf[i].toEpd(false));

    std::vector<TestPosition> sts;
    readEpdFile((folder / "sts.epd").string(), sts);
    EXPECT_EQ(sts.size(), 1500u);
    std::vector<TestPosition> matetrack;
    readEpdFile((folder / "matetrack.epd").string(), matetrack);
    EXPECT_EQ(matetrack.size(), 6554u);
}

std::vector<TestPosition> positions(const std::vector<std::string>& lines) {
    std::vector<TestPosition> list;
    for (const std::string& line : lines) list.emplace_back().parseEpd(line);
    return list;
}

// Shard K of N keeps the positions whose place among the suite's, from 0, is K modulo N; an
// entry set aside already does not count.
TEST(SetAside, ShardsSplitThePositionsByTheirPlace) {
    auto suite = positions(std::vector<std::string>(7, "4k3/8/8/8/8/8/8/K7 w - -"));
    for (size_t i = 0; i < suite.size(); ++i) suite[i].id = std::to_string(i);
    suite[2].clear();
    for (const auto& [index, count, ids] :
         {std::tuple{0, 1, "0 1 3 4 5 6 "}, {0, 2, "0 3 5 "}, {1, 2, "1 4 6 "}, {2, 3, "3 6 "}}) {
        auto kept = suite;
        setAsideOtherShards(kept, index, count);
        std::string left;
        for (const TestPosition& p : kept) left += p.isEmpty() ? "" : p.id + " ";
        EXPECT_EQ(left, ids);
    }
}

// Puzzles are set aside by their ids: two can start from one position.
TEST(SetAside, PuzzlesMatchByTheirIds) {
    const std::string puzzle = "4k3/8/8/8/8/8/8/K7 w - - puzzle_moves e8d8 a1b2; id ";
    auto suite = positions({puzzle + "a;", puzzle + "b;"});
    setAsideTested(suite, positions({puzzle + "b;"}));
    EXPECT_EQ(suite[0].id + "|" + suite[1].id, "a|");
}

TEST(SetAside, EachResultClearsTheFirstEqualSuitePosition) {
    auto suite =
        positions({"8/8/8/8/8/8/8/k6K w - - id \"a\";", "8/8/8/8/8/8/8/k6K b - - id \"b\";",
                   "8/8/8/8/8/8/8/k6K w - - id \"c\";", "8/8/8/8/8/8/8/k5K1 w - - id \"d\";"});
    const auto results = positions({"8/8/8/8/8/8/8/k6K w - - 3 9 id \"other\"; pm Kg2;",
                                    "8/8/8/8/8/8/8/k6K w - - id \"again\";",
                                    "8/8/8/8/8/8/8/k6K w - - id \"third\";"});
    setAsideTested(suite, results);
    EXPECT_TRUE(suite[0].isEmpty());
    EXPECT_FALSE(suite[1].isEmpty());
    EXPECT_TRUE(suite[2].isEmpty());
    EXPECT_FALSE(suite[3].isEmpty());
}

// The keyed lookup gives what comparing every record with every position gives.
TEST(SetAside, EqualsTheQuadraticReference) {
    const char* fens[] = {"8/8/8/8/8/8/8/k6K w - -",     "8/8/8/8/8/8/8/k6K b - -",
                          "8/8/8/8/8/8/8/k6K w K -",     "4k3/8/8/8/4P3/8/8/4K3 b - e3",
                          "4k3/8/8/8/4P3/8/8/4K3 b - -", "4k3/8/8/8/4P3/8/8/4K3 b - e6"};
    std::mt19937 random(5);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> suiteLines;
        std::vector<std::string> resultLines;
        for (int i = 0; i < 12; ++i) suiteLines.push_back(fens[random() % 6]);
        for (int i = 0; i < 8; ++i) resultLines.push_back(fens[random() % 6]);
        auto fast = positions(suiteLines);
        auto reference = fast;
        const auto results = positions(resultLines);
        setAsideTested(fast, results);
        for (const TestPosition& r : results) {
            for (TestPosition& s : reference) {
                if (!s.isEmpty() && r.comparePosition(s) == 0) {
                    s.clear();
                    break;
                }
            }
        }
        for (size_t i = 0; i < fast.size(); ++i) {
            ASSERT_EQ(fast[i].isEmpty(), reference[i].isEmpty()) << round << " " << i;
        }
    }
}

}  // namespace
}  // namespace tarnwick
