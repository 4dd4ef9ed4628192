#include "suite/report.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarnwick {
namespace {

// A record of the lone-kings position where Kg2 is the best move.
TestPosition record(std::string_view operations) {
    TestPosition p;
    p.parseEpd("8/8/8/8/8/8/8/k6K w - - " + std::string(operations));
    return p;
}

std::string report(const std::vector<TestPosition>& results, ReportSettings settings = {}) {
    ConsoleOutput console = ConsoleOutput::capture();
    printReport(results, settings, console);
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
    hour.secondsPerPosition = 3600;
    const std::string late = report({record("acs 180001; bm Kg2; pm Kg2;")}, hour);
    EXPECT_NE(late.find("Engines score:                         1\n"), std::string::npos);
    EXPECT_NE(late.find("Number with full score:                0\nFound in: \n"),
              std::string::npos);
    EXPECT_NE(late.find("(wrong answer=3600s): 1800s\n"), std::string::npos);

    // Truncation of the time used.
    ReportSettings twenty;
    twenty.secondsPerPosition = 20;
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
        record("acs 90; bm #3; id \"best\"; mate 3; pm Kg2;"),
        record("bm #3; id \"zero\"; mate 3; pm Kg2;"),  // found at once: no acs written
        record("acs 300; bm #5; id \"short\"; mate 4;"),
        record("acs -1; dm -2; id \"mated\"; mate -3; pm Kh2;"),
        record("acs -1; bm #2; id \"lost\"; ce 50; pm Kg2;"),
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
              "Mates shorter than the suite's (id):\n"
              "short\n");
    EXPECT_EQ(reportAfterRoundTrip(results), text);
}

TEST(Report, PointsSuitesWithThemes) {
    const std::vector<TestPosition> results = {
        record("bm Kg2; c0 \"Kg2=10, Kh2=4\"; id \"STS(v1.0) Open Files.001\"; pm Kh2;"),
        record("bm Kg2; c0 \"Kg2=10, Kh2=4\"; id \"STS(v1.0) Open Files.002\"; pm Kg2;"),
        record("bm Kg2; id \"STS(v2.0) Centre.001\"; pm Kg2;"),
        record("bm Kg2; c0 \"Kh3=10, Kh2=4\"; id \"STS(v2.0) Centre.002\"; pm Kg2;")};
    const std::string text = report(results);
    EXPECT_NE(text.find("Max score:                             22\n"
                        "Engines score:                         16\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(text.ends_with(
        "\nPoints suite: 14 of 20 (70.0%)\n"
        "By theme (score of max, positions):\n"
        "  STS(v1.0) Open Files: 14 of 20, 2\n"
        "  STS(v2.0) Centre: 2 of 2, 2\n"
        "\nPoints list of STS(v2.0) Centre.002 not used (Kh3=10 names no legal move): scored by "
        "its bm and am\n"))
        << text;
    EXPECT_EQ(reportAfterRoundTrip(results), text);

    // Without shared themes there is no table.
    const std::string lone = report({record("c0 \"Kg2=3\"; id \"one\"; pm Kg2;")});
    EXPECT_TRUE(lone.ends_with("\nPoints suite: 3 of 3 (100.0%)\n")) << lone;
}

TEST(Report, SolvedAndUnsolvedFiles) {
    const auto dir = std::filesystem::temp_directory_path() / "tarnwick_report_files";
    std::filesystem::create_directories(dir);
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
    const std::string failure = printReport({record("bm Kg2; pm Kg2;")}, settings, console);
    EXPECT_TRUE(failure.starts_with("Cannot write to " + settings.goodOnlyFile + ": ")) << failure;
    EXPECT_EQ(console.captured(), report({record("bm Kg2; pm Kg2;")}));
    settings.goodOnlyFile = (dir / "good.epd").string();
    EXPECT_EQ(printReport({record("bm Kg2; pm Kg2;")}, settings, console), "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tarnwick
