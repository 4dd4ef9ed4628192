#include "report/outcome_files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

TestPosition record(std::string_view id) {
    TestPosition p;
    p.parseEpd("8/8/8/8/8/8/8/k6K w - - bm Kg2; id \"" + std::string(id) + "\";");
    return p;
}

TEST(OutcomeFiles, AFileThatCannotBeCreatedIsToldAndTheOtherIsStillWritten) {
    TempDirectory dir("outcome-files");
    const std::string folder = dir.path().string();
    const std::string unsolved = (dir / "bad.epd").string();
    OutcomeFiles files;
    const std::string opened = files.open(folder, unsolved);
    EXPECT_TRUE(opened.starts_with("Cannot write to " + folder + ": ")) << opened;
#ifndef _WIN32
    EXPECT_EQ(opened, "Cannot write to " + folder + ": Is a directory");
#endif
    EXPECT_EQ(files.write(record("a"), true), "");
    EXPECT_EQ(files.write(record("b"), false), "");
    EXPECT_EQ(files.close(), "");
    EXPECT_EQ(readFile(unsolved), "8/8/8/8/8/8/8/k6K w - - bm Kg2; id \"b\";\n");

    // Both unnamed: nothing to write and nothing to tell.
    EXPECT_EQ(files.open("", ""), "");
    EXPECT_EQ(files.write(record("a"), true), "");
    EXPECT_EQ(files.close(), "");
}

TEST(OutcomeFiles, CheckingAFileCreatesItButKeepsWhatItHolds) {
    TempDirectory dir("outcome-files");
    const auto existing = dir / "good.epd";
    writeFile(existing, "kept\n");
    EXPECT_EQ(checkCanCreate(existing.string()), "");
    EXPECT_EQ(readFile(existing), "kept\n");

    const auto missing = dir / "new.epd";
    EXPECT_EQ(checkCanCreate(missing.string()), "");
    EXPECT_TRUE(std::filesystem::exists(missing));
    EXPECT_EQ(readFile(missing), "");

    EXPECT_EQ(checkCanCreate(""), "");
    const std::string inMissingFolder = (dir / "none" / "x.epd").string();
    EXPECT_TRUE(
        checkCanCreate(inMissingFolder).starts_with("Cannot write to " + inMissingFolder + ": "));
#ifndef _WIN32
    EXPECT_EQ(checkCanCreate(dir.path().string()),
              "Cannot write to " + dir.path().string() + ": Is a directory");
#endif
}

#ifndef _WIN32
TEST(OutcomeFiles, AFullDiskIsToldOnceWhetherByAWriteOrAtClose) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string full = "Cannot write to /dev/full: No space left on device";
    TempDirectory dir("outcome-files");
    const std::string unsolved = (dir / "bad.epd").string();

    // A few records stay buffered until the close.
    OutcomeFiles files;
    EXPECT_EQ(files.open("/dev/full", unsolved), "");
    EXPECT_EQ(files.write(record("a"), true), "");
    EXPECT_EQ(files.write(record("b"), false), "");
    EXPECT_EQ(files.close(), full);
    EXPECT_EQ(readFile(unsolved), "8/8/8/8/8/8/8/k6K w - - bm Kg2; id \"b\";\n");

    // Many of them fill the buffer and fail at a write; the failed file is left alone after.
    EXPECT_EQ(files.open("/dev/full", unsolved), "");
    std::string first;
    int failures = 0;
    for (int i = 0; i < 5000; ++i) {
        const std::string written = files.write(record(std::to_string(i)), true);
        if (written.empty()) continue;
        ++failures;
        if (first.empty()) first = written;
    }
    EXPECT_EQ(first, full);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(files.close(), "");
}
#endif

}  // namespace
}  // namespace tarnwick
