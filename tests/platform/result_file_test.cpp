#include "platform/result_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_files.hpp"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/system.hpp"
#endif

namespace tarnwick {
namespace {

using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

TEST(ResultFile, AppendsToWhatIsThereAndCanBeReadWhileLocked) {
    TempDirectory dir("result-file");
    std::string path;
    std::string reason;
    ResultFile file;
    // A last line without its line end (cut short, edited by hand) is ended first.
    for (const std::string earlier : {"earlier run", "earlier run\n"}) {
        SCOPED_TRACE(earlier);
        file.close();
        path = (dir / ("results" + std::to_string(earlier.size()) + ".epd")).string();
        writeFile(path, earlier);
        EXPECT_FALSE(file.isOpen());
        ASSERT_EQ(file.open(path, reason), ResultFileOpen::opened) << reason;
        EXPECT_TRUE(file.isOpen());
        EXPECT_TRUE(file.append("first\n", reason)) << reason;
        EXPECT_TRUE(file.append("second\n", reason)) << reason;
        // The run reads its own file back while holding the lock.
        EXPECT_EQ(readFile(path), "earlier run\nfirst\nsecond\n");
    }

    // A moved file keeps the lock and the place it writes to.
    ResultFile moved = std::move(file);
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(moved.append("third\n", reason)) << reason;
    moved.close();
    EXPECT_FALSE(moved.isOpen());
    EXPECT_FALSE(moved.append("lost\n", reason));
    EXPECT_EQ(readFile(path), "earlier run\nfirst\nsecond\nthird\n");

    // A missing file is created.
    const std::string fresh = (dir / "fresh.epd").string();
    ASSERT_EQ(moved.open(fresh, reason), ResultFileOpen::opened) << reason;
    EXPECT_TRUE(moved.append("only\n", reason)) << reason;
    EXPECT_EQ(readFile(fresh), "only\n");
}

TEST(ResultFile, ASecondOpenIsInUseUntilTheFirstIsClosed) {
    TempDirectory dir("result-file");
    const std::string path = (dir / "results.epd").string();
    std::string reason;
    ResultFile first;
    ASSERT_EQ(first.open(path, reason), ResultFileOpen::opened) << reason;
    {
        ResultFile second;
        EXPECT_EQ(second.open(path, reason), ResultFileOpen::inUse);
        EXPECT_FALSE(second.isOpen());
        // Another name for the file is the same file.
        const std::string spelledOtherwise = (dir / "." / "results.epd").string();
        EXPECT_EQ(second.open(spelledOtherwise, reason), ResultFileOpen::inUse);
    }
    ResultFile other;
    EXPECT_EQ(other.open((dir / "other.epd").string(), reason), ResultFileOpen::opened);

    first.close();
    ResultFile third;
    ASSERT_EQ(third.open(path, reason), ResultFileOpen::opened) << reason;
    // Going out of scope lets go of the lock as well.
    { ResultFile scoped = std::move(third); }
    EXPECT_EQ(first.open(path, reason), ResultFileOpen::opened) << reason;
}

TEST(ResultFile, FilesThatCannotBeWrittenFailWithTheSystemsReason) {
    TempDirectory dir("result-file");
    std::string reason;
    ResultFile file;
    EXPECT_EQ(file.open(dir.path().string(), reason), ResultFileOpen::failed);
    EXPECT_FALSE(file.isOpen());
#ifdef _WIN32
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), '\n');
#else
    EXPECT_EQ(reason, "Is a directory");
#endif

    reason.clear();
    EXPECT_EQ(file.open((dir / "missing" / "results.epd").string(), reason),
              ResultFileOpen::failed);
    EXPECT_FALSE(reason.empty());

#ifndef _WIN32
    // Root writes to a read-only file all the same.
    if (::geteuid() == 0) return;
    const auto readOnly = dir / "read-only.epd";
    writeFile(readOnly, "kept\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    EXPECT_EQ(file.open(readOnly.string(), reason), ResultFileOpen::failed);
    EXPECT_EQ(reason, "Permission denied");
    EXPECT_EQ(readFile(readOnly), "kept\n");
#endif
}

#ifndef _WIN32
// What a child that appends under a file size limit saw, sent back over a pipe.
std::string appendUnderSizeLimit(const std::string& path, rlim_t limit) {
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        // The limit holds for the whole process, so only a child of the test may have it.
        ignoreBrokenPipeSignal();
        const rlimit small{limit, limit};
        std::string seen;
        ResultFile file;
        std::string reason;
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) {
            seen = "no limit";
        } else if (file.open(path, reason) != ResultFileOpen::opened) {
            seen = "open failed: " + reason;
        } else {
            seen += file.append("fits\n", reason) ? "fits|" : "fits failed: " + reason + "|";
            seen += file.append(std::string(199, 'x') + "\n", reason) ? "long written" : reason;
        }
        const ssize_t sent = ::write(channel[1], seen.data(), seen.size());
        ::_exit(sent == static_cast<ssize_t>(seen.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string seen;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) seen.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return seen + " (child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return seen;
}

TEST(ResultFile, ARecordCutShortIsTakenBackWhole) {
    TempDirectory dir("result-file");
    const auto path = dir / "results.epd";
    writeFile(path, "earlier run\n");
    // Room for the short record and part of the long one: the long one is cut mid-way.
    EXPECT_EQ(appendUnderSizeLimit(path.string(), 100), "fits|File too large");
    EXPECT_EQ(readFile(path), "earlier run\nfits\n");
}

TEST(ResultFile, DevicesTakeRecordsOrSayWhyNot) {
    std::string reason;
    ResultFile file;
    // The null device cannot be synchronised, yet has taken the record.
    ASSERT_EQ(file.open("/dev/null", reason), ResultFileOpen::opened) << reason;
    EXPECT_TRUE(file.append("record\n", reason)) << reason;
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ASSERT_EQ(file.open("/dev/full", reason), ResultFileOpen::opened) << reason;
    EXPECT_FALSE(file.append("record\n", reason));
    EXPECT_EQ(reason, "No space left on device");
}
#endif

}  // namespace
}  // namespace tarnwick
