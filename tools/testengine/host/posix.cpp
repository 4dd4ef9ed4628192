#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <set>

#include "testengine/host.hpp"

namespace tarnwick::testengine {

PipeHandle standardInput() {
    return STDIN_FILENO;
}

PipeHandle standardOutput() {
    return STDOUT_FILENO;
}

PipeHandle standardError() {
    return STDERR_FILENO;
}

std::string currentDirectory() {
    std::array<char, 4096> buffer{};
    return ::getcwd(buffer.data(), buffer.size()) != nullptr ? buffer.data() : "";
}

std::string openDescriptors() {
    std::string text = "fds";
    DIR* directory = ::opendir("/proc/self/fd");
    if (directory == nullptr) return text + " unknown";
    std::set<int> fds;
    while (const dirent* entry = ::readdir(directory)) {
        if (entry->d_name[0] != '.') fds.insert(std::atoi(entry->d_name));
    }
    fds.erase(::dirfd(directory));
    ::closedir(directory);
    for (int fd : fds) text += " " + std::to_string(fd);
    return text;
}

unsigned long processId() {
    return static_cast<unsigned long>(::getpid());
}

void crash() {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    std::abort();
}

void closeStandardOutput() {
    ::close(STDOUT_FILENO);
    ::close(STDERR_FILENO);
}

void ignoreTerminate() {
    ::signal(SIGTERM, SIG_IGN);
}

void ignoreBrokenPipe() {
    ::signal(SIGPIPE, SIG_IGN);
}

void waitForever() {
    for (;;) ::pause();
}

}  // namespace tarnwick::testengine
