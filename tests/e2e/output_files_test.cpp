// End-to-end runs whose output files cannot be written, are shared, or would overwrite an input.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kMove = "print info depth 1 time 5 pv a1b2; print bestmove a1b2";

// The words of a one-second UCI run of the suite in dir, with more options before the engine.
std::vector<std::string> runWords(const TempDirectory& dir, const std::vector<std::string>& more,
                                  const std::string& script = uciScript(kMove)) {
    return concat(concat({"/u", "/i", (dir / "suite.epd").string(), "/t", "1", "/a", "0"}, more),
                  scriptedEngine(dir, script));
}

bool says(const RunResult& run, const std::string& text) {
    return run.output.find(text) != std::string::npos;
}

// Result and outcome files that cannot be written are found before the engine starts; one that
// names an input would overwrite it and is refused as a usage error.
TEST(OutputFiles, UnwritableOrClashingFilesStopTheRunBeforeTheEngine) {
    TempDirectory dir("output_unwritable");
    writeFile(dir / "suite.epd", numberedSuite(2));
    fs::create_directory(dir / "folder");
    const std::string folder = (dir / "folder").string();
    const std::string missing = (dir / "no" / "such.epd").string();

    RunResult run = runTarnwick(runWords(dir, {"/o", folder}));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(says(run, "Cannot write to " + folder + ": ")) << run.output;
    EXPECT_FALSE(says(run, "Starting engine")) << run.output;

    run = runTarnwick(runWords(dir, {"/g", missing}));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(says(run, "Cannot write to " + missing + ": ")) << run.output;
    EXPECT_FALSE(says(run, "Starting engine")) << run.output;

    const std::string suite = readFile(dir / "suite.epd");
    const std::string otherSpelling = (dir / "folder" / ".." / "suite.epd").string();
    run = runTarnwick(runWords(dir, {"/w", otherSpelling}));
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(says(run, "Options /w and /i name the same file: " + otherSpelling + ".\n"))
        << run.output;
    EXPECT_EQ(readFile(dir / "suite.epd"), suite);

    writeFile(dir / "result.epd", "");
    run = runTarnwick(
        runWords(dir, {"/o", (dir / "result.epd").string(), "/g", (dir / "result.epd").string()}));
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(says(run, "Options /g and /o name the same file: ")) << run.output;
    EXPECT_FALSE(says(run, "Starting engine")) << run.output;

    run = runTarnwick({"--compare", (dir / "suite.epd").string(), "--plot", otherSpelling});
    EXPECT_EQ(run.exitStatus, 2);  // a comparison too
    EXPECT_EQ(readFile(dir / "suite.epd"), suite);

    run = runTarnwick(runWords(dir, {"/e", "bogus"}));
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(says(run, "Invalid value for option /e: bogus\n")) << run.output;
}

// A second run on a result file in use ends at once, before its engine starts, and so does a
// report of it; the first run goes on undisturbed.
TEST(OutputFiles, AResultFileInUseIsNotShared) {
    TempDirectory dir("output_locked");
    writeFile(dir / "suite.epd", numberedSuite(2));
    const std::string results = (dir / "result.epd").string();
    std::vector<RunResult> seconds;
    RunOptions options = interruptAfter("1/2 Id: p1\n");
    options.onOutput = [&, interrupt = options.onOutput](ProcessId child, const std::string& out) {
        if (out.find("1/2 Id: p1\n") == std::string::npos) return false;
        seconds.push_back(runTarnwick(runWords(dir, {"/o", results}, uciScript(kMove))));
        seconds.push_back(runTarnwick({"/o", results}));
        return interrupt(child, out);
    };
    // The first run's engine answers only "stop", which it never gets before the interrupt.
    const RunResult first =
        runTarnwick(runWords(dir, {"/o", results, "/t", "60"},
                             uciScript("waitfor stop; print bestmove a1b2") + "on stop: ignore\n"),
                    options);
    ASSERT_EQ(seconds.size(), 2u);
    for (const RunResult& second : seconds) {
        EXPECT_EQ(second.exitStatus, 1);
        EXPECT_EQ(second.output, "Result file " + results + " is in use by another run.\n");
    }
    EXPECT_EQ(first.exitStatus, 0) << first.output;
    EXPECT_TRUE(says(first, "Number of tests:")) << first.output;
    EXPECT_FALSE(engineLeftRunning(first, dir / "engine.script"));
}

#ifndef _WIN32
// Runs the suite with the file-size limit set to limit bytes: the tester inherits it, and the
// test itself writes no file while it holds.
RunResult runWithFileSizeLimit(const std::vector<std::string>& words, rlim_t limit) {
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limited = before;
    limited.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &limited);
    // The engine writes no log here: it would meet the limit too.
    RunResult run = runTarnwick(words);
    setrlimit(RLIMIT_FSIZE, &before);
    return run;
}

// Checks a run whose result file filled up after `whole` records.
void expectStoppedByFullFile(const RunResult& run, const TempDirectory& dir, size_t whole,
                             const std::string& reason) {
    const std::string results = (dir / "result.epd").string();
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_TRUE(says(run, "Cannot write to " + results + ": " + reason + "\n")) << run.output;
    EXPECT_TRUE(says(run, "Number of tests:                       " + std::to_string(whole) + "\n"))
        << run.output;
    const std::string content = readFile(dir / "result.epd");
    EXPECT_TRUE(content.empty() || content.back() == '\n') << "a torn record: " << content;
    EXPECT_EQ(readLines(dir / "result.epd").size(), whole);
    for (const std::string& line : readLines(dir / "result.epd")) {
        EXPECT_TRUE(line.ends_with("; pv Kb2;")) << line;
    }
}

// A result file that reaches the size limit mid-record: the record is taken back whole, the
// run ends with the report of what was written, and no engine is left.
TEST(OutputFiles, AResultFileThatFillsUpEndsTheRun) {
    TempDirectory dir("output_fsize");
    writeFile(dir / "suite.epd", numberedSuite(5));
    // The engine's whole command line is one word, split again by the tester.
    const std::vector<std::string> words = {"/u",
                                            "/i",
                                            (dir / "suite.epd").string(),
                                            "/o",
                                            (dir / "result.epd").string(),
                                            "/t",
                                            "1",
                                            "/a",
                                            "0",
                                            testing::testEngineCommand(uciScript(kMove))};
    const RunResult run = runWithFileSizeLimit(words, 200);
    expectStoppedByFullFile(run, dir, 2, "File too large");
    EXPECT_FALSE(says(run, "4/5 Id: p4")) << "the run went on after the failed write";
}

// A result file on a full disk (a small tmpfs, where the machine lets root mount one).
TEST(OutputFiles, AResultFileOnAFullDiskEndsTheRun) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root";
    TempDirectory dir("output_full_disk");
    writeFile(dir / "suite.epd", numberedSuite(3));
    const fs::path disk = dir / "disk";
    fs::create_directory(disk);
    if (::mount("tarnwick-test", disk.c_str(), "tmpfs", 0, "size=8k") != 0) {
        GTEST_SKIP() << "no tmpfs can be mounted here";
    }
    writeFile(disk / "filler", std::string(64 * 1024, 'x'));  // as much as fits
    const std::string results = (disk / "result.epd").string();
    const RunResult run = runTarnwick(runWords(dir, {"/o", results}));
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_TRUE(says(run, "Cannot write to " + results + ": No space left on device\n"))
        << run.output;
    EXPECT_TRUE(says(run, "Number of tests:                       0\n")) << run.output;
    EXPECT_EQ(readFile(results), "");
    EXPECT_FALSE(engineLeftRunning(run, dir / "engine.script"));
    ::umount(disk.c_str());
}

// An outcome file that cannot take the report says so, after the report, with status 1.
TEST(OutputFiles, AnOutcomeFileOnAFullDeviceIsReported) {
    TempDirectory dir("output_dev_full");
    writeFile(dir / "suite.epd", numberedSuite(1));
    const RunResult run = runTarnwick(runWords(dir, {"/g", "/dev/full"}));
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_TRUE(run.output.ends_with("Cannot write to /dev/full: No space left on device\n"))
        << run.output;
}
#endif

}  // namespace
}  // namespace tarnwick::e2e
