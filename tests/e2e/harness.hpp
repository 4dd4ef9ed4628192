#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick::e2e {

// What a finished run of the real tarnwick binary printed and returned.
struct RunResult {
    std::string output;   // standard output and standard error, joined
    int exitStatus = -1;  // exit code, or 128 + signal
};

struct RunOptions {
    std::filesystem::path workingDirectory;  // empty: the test's own
    std::vector<std::string> environment;    // extra NAME=VALUE entries
    // Called with the child's pid and the output read so far, every time more output arrives;
    // return true once it has acted (e.g. sent a signal) so it is not called again.
    std::function<bool(int pid, const std::string& output)> onOutput;
    std::chrono::seconds deadline{120};
};

// Runs tarnwick with the words and waits for it to end (killing it after the deadline).
RunResult runTarnwick(const std::vector<std::string>& words, const RunOptions& options = {});

// A fresh empty folder under the temporary directory, removed by the destructor.
class TempDir {
  public:
    explicit TempDir(const std::string& name);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

// Lines of a text file, without line ends.
std::vector<std::string> readLines(const std::filesystem::path& path);

}  // namespace tarnwick::e2e
