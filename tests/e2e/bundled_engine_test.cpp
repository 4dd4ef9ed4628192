#include "support/test_paths.hpp"

#ifdef HAVE_TEST_ENGINE

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

// The count after "Number with full score:" in tarnwick's report, or -1 without one.
int fullScoreCount(const std::string& output) {
    const std::string label = "Number with full score:";
    const size_t at = output.find(label);
    if (at == std::string::npos) return -1;
    return std::atoi(output.c_str() + at + label.size());
}

// The bundled engine solves the sample suite at one second a position whichever way it is
// spoken to; a few misses are allowed for a loaded machine.
TEST(BundledEngine, SolvesTheSampleSuiteOverEveryProtocol) {
    const std::vector<std::vector<std::string>> protocols = {
        {"/u"}, {}, {"/e", "edit"}, {"/e", "cbedit"}};
    for (const std::vector<std::string>& protocol : protocols) {
        TempDirectory dir("bundled-engine");
        std::vector<std::string> words = protocol;
        const std::vector<std::string> rest = {"/i",
                                               std::string(EXAMPLES_DIR) + "/sample.epd",
                                               "/o",
                                               (dir / "results.epd").string(),
                                               "/t",
                                               "1",
                                               "/a",
                                               "0",
                                               TEST_ENGINE_BINARY,
                                               "--search"};
        words.insert(words.end(), rest.begin(), rest.end());
        const RunResult run = runTarnwick(words);
        const std::string label = protocol.empty() ? "winboard" : protocol.back();
        EXPECT_EQ(run.exitStatus, 0) << label << "\n" << run.output;
        EXPECT_NE(run.output.find("Number of tests:                       12"), std::string::npos)
            << label << "\n"
            << run.output;
        EXPECT_GE(fullScoreCount(run.output), 10) << label << "\n" << run.output;
        EXPECT_EQ(readLines(dir / "results.epd").size(), 12u) << label;
    }
}

}  // namespace
}  // namespace tarnwick::e2e

#endif
