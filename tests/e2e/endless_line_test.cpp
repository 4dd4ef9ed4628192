#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

constexpr std::string_view kEngineLineTooLong =
    "Engine line longer than 64 MiB; the rest of it was discarded.\n";

size_t occurrences(std::string_view text, std::string_view part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

#ifndef _WIN32
constexpr rlim_t kOneGigabyte = rlim_t{1} << 30;

// The sanitizers reserve terabytes of address space up front, so only a plain build can run
// under an address-space limit; the tests are built like the program.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kLimitAddressSpace = false;
#else
constexpr bool kLimitAddressSpace = true;
#endif

// Lowers the address-space limit of this process, and so of the programs it starts, while it
// lives: a program that held an endless line would fail to get the memory and abort.
class AddressSpaceLimit {
  public:
    explicit AddressSpaceLimit(rlim_t bytes) {
        active_ = kLimitAddressSpace && getrlimit(RLIMIT_AS, &saved_) == 0;
        if (!active_) return;
        rlimit lower = saved_;
        lower.rlim_cur = std::min(bytes, saved_.rlim_max);
        active_ = setrlimit(RLIMIT_AS, &lower) == 0;
    }
    ~AddressSpaceLimit() {
        if (active_) setrlimit(RLIMIT_AS, &saved_);
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

  private:
    bool active_ = false;
    rlimit saved_{};
};

// The largest resident size of any program this process has started and reaped so far.
long long peakChildBytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}
#endif

// An engine whose lines never end (for a while) leaves the tester's memory small; the run goes
// on as if the lines had not been there, and each position tells of them once.
TEST(EndlessLine, EngineLinesPastTheLimitAreDroppedAndTheRunGoesOn) {
#ifdef _WIN32
    // Wine's pipes are slow; a line past the limit shows the same there.
    const std::string longest = std::to_string((64 << 20) + 4096);
#else
    // Longer than the memory the tester may take: holding it would fail the test.
    const std::string longest = std::to_string(1200LL << 20);
    AddressSpaceLimit limit(kOneGigabyte);
#endif
    TempDirectory dir("endless_line");
    writeFile(dir / "suite.epd",
              "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; id \"a\";\n"
              "rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; id \"b\";\n");
    const std::string script =
        "on uci: print id name endless; print uciok\n"
        "on isready: print readyok\n"
        "on go#1: print info depth 1 score cp 9 time 10 nodes 5 pv e2e4; endless " +
        longest + " 0123456789; endless 70000000 y; print bestmove e2e4\n" +
        "on go#2: endless 67108865 z; print bestmove e2e4\n";
    // However long a slow pipe takes to carry the lines, the engine is waited for: no time-out
    // is what this tests.
    const RunResult run =
        runTarnwick(concat({"--move-timeout", "0", "/u", "/i", (dir / "suite.epd").string(), "/o",
                            (dir / "result.epd").string(), "/t", "10"},
                           scriptedEngine(dir, script)));
    EXPECT_EQ(run.exitStatus, 0) << run.output.substr(0, 4000);
    EXPECT_EQ(occurrences(run.output, kEngineLineTooLong), 2u) << run.output;
    EXPECT_NE(run.output.find("1 9 1 5 e2e4\n" + std::string(kEngineLineTooLong) + "e2e4\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Number with full score:                2\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(readLines(dir / "result.epd").size(), 2u);
#ifndef _WIN32
    EXPECT_LT(peakChildBytes(), static_cast<long long>(kOneGigabyte));
#endif
}

#ifndef _WIN32
// /dev/zero is one line without end: it is skipped and its reading stops, where holding it
// would take all memory.
TEST(EndlessLine, AnEpdFileWithoutLineEndsIsSkipped) {
    AddressSpaceLimit limit(kOneGigabyte);
    const RunResult run = runTarnwick({"/i", "/dev/zero"});
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_EQ(run.output,
              "Line 1 of /dev/zero is longer than 64 MiB; skipped.\n"
              "No epd-position in files.\n");
    EXPECT_LT(peakChildBytes(), static_cast<long long>(kOneGigabyte));
}
#endif

}  // namespace
}  // namespace tarnwick::e2e
