#include "e2e/harness.hpp"
#include "support/test_paths.hpp"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>
#endif

#include <array>
#include <filesystem>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/event.hpp"
#include "platform/pipe_io.hpp"
#include "platform/process.hpp"

namespace tarnwick::e2e {

namespace {

// Appends output as it comes. Standard output is in text mode on Windows, where every line
// end comes as "\r\n": it is stored as "\n", so the same text is found on both platforms. A
// "\r" that ends a piece waits for the next one.
class OutputText {
  public:
    explicit OutputText(std::string& text) : text_(text) {}

    void append(std::string_view piece) {
#ifdef _WIN32
        for (const char c : piece) {
            if (heldReturn_ && c != '\n') text_ += '\r';
            heldReturn_ = c == '\r';
            if (!heldReturn_) text_ += c;
        }
#else
        text_ += piece;
#endif
    }

    void finish() {
        if (heldReturn_) text_ += '\r';
        heldReturn_ = false;
    }

  private:
    std::string& text_;
    bool heldReturn_ = false;
};

}  // namespace

RunResult runTarnwick(const std::vector<std::string>& words, const RunOptions& options) {
    return runProgram(concat({TARNWICK_BINARY}, words), options);
}

RunResult runProgram(const std::vector<std::string>& words, const RunOptions& options) {
    RunResult result;
    result.started = std::chrono::system_clock::now();
    SpawnedProcess child = spawnProcess(testing::commandLineOf(words));
    if (child.id == 0) return result;
    result.processNumber = child.id.number();
    closePipe(child.toChild);  // tarnwick reads no input: it finds its end at once

    // A run that hangs is ended at the deadline, and its output then ends too.
    Event finished(Event::Reset::manual);
    std::thread watchdog([&] {
        if (!finished.wait(options.deadline)) signalProcessGroup(child.id, ProcessSignal::kill);
    });
    bool acted = !options.onOutput;
    std::array<char, 65536> buffer;
    OutputText output(result.output);
    for (std::size_t n; (n = readSome(child.fromChild, buffer)) > 0;) {
        output.append({buffer.data(), n});
        if (!acted) acted = options.onOutput(child.id, result.output);
    }
    output.finish();
    finished.set();
    watchdog.join();
    closePipe(child.fromChild);
    const ExitStatus status = reapProcess(child.id);
    result.ended = std::chrono::system_clock::now();
    result.exitStatus = status.exited ? status.code : 128 + status.signal;
    return result;
}

#ifdef _WIN32
namespace {

// When the process was started, or nothing when it has ended.
std::optional<std::chrono::system_clock::time_point> startOf(DWORD number) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, number);
    if (process == nullptr) return std::nullopt;
    FILETIME created{}, exited{}, kernel{}, user{};
    const bool known = GetProcessTimes(process, &created, &exited, &kernel, &user) &&
                       WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    if (!known) return std::nullopt;
    // FILETIME counts tenths of microseconds from 1601, the system clock (here) from 1970.
    const std::int64_t ticks =
        (static_cast<std::int64_t>(created.dwHighDateTime) << 32 | created.dwLowDateTime) -
        116444736000000000;
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>(ticks)));
}
}  // namespace
#endif

// Whether an engine that the run started still runs. POSIX finds it by its script in the
// command lines of /proc (an orphan's parent is no longer the tester). Windows keeps the
// parent's id for life, so there it is a process that tarnwick's id started while tarnwick ran:
// Wine hands out a freed id again at once, and a process that an earlier holder of the id
// started (an earlier run's engine, Wine's own services) must not count.
bool engineLeftRunning(const RunResult& run, const std::filesystem::path& script) {
#ifdef _WIN32
    (void)script;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != run.processNumber) continue;
        const auto start = startOf(entry.th32ProcessID);
        found = start && *start >= run.started && *start <= run.ended;
    }
    CloseHandle(snapshot);
    return found;
#else
    (void)run;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string cmdline = readFile(entry.path() / "cmdline");
        for (char& c : cmdline) c = c == '\0' ? ' ' : c;
        if (cmdline.find(script.string()) != std::string::npos &&
            cmdline.find("tarnwick-testengine") != std::string::npos) {
            return true;
        }
    }
    return false;
#endif
}

RunOptions interruptAfter(std::string text, std::chrono::milliseconds delay) {
    RunOptions options;
    options.onOutput = [text = std::move(text), delay](ProcessId child, const std::string& output) {
        if (output.find(text) == std::string::npos) return false;
        // The moment is the point of the test: an interrupt in a given window of the run.
        std::this_thread::sleep_for(delay);
        return interruptProcess(child);
    };
    return options;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string reportWithoutTimes(const std::string& output) {
    const size_t at = output.find("Number of tests:");
    std::string report;
    for (const std::string& line : linesOf(at == std::string::npos ? "" : output.substr(at))) {
        if (line.starts_with("Found in:") || line.starts_with("Time used") ||
            line.starts_with("Wall time:")) {
            continue;
        }
        report += line + "\n";
    }
    return report;
}

std::string wacPositions(size_t n) {
    const std::vector<std::string> wac = readLines(std::string(TEST_DATA_DIR) + "/wac.epd");
    std::string text;
    for (size_t i = 0; i < n && i < wac.size(); ++i) text += wac[i] + "\n";
    return text;
}

}  // namespace tarnwick::e2e
