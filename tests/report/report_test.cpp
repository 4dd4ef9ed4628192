#include "report/report.hpp"
#include "support/test_paths.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "epd/epd_file.hpp"
#include "scoring/position_scorer.hpp"
#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

// A record of the lone-kings position where Kg2 is the best move.
TestPosition record(std::string_view operations) {
    TestPosition p;
    p.parseEpd("8/8/8/8/8/8/8/k6K w - - " + std::string(operations));
    return p;
}

// Prints the report as a run does; "" or the failure to write a file.
std::string print(const std::vector<TestPosition>& results, const ReportSettings& settings,
                  ConsoleOutput& console) {
    const std::vector<ScoredRecord> scored = scoreRecords(results);
    return printReport(scored, reportText(computeTotals(scored, settings), settings), settings,
                       console);
}

std::string report(const std::vector<TestPosition>& results, ReportSettings settings = {}) {
    ConsoleOutput console = ConsoleOutput::capture();
    print(results, settings, console);
    return console.captured();
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Report, TheWorkedExample) {
    const std::vector<TestPosition> results = {
        record("acs 50; bm Kg2; c1 \"10\"; pm Kg2;"),
        record("acs 700; bm Kg2; c1 \"10\"; pm Kg2;"),
        record("acs 20; bm Kg2; c1 \"10\"; id \"pos 3\"; pm Kh2;"),
    };
    EXPECT_EQ(report(results),
              "Number of tests:                       3\n"
              "Max score:                             30\n"
              "Engines score:                         20\n"
              "Number with full score:                2\n"
              "Found in: 1 sec = 1, 10 sec = 1, \n"
              "Time used for tests (wrong answer=10s): 17s\n"
              "\n"
              "Positions with error (id):\n"
              "pos 3\n");
}

TEST(Report, EmptyResultList) {
    EXPECT_EQ(report({}),
              "Number of tests:                       0\n"
              "Max score:                             0\n"
              "Engines score:                         0\n"
              "Number with full score:                0\n"
              "Found in: \n"
              "Time used for tests (wrong answer=10s): 0s\n"
              "\n"
              "Positions with error (id):\n"
              "\n");
}

TEST(Report, BucketBoundsCapAndLongSearches) {
    const std::vector<TestPosition> bounds = {
        record("acs 99; bm Kg2; pm Kg2;"), record("acs 100; bm Kg2; pm Kg2;"),
        record("acs 200; bm Kg2; pm Kg2;"), record("acs 201; bm Kg2; pm Kg2;"),
        record("acs 2500; bm Kg2; pm Kg2;")};
    const std::string text = report(bounds);
    EXPECT_NE(text.find("Found in: 1 sec = 1, 2 sec = 2, 5 sec = 1, 10 sec = 1, \n"),
              std::string::npos);
    // 99 + 100 + 200 + 201 + 1000 (capped at the time per position) = 1600.
    EXPECT_NE(text.find("(wrong answer=10s): 16s\n"), std::string::npos);

    ReportSettings hour;
    hour.msPerPosition = 3600000;
    const std::string late = report({record("acs 180001; bm Kg2; pm Kg2;")}, hour);
    EXPECT_NE(late.find("Engines score:                         1\n"), std::string::npos);
    EXPECT_NE(late.find("Number with full score:                0\nFound in: \n"),
              std::string::npos);
    EXPECT_NE(late.find("(wrong answer=3600s): 1800s\n"), std::string::npos);

    ReportSettings huge;  // /t 99999999999999999999, counted without overflow
    huge.msPerPosition = 2147483647000;
    const std::string sum =
        report({record("acs -1; bm Kg2; pm Kg2;"), record("bm Kg2; pm Kh2;")}, huge);
    EXPECT_NE(sum.find("(wrong answer=2147483647s): 4294967294s\n"), std::string::npos) << sum;

    // Truncation of the time used.
    ReportSettings twenty;
    twenty.msPerPosition = 20000;
    const std::string truncated = report({record("acs 1999; bm Kg2; pm Kg2;")}, twenty);
    EXPECT_NE(truncated.find("): 19s\n"), std::string::npos);
}

TEST(Report, FullScoreWithoutFoundTimeCountsTheWholeTime) {
    // No analysis line showed the move: it came at the end of the search.
    const std::string text = report({record("acs -1; bm Kg2; pm Kg2;")});
    EXPECT_NE(text.find("Found in: 10 sec = 1, \n"), std::string::npos);
    EXPECT_NE(text.find("): 10s\n"), std::string::npos);
}

TEST(Report, FailedIdsWrapAndZeroMaximum) {
    std::vector<TestPosition> failed;
    for (char id = 'a'; id <= 'm'; ++id) {
        failed.push_back(record("bm Kg2; id \"" + std::string(1, id) + "\"; pm Kh2;"));
    }
    failed.push_back(record("bm Kg2; pm Kh2;"));  // no id: listed by its position
    const std::string text = report(failed);
    EXPECT_NE(text.find("Positions with error (id):\na, b, c, d, e, \nf, g, h, i, j, k, \nl, m, "
                        "8/8/8/8/8/8/8/k6K w - -\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("): 140s\n"), std::string::npos);

    // Only avoid moves and no points list: the maximum is 0, so any other move or none is full.
    const std::string avoid =
        report({record("am Kg2; pm Kh2;"), record("am Kg2;"), record("am Kg2; id \"x\"; pm Kg2;")});
    EXPECT_NE(avoid.find("Max score:                             0\n"), std::string::npos);
    EXPECT_NE(avoid.find("Engines score:                         -1\n"), std::string::npos);
    EXPECT_NE(avoid.find("Number with full score:                2\n"), std::string::npos);
    EXPECT_NE(avoid.find("Positions with error (id):\nx\n"), std::string::npos);

    // A position no engine was given is failed even with nothing to score.
    TestPosition empty;
    empty.parseEpd("8/8/8/8/8/8/8/8 w - - am Kg2; id \"empty\";");
    const std::string skipped = report({record("am Kg2;"), empty});
    EXPECT_NE(skipped.find("Number with full score:                1\n"), std::string::npos);
    EXPECT_NE(skipped.find("Positions with error (id):\nempty\n"), std::string::npos);
}

// The report of records as the run writes them and a later run reads them back.
std::string reportAfterRoundTrip(const std::vector<TestPosition>& results) {
    std::vector<TestPosition> reread;
    for (const TestPosition& p : results) {
        reread.emplace_back().parseEpd(p.toEpd(false));
    }
    return report(reread);
}

TEST(Report, UnreadableMovesEarnNothing) {
    // A null move against best moves that cannot be read, e.g. mate distances of another form.
    const std::vector<TestPosition> results = {record("bm Kg3+; id \"u1\"; pm 0000;"),
                                               record("bm Kb7 Kg2; id \"u2\"; pm Kg2;"),
                                               record("am Kb7; pm Kg2;")};
    const std::string text = report(results);
    EXPECT_NE(text.find("Max score:                             2\n"
                        "Engines score:                         1\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Positions with error (id):\nu1\n"), std::string::npos) << text;
    EXPECT_TRUE(
        text.ends_with("\nPositions whose moves could not be read (id):\nu1, u2, "
                       "8/8/8/8/8/8/8/k6K w - -\n"))
        << text;
    EXPECT_EQ(reportAfterRoundTrip(results), text);
}

TEST(Report, MateTests) {
    const std::vector<TestPosition> results = {
        record("acs 90; bm #3; id \"best\"; mate 3; matecheck ok; pm Kg2;"),
        record("bm #3; id \"zero\"; mate 3; pm Kg2;"),  // found at once: no acs written
        record("acs 300; bm #5; id \"short\"; mate 4; matecheck ok draw;"),
        record("acs -1; dm -2; id \"mated\"; mate -3; matecheck long; pm Kh2;"),
        record("acs -1; bm #21; id \"lost\"; ce 50; pm Kg2;"),
        record("acs -1; bm Kg2; id \"plain\"; mate 1; pm Kg2;")};
    const std::string text = report(results);
    EXPECT_EQ(text,
              "Number of tests:                       6\n"
              "Max score:                             6\n"
              "Engines score:                         4\n"
              "Number with full score:                4\n"
              "Found in: 1 sec = 2, 5 sec = 1, 10 sec = 1, \n"
              "Time used for tests (wrong answer=10s): 33s\n"
              "\n"
              "Positions with error (id):\n"
              "mated, lost\n"
              "\n"
              "Mates found: 4  best: 3  (of 5 mate tests)\n"
              "Mate lines that do not prove their score: 2 (short, mated)\n"
              "Mates shorter than the suite's (id):\n"
              "short\n"
              "By mate length:\n"
              "  2:     found 1  best 0  (of 1)\n"
              "  3:     found 2  best 2  (of 2)\n"
              "  4-5:   found 1  best 1  (of 1)\n"
              "  21+:   found 0  best 0  (of 1)\n");
    EXPECT_EQ(reportAfterRoundTrip(results), text);
}

TEST(Report, PointsSuitesWithThemes) {
    const std::vector<TestPosition> results = {
        record("bm Kg2; c0 \"Kg2=10, Kh2=4\"; id \"STS(v1.0) Open Files.001\"; pm Kh2;"),
        record("bm Kg2; c0 \"Kg2=10, Kh2=4\"; id \"STS(v1.0) Open Files.002\"; pm Kg2;"),
        record("bm Kg2; id \"STS(v2.0) Centre.001\"; pm Kg2;"),
        record("bm Kg2; c0 \"Kh3=10, Kh2=4\"; id \"STS(v2.0) Centre.002\"; pm Kg2;"),
        record("c0 \"Kh2=4, Kg2=10, Kh2=6\"; id \"STS(v1.0) Open Files.003\"; pm Kh2;")};
    const std::string text = report(results);
    EXPECT_NE(text.find("Max score:                             32\n"
                        "Engines score:                         22\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(text.ends_with(
        "\nPoints suite: 20 of 30 (66.7%)\n"
        "By theme (score of max, positions):\n"
        "  STS(v1.0) Open Files: 20 of 30, 3\n"
        "  STS(v2.0) Centre: 2 of 2, 2\n"
        "\nPoints list of STS(v2.0) Centre.002 not used (Kh3=10 names no legal move): scored by "
        "its bm and am\n"
        "Points list of STS(v1.0) Open Files.003 names Kh2 twice; the larger value counts.\n"))
        << text;
    EXPECT_EQ(reportAfterRoundTrip(results), text);

    // Without shared themes there is no table.
    const std::string lone = report({record("c0 \"Kg2=3\"; id \"one\"; pm Kg2;")});
    EXPECT_TRUE(lone.ends_with("\nPoints suite: 3 of 3 (100.0%)\n")) << lone;
}

TEST(Report, EarlierResultFilesAreRescoredByTheirPointsLists) {
    // Records as an earlier version wrote them: the suite's c0 and the engine's final move.
    std::vector<TestPosition> earlier(3);
    earlier[0].parseEpd(
        "1kr5/3n4/q3p2p/p2n2p1/PppB1P2/5BP1/1P2Q2P/3R2K1 w - - acd 12; acn 400; acs -1; bm f5; "
        "c0 \"f5=10, Be5+=2, Bf2=3, Bg4=2\"; ce 31; id \"Undermine.001\"; pm Be5+; pv Be5+ Kb7;");
    earlier[1].parseEpd(
        "2rq2k1/1p3pb1/1n4pp/pP2p3/P1b1P3/2N4P/2B1NPP1/R1Q3K1 b - - acs 25; bm Bf8; c0 "
        "\"Bg7f8=10, Bg7f6=8, Qd8d6=7\"; id \"STS(v2.2) Open Files and Diagonals.028\"; pm Bf6;");
    earlier[2].parseEpd(
        "1n6/4bk1r/1p2rp2/pP2pN1p/K1P1N2P/8/P5R1/3R4 w - - acs 40; bm c5; id \"Undermine.003\"; "
        "pm c5;");
    const std::string text = report(earlier);
    EXPECT_NE(text.find("Max score:                             21\n"
                        "Engines score:                         11\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(
        text.ends_with("\nPoints suite: 10 of 20 (50.0%)\n"
                       "By theme (score of max, positions):\n"
                       "  Undermine: 3 of 11, 2\n"
                       "  STS(v2.2) Open Files and Diagonals: 8 of 10, 1\n"))
        << text;
}

// Report-only runs over the large shared suites: the maxima their records give.
TEST(Report, SharedSuitesMaxima) {
    const std::filesystem::path folder = SHARED_SUITES_DIR;
    for (const char* name : {"sts.epd", "matetrack.epd"}) {
        if (!std::filesystem::is_regular_file(folder / name)) GTEST_SKIP() << "no " << name;
    }
    auto reportOf = [&](const char* name) {
        std::vector<TestPosition> list;
        readEpdFile((folder / name).string(), list);
        return report(list);
    };
    const std::string sts = reportOf("sts.epd");
    EXPECT_NE(sts.find("Max score:                             14793\n"), std::string::npos);
    EXPECT_NE(sts.find("\nPoints suite: 0 of 14770 (0.0%)\n"), std::string::npos);
    EXPECT_NE(sts.find("  STS(v12.0) Center Control: 0 of 793, 100\n"), std::string::npos) << sts;
    EXPECT_EQ(sts.find("could not be read"), std::string::npos);
    EXPECT_NE(sts.find("\nPoints list of STS(v11.0) King Activity.099 names Kb1 twice; the "
                       "larger value counts.\n"),
              std::string::npos);

    const std::string mates = reportOf("matetrack.epd");
    EXPECT_NE(mates.find("Max score:                             6554\n"
                         "Engines score:                         0\n"),
              std::string::npos);
    EXPECT_NE(mates.find("Mates found: 0  best: 0  (of 6554 mate tests)\n"), std::string::npos);
    EXPECT_EQ(mates.find("could not be read"), std::string::npos);

    // The classic mates answered with the null move score nothing.
    std::vector<TestPosition> classic;
    readEpdFile((folder / "mate_classic280.epd").string(), classic);
    for (TestPosition& p : classic) p.pm = "0000";
    EXPECT_NE(report(classic).find("Number with full score:                0\n"),
              std::string::npos);
}

TEST(Report, SolvedAndUnsolvedFiles) {
    const testing::TempDirectory dir("report_files");
    ReportSettings settings;
    settings.goodOnlyFile = (dir / "good.epd").string();
    settings.notFoundFile = (dir / "bad.epd").string();
    std::ofstream(settings.goodOnlyFile) << "old line\n";

    report(
        {record("acd 12; acn 45000; acs 310; bm Kg2; ce 25; c1 \"10\"; id \"x\"; pm Kg2; pv "
                "Kg2 Kb2;"),
         record("bm Kg2 Kh2; c1 \"10 5\"; id \"half\"; pm Kh2;"), record("bm Kg2; id \"none\";")},
        settings);
    EXPECT_EQ(readFile(settings.goodOnlyFile),
              "8/8/8/8/8/8/8/k6K w - - bm Kg2; c1 \"10\"; id \"x\";\n");
    EXPECT_EQ(readFile(settings.notFoundFile),
              "8/8/8/8/8/8/8/k6K w - - bm Kg2 Kh2; c1 \"10 5\"; id \"half\";\n"
              "8/8/8/8/8/8/8/k6K w - - bm Kg2; id \"none\";\n");

    // Every report rewrites the files, also with no results at all.
    report({}, settings);
    EXPECT_EQ(readFile(settings.goodOnlyFile), "");
    EXPECT_EQ(readFile(settings.notFoundFile), "");

    // A file that cannot be created is told, and the summary is printed all the same.
    settings.goodOnlyFile = (dir / "missing" / "good.epd").string();
    EXPECT_NE(report({record("bm Kg2; pm Kg2;")}, settings).find("full score:                1"),
              std::string::npos);
    ConsoleOutput console = ConsoleOutput::capture();
    const std::string failure = print({record("bm Kg2; pm Kg2;")}, settings, console);
    EXPECT_TRUE(failure.starts_with("Cannot write to " + settings.goodOnlyFile + ": ")) << failure;
    EXPECT_EQ(console.captured(), report({record("bm Kg2; pm Kg2;")}));
    settings.goodOnlyFile = (dir / "good.epd").string();
    EXPECT_EQ(print({record("bm Kg2; pm Kg2;")}, settings, console), "");
}

}  // namespace
}  // namespace tarnwick
