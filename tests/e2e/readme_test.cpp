#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/harness.hpp"
#include "support/test_paths.hpp"

namespace tarnwick::e2e {
namespace {

const std::filesystem::path kRoot = std::filesystem::path(EXAMPLES_DIR).parent_path();

// The README shows what the program really prints and starts with the two commands that work.
TEST(Readme, ShowsTheRealUsageAndCommands) {
    const std::string readme = readFile(kRoot / "README.md");
    ASSERT_FALSE(readme.empty());
    const size_t demo = readme.find("scripts/demo");
    const size_t test = readme.find("scripts/test");
    EXPECT_LT(demo, 200u);
    EXPECT_LT(test, 300u);
#ifndef _WIN32  // Windows has no execute permission to look at
    for (const char* script : {"scripts/demo", "scripts/test"}) {
        const auto status = std::filesystem::status(kRoot / script);
        EXPECT_TRUE((status.permissions() & std::filesystem::perms::owner_exec) !=
                    std::filesystem::perms::none)
            << script;
    }
#endif
    const RunResult help = runTarnwick({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(readme.find("```text\n" + help.output + "```"), std::string::npos)
        << "the README's usage block differs from tarnwick --help";
    EXPECT_TRUE(std::filesystem::exists(kRoot / "examples" / "sample.epd"));
}

}  // namespace
}  // namespace tarnwick::e2e
