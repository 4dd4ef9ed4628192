#include "engine/engine_file.hpp"
#include "support/temp_files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tarnwick {
namespace {

struct EngineFileResult {
    std::string command = "unchanged";
    std::string options;
};

EngineFileResult readText(const std::string& text) {
    const testing::TempDirectory dir("engine_file");
    const auto path = dir / "engine.eng";
    std::ofstream(path, std::ios::binary) << text;
    EngineFileResult result;
    readEngineFile(path.string(), result.command, result.options);
    return result;
}

TEST(EngineFile, SectionsEntriesAndOptions) {
    const EngineFileResult r = readText(
        "[ENGINE]\nfilename = engine.exe -uci\n[OPTIONS]\n; hash in MB\nHash = 64\n"
        "Ponder=false\nClear Hash=\n");
    EXPECT_EQ(r.command, "engine.exe -uci");
    EXPECT_EQ(r.options,
              "setoption name Hash value 64\nsetoption name Ponder value false\n"
              "setoption name Clear Hash");
}

TEST(EngineFile, MalformedAndMisplacedLines) {
    EngineFileResult r = readText(
        "Hash=1\n[options]\nThreads=2=4\n=5\nnoequals\nfilename=x\n[ENGINE] ; main\nHash=2\n"
        "[engine]\r\nFileName=a b\r\nother=1\n[Engine]\nfilename=last\n");
    EXPECT_EQ(r.command, "last");
    EXPECT_EQ(r.options, "setoption name Threads value 2=4\nsetoption name filename value x");

    r = readText("[ENGINE]\nfilename=\n");
    EXPECT_EQ(r.command, "");
    r = readText("[ENGINE]\nexe=x\n");
    EXPECT_EQ(r.command, "unchanged");
}

TEST(EngineFile, LongLinesDoNotEndTheReading) {
    const std::string longValue(300, 'v');
    const EngineFileResult r =
        readText("[OPTIONS]\nLong=" + longValue + "\nAfter=1\n[ENGINE]\nfilename=e\n");
    EXPECT_EQ(r.options,
              "setoption name Long value " + longValue + "\nsetoption name After value 1");
    EXPECT_EQ(r.command, "e");
}

TEST(EngineFile, UnreadableFilesChangeNothing) {
    std::string command = "c";
    std::string options;
    readEngineFile("/nonexistent/x.eng", command, options);
    readEngineFile(std::filesystem::temp_directory_path().string(), command, options);
    EXPECT_EQ(command, "c");
    EXPECT_EQ(options, "");
}

}  // namespace
}  // namespace tarnwick
