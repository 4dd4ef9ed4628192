#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/posix/command_line.hpp"
#include "platform/process.hpp"
#include "support/child_engine.hpp"

namespace tarnwick {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, SplitsLikeAShellQuotesWithoutExpanding) {
    EXPECT_EQ(splitCommandLine("  engine   -a\tb\n c "), (Words{"engine", "-a", "b", "c"}));
    EXPECT_EQ(splitCommandLine("'/opt/my engine/run' x"), (Words{"/opt/my engine/run", "x"}));
    EXPECT_EQ(splitCommandLine(R"("a b" 'c"d' "e'f" "")"), (Words{"a b", "c\"d", "e'f", ""}));
    EXPECT_EQ(splitCommandLine(R"(a\ b c\"d \\ \')"), (Words{"a b", "c\"d", "\\", "'"}));
    EXPECT_EQ(splitCommandLine(R"("x\"y\\z\$\n" 'p\q')"), (Words{"x\"y\\z$\\n", "p\\q"}));
    EXPECT_EQ(splitCommandLine("ab'cd'\"ef\"gh"), (Words{"abcdefgh"}));
    EXPECT_EQ(splitCommandLine("$HOME *.exe ~ `x` a;b|c"),
              (Words{"$HOME", "*.exe", "~", "`x`", "a;b|c"}));
    EXPECT_EQ(splitCommandLine("\"line\\\nbreak\""), (Words{"linebreak"}));
    // Unfinished quotes and a last lone backslash never fail.
    EXPECT_EQ(splitCommandLine("a 'open quote"), (Words{"a", "open quote"}));
    EXPECT_EQ(splitCommandLine("a \"open"), (Words{"a", "open"}));
    EXPECT_EQ(splitCommandLine("a\\"), (Words{"a\\"}));
    EXPECT_EQ(splitCommandLine(""), Words{});
    EXPECT_EQ(splitCommandLine(" \t "), Words{});
    EXPECT_EQ(splitCommandLine(std::string(5000, 'x')).front().size(), 5000u);
}

TEST(CommandLine, FindsProgramsLikeExecvp) {
    testing::TempDirectory temp;
    const std::filesystem::path bin = temp.path() / "bin";
    std::filesystem::create_directories(bin / "sub");
    const auto makeFile = [](const std::filesystem::path& path, bool executable) {
        std::ofstream(path) << "#!/bin/sh\n";
        ::chmod(path.c_str(), executable ? 0755 : 0644);
    };
    makeFile(bin / "engine", true);
    makeFile(bin / "plain", false);
    makeFile(bin / "sub" / "deep", true);
    const std::string tempDir = temp.path().string();
    const std::string binDir = bin.string();

    // A name with a slash is a path, absolute or relative to the current directory.
    EXPECT_EQ(findProgram(binDir + "/engine", "", "/nowhere"), binDir + "/engine");
    EXPECT_EQ(findProgram("bin/engine", "", tempDir), tempDir + "/bin/engine");
    EXPECT_EQ(findProgram("./sub/deep", "/usr/bin", binDir), binDir + "/./sub/deep");
    EXPECT_EQ(findProgram("engine/", "", binDir), "");
    EXPECT_EQ(findProgram(binDir + "/sub", "", "/"), "");    // a directory
    EXPECT_EQ(findProgram(binDir + "/plain", "", "/"), "");  // not executable
    EXPECT_EQ(findProgram(binDir + "/missing", "", "/"), "");

    // Any other name is searched in PATH; empty and relative entries go from the current one.
    EXPECT_EQ(findProgram("engine", "/nonexistent:" + binDir, "/"), binDir + "/engine");
    EXPECT_EQ(findProgram("engine", "/nonexistent::/usr", binDir), binDir + "/engine");
    EXPECT_EQ(findProgram("engine", "bin", tempDir), tempDir + "/bin/engine");
    EXPECT_EQ(findProgram("sub", binDir, "/"), "");
    EXPECT_EQ(findProgram("plain", binDir, "/"), "");
    EXPECT_EQ(findProgram("engine", "/nonexistent", binDir), "");
    EXPECT_EQ(findProgram("", binDir, binDir), "");

    EXPECT_EQ(directoryOf("/opt/engines/fast"), "/opt/engines/");
    EXPECT_EQ(directoryOf("/fast"), "/");
    EXPECT_EQ(directoryOf("fast"), "");

    // Arguments after the program do not disturb the look-up; quotes are taken off.
    EXPECT_EQ(resolveEngineDirectory("'" + binDir + "/sub/deep' -hash 64 'x y'"), binDir + "/sub/");
    EXPECT_EQ(resolveEngineDirectory("sh -c exit"), directoryOf(resolveProgram("sh")));
    EXPECT_FALSE(resolveProgram("sh").empty());
    EXPECT_EQ(resolveEngineDirectory(binDir + "/missing -x"), "");
    EXPECT_EQ(resolveEngineDirectory(""), "");
}

}  // namespace
}  // namespace tarnwick
