#pragma once

#include "support/test_paths.hpp"
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_files.hpp"

// Helpers for tests that run the scripted test engine as a real child over real pipes.
namespace tarnwick::testing {

// Long enough for a loaded machine under the sanitizers; reached only when a test fails.
inline constexpr std::chrono::seconds kGenerousDeadline{60};

// text quoted for the command-line splitter, so it arrives as one argument.
#ifdef _WIN32
// Windows programs split their command line themselves: backslashes count only before a quote.
inline std::string shellQuoted(std::string_view text) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}
#else
inline std::string shellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}
#endif

// The command line that runs the words, each quoted to arrive as it is.
inline std::string commandLineOf(const std::vector<std::string>& words) {
    std::string command;
    for (const std::string& word : words)
        command += (command.empty() ? "" : " ") + shellQuoted(word);
    return command;
}

#ifdef HAVE_TEST_ENGINE
// The command line that starts the test engine with the given script (and more arguments).
inline std::string testEngineCommand(std::string_view script, std::string_view moreArgs = "") {
    std::string command = commandLineOf({TEST_ENGINE_BINARY, "--script-text", std::string(script)});
    if (!moreArgs.empty()) command += " " + std::string(moreArgs);
    return command;
}

// The words that start the test engine with a script and a log of what it receives; both
// files live in the folder (the engine runs in its own directory, so paths are absolute).
inline std::vector<std::string> scriptedEngine(const TempDirectory& dir, const std::string& script,
                                               const std::string& name = "engine") {
    writeFile(dir / (name + ".script"), script);
    return {TEST_ENGINE_BINARY, "--script", (dir / (name + ".script")).string(), "--log",
            (dir / (name + ".log")).string()};
}
#endif

// Collects the lines a LineReader hands over and lets the test wait for them.
class LineCollector {
  public:
    // A LineHandler; user is the LineCollector.
    static bool collect(std::string_view line, void* user) {
        auto* self = static_cast<LineCollector*>(user);
        std::lock_guard lock(self->mutex_);
        self->lines_.emplace_back(line);
        self->changed_.notify_all();
        return self->stopAt_.empty() || line != self->stopAt_;
    }

    // Makes collect() return false for this line.
    void stopAt(std::string line) { stopAt_ = std::move(line); }

    // Waits until some line satisfies the predicate; false at the deadline.
    bool waitFor(const std::function<bool(const std::vector<std::string>&)>& done) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kGenerousDeadline, [&] { return done(lines_); });
    }

    bool waitForLine(std::string_view line) {
        return waitFor([&](const std::vector<std::string>& lines) {
            for (const std::string& l : lines) {
                if (l == line) return true;
            }
            return false;
        });
    }

    // The first line that starts with prefix, without the prefix; waits for it.
    std::string waitForPrefixed(std::string_view prefix) {
        std::string found;
        waitFor([&](const std::vector<std::string>& lines) {
            for (const std::string& l : lines) {
                if (l.starts_with(prefix)) {
                    found = l.substr(prefix.size());
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::string stopAt_;
};

#ifndef _WIN32
// True when this process has no child left, running or unreaped.
inline bool noChildProcessLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}
#endif

}  // namespace tarnwick::testing
