#include "support/test_paths.hpp"

#if defined(HAVE_TEST_ENGINE) && !defined(_WIN32)

#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

// Runs tarnwick with its output on a pseudo-terminal in raw mode, as a user's terminal that
// keeps line ends as they are; returns all it wrote.
std::string runOnTerminal(const std::vector<std::string>& words) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return "no terminal";
    const std::string slaveName = ptsname(master);
    std::vector<std::string> argv = concat({TARNWICK_BINARY}, words);
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const int slave = open(slaveName.c_str(), O_RDWR);
        termios mode{};
        tcgetattr(slave, &mode);
        cfmakeraw(&mode);
        tcsetattr(slave, TCSANOW, &mode);
        dup2(slave, STDOUT_FILENO);
        dup2(slave, STDERR_FILENO);
        close(slave);
        close(master);
        setenv("NO_COLOR", "1", 1);
        std::vector<char*> args;
        for (std::string& word : argv) args.push_back(word.data());
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(master, buffer, sizeof buffer);
        if (got > 0) {
            output.append(buffer, static_cast<size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // EIO once the child and its engines have closed the terminal
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(master);
    return output;
}

// Takes out every drawing of the status line with its clearing ("\r", blanks, "\r").
std::string withoutStatus(std::string text, std::vector<std::string>& statuses) {
    for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r')) {
        size_t end = at + 1;
        while (end < text.size() && text[end] == ' ') ++end;
        const size_t width = end - at - 1;
        if (end >= text.size() || text[end] != '\r' || width > at) return "unbalanced: " + text;
        statuses.push_back(text.substr(at - width, width));
        text.erase(at - width, 2 * width + 2);
    }
    return text;
}

TEST(ProgressLine, StaysAtTheBottomOfATerminalOnly) {
    TempDirectory dir("progress");
    writeFile(dir / "suite.epd", numberedSuite(3));
    const std::vector<std::string> words =
        concat({"/u", "/i", (dir / "suite.epd").string(), "/t", "1", "/a", "0"},
               scriptedEngine(dir, uciScript("print info depth 1 score cp 5 time 10 nodes 1 pv "
                                             "e1d2; print bestmove e1d2")));
    const RunResult plain = runTarnwick(words);
    ASSERT_EQ(plain.exitStatus, 0) << plain.output;
    EXPECT_EQ(plain.output.find('\r'), std::string::npos);

    const std::string terminal = runOnTerminal(words);
    std::vector<std::string> statuses;
    // Cleared before anything else is written, the status leaves the text as it would be.
    EXPECT_EQ(withoutStatus(terminal, statuses), plain.output) << terminal;
    ASSERT_FALSE(statuses.empty()) << terminal;
    EXPECT_TRUE(statuses.front().starts_with("1/3 done, ")) << statuses.front();
    EXPECT_TRUE(statuses.back().starts_with("3/3 done, ")) << statuses.back();
}

}  // namespace
}  // namespace tarnwick::e2e

#endif
