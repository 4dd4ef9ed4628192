#include "run/output_checks.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

using testing::TempDirectory;
using testing::writeFile;

TEST(OutputChecks, AnOutcomeFileMayNotOverwriteTheSuiteTheResultsOrTheOtherOutcomeFile) {
    TempDirectory dir("output-checks");
    const std::string suite = (dir / "suite.epd").string();
    const std::string results = (dir / "results.epd").string();
    writeFile(suite, "8/8/8/8/8/8/8/k6K w - - bm Kg2;\n");
    writeFile(results, "");
    const std::string suiteOtherwise = (dir / "." / "suite.epd").string();

    RunSettings s;
    s.inputFile = suite;
    s.resultFile = results;
    EXPECT_EQ(overwriteConflict(s), "");
    s.goodOnlyFile = (dir / "good.epd").string();
    s.notFoundFile = (dir / "bad.epd").string();
    EXPECT_EQ(overwriteConflict(s), "");

    RunSettings t = s;
    t.notFoundFile = suiteOtherwise;
    EXPECT_EQ(overwriteConflict(t),
              "Options /w and /i name the same file: " + suiteOtherwise + ".");
    t = s;
    t.goodOnlyFile = suite;
    EXPECT_EQ(overwriteConflict(t), "Options /g and /i name the same file: " + suite + ".");
    t = s;
    t.goodOnlyFile = results;
    EXPECT_EQ(overwriteConflict(t), "Options /g and /o name the same file: " + results + ".");
    t = s;
    t.notFoundFile = results;
    EXPECT_EQ(overwriteConflict(t), "Options /w and /o name the same file: " + results + ".");

    // Files not made yet are compared by their names.
    t = s;
    t.notFoundFile = "out.epd";
    t.goodOnlyFile = "./out.epd";
    EXPECT_EQ(overwriteConflict(t), "Options /w and /g name the same file: out.epd.");
    t.resultFile = "sub/../out.epd";
    EXPECT_EQ(overwriteConflict(t), "Options /g and /o name the same file: ./out.epd.");

    // A hard link is the same file under another name.
    std::filesystem::create_hard_link(suite, dir / "linked.epd");
    t = s;
    t.goodOnlyFile = (dir / "linked.epd").string();
    EXPECT_EQ(overwriteConflict(t),
              "Options /g and /i name the same file: " + t.goodOnlyFile + ".");

    t = s;
    t.compareFiles = {"a.epd", "b.epd"};
    t.logFile = "x/../b.epd";
    EXPECT_EQ(overwriteConflict(t), "Options --log and --compare name the same file: x/../b.epd.");
    t.jsonFile = results;
    EXPECT_EQ(overwriteConflict(t), "Options --json and /o name the same file: " + results + ".");

    // Unnamed files clash with nothing.
    t = RunSettings{};
    t.inputFile = suite;
    EXPECT_EQ(overwriteConflict(t), "");
}

}  // namespace
}  // namespace tarnwick
