#include "platform/process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <thread>

#include "platform/pipe_io.hpp"
#include "platform/posix/command_line.hpp"
#include "platform/posix/error_text.hpp"

namespace tarnwick {
namespace {

// Everything the child needs, prepared before fork so that the child allocates nothing.
struct ChildSetup {
    const char* program;
    char* const* argv;
    const char* directory;  // null: stay in the parent's directory
    int stdinRead;
    int outputWrite;
    int reportWrite;  // close-on-exec; receives errno when exec fails
    long highestDescriptor;
    pid_t parent;
};

void closeDescriptorsFrom(int first, long last) {
    for (long fd = first; fd <= last; ++fd) ::close(static_cast<int>(fd));
}

// Closes every descriptor from 3 up except keep; close_range is one call where the kernel has it.
void closeInheritedDescriptors(int keep, long highestDescriptor) {
    if (keep > 3 && ::close_range(3, static_cast<unsigned>(keep - 1), 0) != 0) {
        closeDescriptorsFrom(3, keep - 1);
    }
    if (::close_range(static_cast<unsigned>(keep + 1), ~0U, 0) != 0) {
        closeDescriptorsFrom(keep + 1, highestDescriptor);
    }
}

// Runs in the forked child, so it calls only async-signal-safe functions.
[[noreturn]] void becomeChild(const ChildSetup& setup) {
    // A session of its own: the terminal's Ctrl+C goes to the tester's process group only.
    ::setsid();
#ifdef __linux__
    // A tester that is killed outright cannot stop its engine, which would then search on
    // with nobody reading it; the kernel ends it instead. The parent may be gone already.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != setup.parent) ::_exit(127);
#endif

    // The tester ignores SIGPIPE and may block signals, and a shell starts a background job
    // with SIGINT and SIGQUIT ignored; ignored signals outlive exec, but the child should start
    // as usual.
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal != SIGKILL && signal != SIGSTOP) ::sigaction(signal, &defaultAction, nullptr);
    }
    sigset_t noSignals;
    ::sigemptyset(&noSignals);
    ::sigprocmask(SIG_SETMASK, &noSignals, nullptr);

    // Moved above 2 first, in case a closed standard handle of the tester let a pipe end
    // take one of the numbers 0 to 2.
    const int input = ::fcntl(setup.stdinRead, F_DUPFD, 3);
    const int output = ::fcntl(setup.outputWrite, F_DUPFD, 3);
    const int report = ::fcntl(setup.reportWrite, F_DUPFD_CLOEXEC, 3);
    int error = 0;
    if (input < 0 || output < 0 || report < 0 || ::dup2(input, 0) < 0 || ::dup2(output, 1) < 0 ||
        ::dup2(output, 2) < 0) {
        error = errno;
    } else {
        // A directory that cannot be entered leaves the engine where the tester is.
        if (setup.directory != nullptr && ::chdir(setup.directory) != 0) error = 0;
        closeInheritedDescriptors(report, setup.highestDescriptor);
        ::execv(setup.program, setup.argv);
        error = errno;
    }
    const int reportTo = report >= 0 ? report : setup.reportWrite;
    [[maybe_unused]] const ssize_t n = ::write(reportTo, &error, sizeof error);
    ::_exit(127);
}

// The errno the child reported for a failed exec, or 0 when exec succeeded.
int readExecError(PipeHandle reportRead) {
    int error = 0;
    size_t got = 0;
    char* bytes = reinterpret_cast<char*>(&error);
    while (got < sizeof error) {
        const size_t n = readSome(reportRead, {bytes + got, sizeof error - got});
        if (n == 0) break;
        got += n;
    }
    return got == sizeof error ? error : 0;
}

// Why no program to run was found for a command's first word.
std::string whyNotFound(const std::string& word) {
    if (word.find('/') == std::string::npos) return "not found in PATH";
    struct stat info {};
    if (::stat(word.c_str(), &info) != 0) return errorText(errno);
    return errorText(S_ISDIR(info.st_mode) ? EISDIR : EACCES);
}

// A child that could not be started, and why.
SpawnedProcess failedSpawn(const std::string& program, const std::string& why) {
    SpawnedProcess failed;
    failed.error = program + ": " + why;
    return failed;
}

ExitStatus decodeStatus(int status) {
    if (WIFEXITED(status)) return {true, WEXITSTATUS(status), 0};
    if (WIFSIGNALED(status)) return {false, 0, WTERMSIG(status)};
    return {};
}

}  // namespace

SpawnedProcess spawnProcess(std::string_view commandLine) {
    std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty()) return failedSpawn("engine", "no command given");
    const std::string program = resolveProgram(commandLine);
    if (program.empty()) return failedSpawn(words.front(), whyNotFound(words.front()));
    const std::string directory = directoryOf(program);

    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    PipePair toChild = makePipe();
    PipePair fromChild = makePipe();
    PipePair report = makePipe();
    auto closeAll = [&] {
        for (PipePair* pair : {&toChild, &fromChild, &report}) {
            closePipe(pair->readEnd);
            closePipe(pair->writeEnd);
        }
    };
    if (toChild.readEnd == kNoPipe || fromChild.readEnd == kNoPipe || report.readEnd == kNoPipe) {
        const int error = errno;
        closeAll();
        return failedSpawn(program, errorText(error));
    }

    const ChildSetup setup{program.c_str(),
                           argv.data(),
                           directory.empty() ? nullptr : directory.c_str(),
                           static_cast<int>(toChild.readEnd),
                           static_cast<int>(fromChild.writeEnd),
                           static_cast<int>(report.writeEnd),
                           std::max(::sysconf(_SC_OPEN_MAX), 1024L),
                           ::getpid()};
    const pid_t pid = ::fork();
    if (pid == 0) becomeChild(setup);
    if (pid < 0) {
        const int error = errno;
        closeAll();
        return failedSpawn(program, errorText(error));
    }

    // Only the child keeps its ends, so the reader sees the end of the pipe when it exits.
    closePipe(toChild.readEnd);
    closePipe(fromChild.writeEnd);
    closePipe(report.writeEnd);
    const int execError = readExecError(report.readEnd);
    closePipe(report.readEnd);
    if (execError != 0) {
        reapProcess(ProcessId(static_cast<std::uint32_t>(pid)));
        closeAll();
        return failedSpawn(program, errorText(execError));
    }
    return {ProcessId(static_cast<std::uint32_t>(pid)), toChild.writeEnd, fromChild.readEnd, {}};
}

bool awaitExit(ProcessId id, std::optional<std::chrono::milliseconds> timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout.value_or(std::chrono::milliseconds(0));
    const int options = WEXITED | WNOWAIT | (timeout ? WNOHANG : 0);
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        siginfo_t info{};
        const int result = ::waitid(P_PID, static_cast<id_t>(id.number()), &info, options);
        if (result == 0 && info.si_pid != 0) return true;
        if (result < 0 && errno == EINTR) continue;
        if (result < 0) return true;  // not our child (any more): nothing to wait for
        const auto now = Clock::now();
        if (now >= deadline) return false;
        // POSIX has no timed wait for a child; short naps keep a quick exit noticed quickly.
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

ExitStatus reapProcess(ProcessId id) {
    for (;;) {
        int status = 0;
        const pid_t result = ::waitpid(static_cast<pid_t>(id.number()), &status, 0);
        if (result > 0) return decodeStatus(status);
        if (errno != EINTR) return {};
    }
}

void signalProcessGroup(ProcessId id, ProcessSignal signal) {
    if (id == 0) return;
    ::kill(-static_cast<pid_t>(id.number()), signal == ProcessSignal::kill ? SIGKILL : SIGTERM);
}

bool interruptProcess(ProcessId id) {
    return id != 0 && ::kill(static_cast<pid_t>(id.number()), SIGINT) == 0;
}

}  // namespace tarnwick
