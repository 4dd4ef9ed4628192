#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "platform/pipe_io.hpp"
#include "platform/process.hpp"
#include "platform/system.hpp"
#include "support/child_engine.hpp"
#include "support/test_paths.hpp"

namespace tarnwick {
namespace {

std::set<std::string> descriptorsOf(const std::string& procDirectory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(procDirectory + "/fd")) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string linkTarget(const std::string& path) {
    std::error_code error;
    return std::filesystem::read_symlink(path, error).string();
}

// Reads from the pipe until a whole line has come; empty at the end of the pipe.
std::string readLine(PipeHandle pipe) {
    std::string text;
    char c = 0;
    while (readSome(pipe, {&c, 1}) == 1 && c != '\n') text += c;
    return text;
}

TEST(Spawn, ProgramsThatCannotRunFailWithoutLeavingAnythingOpen) {
    testing::TempDirectory temp;
    const std::filesystem::path notAProgram = temp.path() / "empty";
    std::ofstream(notAProgram).close();
    ::chmod(notAProgram.c_str(), 0755);  // executable, but no format the system can run
    const std::filesystem::path plainFile = temp.path() / "plain";
    std::ofstream(plainFile) << "#!/bin/sh\n";

    const size_t openBefore = descriptorsOf("/proc/self").size();
    for (const std::string& command :
         {std::string("/nonexistent/engine"), std::string("tarnwick-no-such-engine-anywhere"),
          temp.path().string(), temp.path().string() + "/", notAProgram.string(),
          plainFile.string(), std::string(""), std::string("   "), std::string("''")}) {
        const SpawnedProcess spawned = spawnProcess(command);
        EXPECT_EQ(spawned.id, 0u) << command;
        EXPECT_EQ(spawned.toChild, kNoPipe) << command;
        EXPECT_EQ(spawned.fromChild, kNoPipe) << command;
    }
    EXPECT_EQ(descriptorsOf("/proc/self").size(), openBefore);
    EXPECT_TRUE(testing::noChildProcessLeft());
}

#ifdef HAVE_TEST_ENGINE
TEST(Spawn, ChildGetsOnlyItsJoinedPipesAndASessionOfItsOwn) {
    ignoreBrokenPipeSignal();
    // A descriptor the tester leaves inheritable must still not reach the engine.
    const int stray = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(stray, 0);
    SpawnedProcess child = spawnProcess(testing::testEngineCommand("on start: print-fds"));
    ::close(stray);
    ASSERT_NE(child.id, 0u);
    // The parent's copies of the child's ends are closed: only its own two ends are open.
    EXPECT_EQ(::fcntl(static_cast<int>(child.toChild), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    EXPECT_EQ(::fcntl(static_cast<int>(child.fromChild), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);

    EXPECT_EQ(readLine(child.fromChild), "fds 0 1 2");
    const std::string proc = "/proc/" + std::to_string(child.id.number());
    EXPECT_EQ(descriptorsOf(proc), (std::set<std::string>{"0", "1", "2"}));
    const std::string input = linkTarget(proc + "/fd/0");
    const std::string output = linkTarget(proc + "/fd/1");
    EXPECT_TRUE(input.starts_with("pipe:")) << input;
    EXPECT_TRUE(output.starts_with("pipe:")) << output;
    EXPECT_NE(input, output);
    EXPECT_EQ(linkTarget(proc + "/fd/2"), output);  // standard error joins standard output
    const pid_t pid = static_cast<pid_t>(child.id.number());
    EXPECT_EQ(::getsid(pid), pid);
    EXPECT_EQ(::getpgid(pid), pid);

    EXPECT_TRUE(writeAll(child.toChild, "quit\n"));
    ASSERT_TRUE(awaitExit(child.id, testing::kGenerousDeadline));
    EXPECT_EQ(::kill(pid, 0), 0);  // not reaped yet: its id still names it
    const ExitStatus status = reapProcess(child.id);
    EXPECT_TRUE(status.exited);
    EXPECT_EQ(status.code, 0);
    EXPECT_EQ(readLine(child.fromChild), "");  // the end of the pipe shows once it has gone
    EXPECT_FALSE(writeAll(child.toChild, "isready\n"));  // fails, does not kill the tester
    closePipe(child.toChild);
    closePipe(child.fromChild);
    EXPECT_EQ(child.toChild, kNoPipe);
    EXPECT_TRUE(testing::noChildProcessLeft());
}
#endif

}  // namespace
}  // namespace tarnwick
