#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/handles.hpp"
#include "support/child_engine.hpp"
#include "support/temp_files.hpp"

namespace tarnwick::e2e {

using testing::readFile;
using testing::readLines;
using testing::scriptedEngine;
using testing::TempDirectory;
using testing::writeFile;

// What a finished run of the real tarnwick binary printed and returned.
struct RunResult {
    std::string output;   // standard output and standard error, joined, with "\n" line ends
    int exitStatus = -1;  // exit code, or 128 + signal
    std::uint32_t processNumber = 0;                // the process id tarnwick had
    std::chrono::system_clock::time_point started;  // just before tarnwick was started
    std::chrono::system_clock::time_point ended;    // when tarnwick was seen to have ended
};

struct RunOptions {
    // Called with the child and the output read so far, every time more output arrives;
    // returns true once it has acted (e.g. interrupted the run) so it is not called again.
    std::function<bool(ProcessId child, const std::string& output)> onOutput;
    std::chrono::seconds deadline{120};
};

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

// The report from its first line on, without the lines that follow the machine's speed
// (found-time buckets, time used, wall time).
std::string reportWithoutTimes(const std::string& output);

// The first n positions of WAC, from the test data, one line each.
std::string wacPositions(size_t n);

// Runs tarnwick with the words and waits for it to end (killing it after the deadline).
RunResult runTarnwick(const std::vector<std::string>& words, const RunOptions& options = {});

// Runs another program (its path first) the same way.
RunResult runProgram(const std::vector<std::string>& words, const RunOptions& options = {});

// Options whose onOutput interrupts the run, as Ctrl+C would, the given time after the output
// first holds text.
RunOptions interruptAfter(std::string text,
                          std::chrono::milliseconds delay = std::chrono::milliseconds(0));

// Whether an engine that the run started (its script at that path) still runs.
bool engineLeftRunning(const RunResult& run, const std::filesystem::path& script);

// Why a program installed from Debian (an engine under /usr/games, a tool) cannot run here;
// empty when it can.
inline std::string whyProgramCannotRun(const std::string& program) {
#ifdef _WIN32
    return program + " is a Linux program";
#else
    return std::filesystem::exists(program) ? "" : program + " is not installed";
#endif
}

inline std::vector<std::string> concat(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A UCI engine that answers the handshake and, for every search, acts as onGo says.
inline std::string uciScript(const std::string& onGo) {
    return "on uci: print id name scripted; print uciok\n"
           "on isready: print readyok\n"
           "on go: " +
           onGo + "\n";
}

// A suite of n distinct positions (up to 25) with ids "p1" .. "pn", so that resuming sets
// aside exactly the tested ones.
inline std::string numberedSuite(int n) {
    const char* walks[] = {"4k3/8/8/8/8/8/8/", "3k4/8/8/8/8/8/8/", "2k5/8/8/8/8/8/8/",
                           "1k6/8/8/8/8/8/8/", "k7/8/8/8/8/8/8/"};
    const char* kings[] = {"K7", "1K6", "2K5", "3K4", "5K2"};
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += std::string(walks[i % 5]) + kings[(i / 5) % 5] + " w - - bm Kb2 Kd2; id \"p" +
                std::to_string(i + 1) + "\";\n";
    }
    return text;
}

}  // namespace tarnwick::e2e
