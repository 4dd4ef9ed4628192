#include "e2e/harness.hpp"

#include <array>
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
    SpawnedProcess child = spawnProcess(testing::commandLineOf(concat({TARNWICK_BINARY}, words)));
    RunResult result;
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

}  // namespace tarnwick::e2e
