// End-to-end runs of the result outputs: the JSON Lines file, the thresholds, the comparison of
// result files, the solution-time chart and the HTML page.
#include "support/test_paths.hpp"
#ifdef HAVE_TEST_ENGINE

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#ifdef HAVE_PNG
#include <png.h>
#endif

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

using nlohmann::json;

bool says(const RunResult& run, const std::string& text) {
    return run.output.find(text) != std::string::npos;
}

std::vector<json> jsonLines(const std::filesystem::path& file) {
    std::vector<json> objects;
    for (const std::string& line : readLines(file)) objects.push_back(json::parse(line));
    return objects;
}

const std::string kNoBlackKing = "8/8/8/8/8/8/8/K7 w - - bm Kb2; id \"bad\";\n";

// Each tested position is appended as it finishes, with how its search ended, and each run adds
// its summary; a resumed run adds to the same file.
TEST(Results, JsonLinesTellEveryPositionAndEachRunsSummary) {
    TempDirectory dir("results_json");
    const std::string suite = numberedSuite(3);
    writeFile(dir / "suite.epd", suite.substr(0, suite.find('\n') + 1) + kNoBlackKing +
                                     suite.substr(suite.find('\n') + 1));
    const std::string results = (dir / "results.epd").string();
    const std::string jsonFile = (dir / "run.jsonl").string();
    const std::string script =
        uciScript("print info depth 3 score cp 12 time 50 nodes 99 pv a1b2; print bestmove a1b2") +
        "on go#2: crash\n";
    RunResult run =
        runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o", results, "/t", "1",
                            "/a", "0", "--json", jsonFile, "--plot", (dir / "run.svg").string()},
                           scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    std::vector<json> lines = jsonLines(jsonFile);
    ASSERT_EQ(lines.size(), 5u) << run.output;
    EXPECT_EQ(lines[0]["id"], "p1");
    EXPECT_EQ(lines[0]["outcome"], "moved");
    EXPECT_EQ(lines[0]["final_move"], "Kb2");
    EXPECT_EQ(lines[0]["solved"], true);
    EXPECT_EQ(lines[0]["score"], json({{"cp", 12}}));
    EXPECT_EQ(lines[0]["nodes"], 99);
    EXPECT_EQ(lines[0]["pv"], json({"Kb2"}));
    EXPECT_DOUBLE_EQ(lines[0]["found_time"].get<double>(), 0.05);
    EXPECT_DOUBLE_EQ(lines[0]["engine_time"].get<double>(), 0.05);
    EXPECT_EQ(lines[1]["id"], "bad");
    EXPECT_EQ(lines[1]["outcome"], "skipped");
    EXPECT_EQ(lines[2]["id"], "p2");
    EXPECT_EQ(lines[2]["outcome"], "crash");
    EXPECT_EQ(lines[2]["solved"], false);
    EXPECT_EQ(lines[3]["id"], "p3");
    EXPECT_EQ(lines[3]["outcome"], "moved");
    EXPECT_EQ(lines[4]["type"], "summary");
    EXPECT_EQ(lines[4]["tests"], 4);
    EXPECT_EQ(lines[4]["full_score"], 2);
    EXPECT_EQ(lines[4]["failed"], json({"bad", "p2"}));
    EXPECT_EQ(lines[4]["options"]["protocol"], "uci");
    EXPECT_EQ(lines[4]["options"]["json_file"], jsonFile);
    // The name the engine gives itself ("id name scripted"), in the summary and the chart.
    EXPECT_EQ(lines[4]["engine"], "scripted");
    EXPECT_NE(readFile(dir / "run.svg").find(">scripted (2)<"), std::string::npos);

    // A fourth position the engine never answers.
    writeFile(dir / "suite.epd", numberedSuite(4));
    run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o", results, "/t", "1",
                              "/a", "0", "--move-timeout", "1", "--json", jsonFile},
                             scriptedEngine(dir, uciScript("ignore"))));
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    lines = jsonLines(jsonFile);
    ASSERT_EQ(lines.size(), 7u) << run.output;
    EXPECT_EQ(lines[5]["id"], "p4");
    EXPECT_EQ(lines[5]["outcome"], "timeout");
    EXPECT_EQ(lines[6]["type"], "summary");
    EXPECT_EQ(lines[6]["tests"], 5);
}

// A run or a report below --min-score or --min-solved says so after the report and ends with
// status 3; one that meets both ends as it would without them.
TEST(Results, ThresholdsGiveTheirOwnExitStatus) {
    TempDirectory dir("results_thresholds");
    writeFile(dir / "suite.epd", numberedSuite(4));
    const std::string results = (dir / "results.epd").string();
    // Two of the four right.
    const std::string script = uciScript("print bestmove a1b2") +
                               "on go#2: print bestmove a1a2\n"
                               "on go#4: print bestmove a1a2\n";
    RunResult run = runTarnwick(concat({"/u", "/i", (dir / "suite.epd").string(), "/o", results,
                                        "/t", "1", "/a", "0", "--min-score", "62.5"},
                                       scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 3) << run.output;
    EXPECT_TRUE(says(run, "Number with full score:                2\n")) << run.output;
    EXPECT_TRUE(run.output.ends_with("Below threshold: score 50.0% < 62.5%\n")) << run.output;

    // The result file alone, reported again.
    run = runTarnwick({"/o", results, "--min-solved", "3", "--min-score", "50"});
    EXPECT_EQ(run.exitStatus, 3) << run.output;
    EXPECT_TRUE(run.output.ends_with("\nBelow threshold: solved 2 < 3\n")) << run.output;
    run = runTarnwick({"/o", results, "--min-score", "75", "--min-solved", "3"});
    EXPECT_EQ(run.exitStatus, 3) << run.output;
    EXPECT_TRUE(run.output.ends_with(
        "\nBelow threshold: score 50.0% < 75%\nBelow threshold: solved 2 < 3\n"))
        << run.output;
    run = runTarnwick({"/o", results, "--min-solved", "2", "--min-score", "50"});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_FALSE(says(run, "Below threshold")) << run.output;
}

// Two result files of the same suite, in different orders and with a position only one has.
void writeTwoRuns(const TempDirectory& dir) {
    writeFile(dir / "fast.epd",
              "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"p1\"; acs 3; pm Kb2;\n"
              "3k4/8/8/8/8/8/8/K7 w - - bm Kb2; id \"p2\"; acs 40; pm Kb2;\n"
              "2k5/8/8/8/8/8/8/K7 w - - bm Kb2; id \"p3\"; acs 250; pm Kb2;\n"
              "1k6/8/8/8/8/8/8/K7 w - - bm Kb2; id \"p4\"; acs 700; pm Kb2;\n");
    writeFile(dir / "slow.epd",
              "3k4/8/8/8/8/8/8/K7 w - - bm Kb2; id \"p2\"; pm Ka2;\n"
              "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; id \"p1\"; acs 90; pm Kb2;\n"
              "1k6/8/8/8/8/8/8/K7 w - - bm Kb2; id \"p4\"; pm Ka2;\n");
}

TEST(Results, CompareShowsTheRunsSideBySideWithoutAnEngine) {
    TempDirectory dir("results_compare");
    writeTwoRuns(dir);
    const RunResult run =
        runTarnwick({"--compare", (dir / "fast.epd").string(), "--compare",
                     (dir / "slow.epd").string(), "--plot", (dir / "chart.svg").string()});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output,
              "  Position    fast.epd      slow.epd\n"
              "  p1          1 0.03s       1 0.90s\n"
              "* p2          1 0.40s       0 -\n"
              "* p3          1 2.50s       -\n"
              "* p4          1 7.00s       0 -\n"
              "\n"
              "Each run's own positions:\n"
              "  Positions   4             3\n"
              "  Score       4 of 4        1 of 3\n"
              "  Full score  4             1\n"
              "\n"
              "Positions all runs hold (3):\n"
              "  Score       3 of 3        1 of 3\n"
              "  Full score  3             1\n"
              "  Mean time   0.03s         0.90s\n"
              "Mean found time over the 1 positions all runs solved.\n"
              "\n"
              "Solved by one run only: fast.epd 2, slow.epd 0; exact McNemar p = 0.500\n"
              "\n"
              "Solved only by fast.epd (3): p2, p3, p4\n"
              "\n"
              "Solved only by slow.epd (0):\n");
    const std::string svg = readFile(dir / "chart.svg");
    EXPECT_NE(svg.find(">fast.epd (4)<"), std::string::npos) << svg;
    EXPECT_NE(svg.find(">10 s<"), std::string::npos) << svg;
    // The title counts the positions of both files, not those of the first.
    runTarnwick({"--compare", (dir / "slow.epd").string(), (dir / "fast.epd").string(), "--plot",
                 (dir / "chart.svg").string()});
    EXPECT_NE(readFile(dir / "chart.svg").find(": 4 positions,"), std::string::npos);

    const RunResult missing = runTarnwick({"--compare", (dir / "none.epd").string()});
    EXPECT_EQ(missing.exitStatus, 1) << missing.output;
    EXPECT_TRUE(says(missing, "No epd-position in ")) << missing.output;
}

// The page of a run of a real engine, and of two runs compared, as a browser reads it: every
// position's id is there, each with one board.
TEST(Results, TheHtmlPageHoldsABoardPerPositionInABrowser) {
    const std::string chromium = "/usr/bin/chromium";
    if (const std::string why = whyProgramCannotRun(chromium); !why.empty()) GTEST_SKIP() << why;
    TempDirectory dir("results_html");
    writeFile(dir / "wac.epd", wacPositions(6));
    std::vector<std::string> compare;
    for (const std::string depth : {"1", "3"}) {
        const std::string results = (dir / ("depth" + depth + ".epd")).string();
        const RunResult run = runTarnwick(
            {"--depth", depth, "/u", "/i", (dir / "wac.epd").string(), "/o", results, "/a", "0",
             "--html", (dir / "run.html").string(), TEST_ENGINE_BINARY, "--search"});
        ASSERT_EQ(run.exitStatus, 0) << run.output;
        compare.insert(compare.end(), {"--compare", results});
    }
    const RunResult run = runTarnwick(concat(compare, {"--html", (dir / "compare.html").string()}));
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    for (const std::string page : {"run.html", "compare.html"}) {
        const std::string dom = runProgram({chromium, "--headless", "--no-sandbox", "--disable-gpu",
                                            "--user-data-dir=" + (dir / "profile").string(),
                                            "--dump-dom", "file://" + (dir / page).string()})
                                    .output;
        size_t boards = 0;
        for (size_t at = dom.find("<svg class=\"board\""); at != std::string::npos;
             at = dom.find("<svg class=\"board\"", at + 1)) {
            ++boards;
        }
        EXPECT_EQ(boards, 6u) << page << "\n" << dom;
        for (int i = 1; i <= 6; ++i) {
            EXPECT_TRUE(dom.find(">WAC.00" + std::to_string(i) + "<") != std::string::npos) << page;
        }
    }
}

// The games of a run and of a report-only run, as a PGN reader sees them: it counts the games it
// read whole, out of all it found.
TEST(Results, PgnGamesAreReadBackByAPgnReader) {
    const std::string reader = "/usr/games/pgn-extract";
    if (const std::string why = whyProgramCannotRun(reader); !why.empty()) GTEST_SKIP() << why;
    TempDirectory dir("results_pgn");
    writeFile(dir / "suite.epd", numberedSuite(2));
    const std::string results = (dir / "results.epd").string(), pgn = (dir / "g.pgn").string();
    RunResult run = runTarnwick(
        concat({"/u", "/i", (dir / "suite.epd").string(), "/o", results, "/a", "0", "--pgn", pgn},
               scriptedEngine(
                   dir, uciScript("print info depth 3 pv a1b2 e8e7 b2c3; print bestmove a1b2"))));
    EXPECT_TRUE(says(runProgram({reader, "-r", pgn}), "2 games matched out of 2.\n")) << run.output;
    const std::string games = readFile(pgn);
    EXPECT_TRUE(games.starts_with("[Event \"suite.epd\"]\n[Site \"?\"]\n[Date \"20")) << games;
    EXPECT_NE(games.find("[White \"scripted\"]"), std::string::npos) << games;
    EXPECT_NE(games.find("1... Ke7 2. Kc3 *"), std::string::npos) << games;

    // Earlier results alone, with a line from Black's move and text PGN must escape.
    writeFile(results, readFile(results) +
                           "8/7p/5k2/5p2/p1p2P2/Pr1pPK2/1P1R3P/8 b - - acd 18; ce -314; fmvn 40; "
                           "id \"a \\\"}{\\\\ b\"; pv Rb7 h4 Rg7;\n");
    run = runTarnwick({"/o", results, "--pgn", pgn});
    EXPECT_TRUE(says(runProgram({reader, "-r", pgn}), "3 games matched out of 3.\n")) << run.output;
    EXPECT_TRUE(readFile(pgn).starts_with("[Event \"results.epd\"]\n[Site \"?\"]\n[Date \"????"));
}

#if defined(HAVE_PNG) && !defined(_WIN32)
// The picture's colour at (x, y), as 0xRRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    unsigned at(int x, int y) const {
        const size_t i =
            3 * (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
        return (unsigned{rgb[i]} << 16) | (unsigned{rgb[i + 1]} << 8) | rgb[i + 2];
    }
    // Whether a pixel close to the colour lies within the rectangle.
    bool holds(unsigned colour, int left, int top, int right, int bottom) const {
        for (int y = std::max(top, 0); y < std::min(bottom, height); ++y) {
            for (int x = std::max(left, 0); x < std::min(right, width); ++x) {
                const unsigned c = at(x, y);
                int distance = 0;
                for (int shift : {0, 8, 16}) {
                    distance += std::abs(static_cast<int>((c >> shift) & 0xff) -
                                         static_cast<int>((colour >> shift) & 0xff));
                }
                if (distance < 60) return true;
            }
        }
        return false;
    }
};

Picture readPng(const std::filesystem::path& file) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.string().c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) return {};
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

// The chart as a browser draws it: not blank, and each run's line in its colour where its
// steps are. The axis runs from 0.01 s at x 80 to 10 s at x 860, and the positions from 0 at
// y 520 to 4 at y 60: the first run has two by 0.4 s (x 496) and all four by 7 s (x 820); the
// second has one by 0.9 s (x 588).
TEST(Results, TheChartShowsEachRunsLineInABrowser) {
    const std::string chromium = "/usr/bin/chromium";
    if (const std::string why = whyProgramCannotRun(chromium); !why.empty()) GTEST_SKIP() << why;
    TempDirectory dir("results_chart");
    writeTwoRuns(dir);
    const std::string svg = (dir / "chart.svg").string();
    const RunResult run = runTarnwick({"--compare", (dir / "fast.epd").string(), "--compare",
                                       (dir / "slow.epd").string(), "--plot", svg});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    const std::filesystem::path png = dir / "chart.png";
    const RunResult drawn =
        runProgram({chromium, "--headless", "--no-sandbox", "--disable-gpu",
                    "--user-data-dir=" + (dir / "profile").string(), "--screenshot=" + png.string(),
                    "--window-size=900,600", "file://" + svg});
    ASSERT_TRUE(std::filesystem::exists(png)) << drawn.output;
    const Picture picture = readPng(png);
    ASSERT_EQ(picture.width, 900);
    ASSERT_EQ(picture.height, 600);

    int white = 0;
    for (int y = 0; y < picture.height; y += 10) {
        for (int x = 0; x < picture.width; x += 10) white += picture.at(x, y) == 0xffffff ? 1 : 0;
    }
    EXPECT_LT(white, 90 * 60 * 95 / 100) << "the chart is blank";
    EXPECT_TRUE(picture.holds(0x000000, 300, 10, 600, 50)) << "no title";
    EXPECT_TRUE(picture.holds(0x1f5fbf, 830, 55, 858, 65)) << "the first run at the top";
    EXPECT_TRUE(picture.holds(0x1f5fbf, 520, 285, 680, 295)) << "the first run at two";
    EXPECT_FALSE(picture.holds(0x1f5fbf, 520, 400, 680, 410)) << "the first run at one";
    EXPECT_TRUE(picture.holds(0xd62728, 620, 400, 858, 410)) << "the second run at one";
    EXPECT_FALSE(picture.holds(0xd62728, 200, 55, 858, 300)) << "the second run above one";
    // The legend, top left.
    EXPECT_TRUE(picture.holds(0x1f5fbf, 95, 70, 125, 80)) << "the first run's legend";
    EXPECT_TRUE(picture.holds(0xd62728, 95, 92, 125, 102)) << "the second run's legend";
}
#endif

}  // namespace
}  // namespace tarnwick::e2e

#endif
