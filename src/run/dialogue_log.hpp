#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace tarnwick {

// The engines' dialogue for people who debug an engine: every line sent and read, appended as
// it happens, one line each, "<seconds since the start> <lane> <'>' sent, '<' read> <line>".
// mutex_ guards the file; the lanes' reading and writing threads all write to it.
class DialogueLog {
  public:
    explicit DialogueLog(std::chrono::steady_clock::time_point start) : start_(start) {}

    // Opens the file for appending; "" or "Cannot write to <file>: <reason>".
    std::string open(const std::string& path);
    // Each line of a command written to lane's engine (lanes are counted from 0 here, from 1 in
    // the file), and a line read from it.
    void sent(size_t lane, std::string_view text);
    void read(size_t lane, std::string_view line);

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    void append(size_t lane, char direction, std::string_view line);

    const std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace tarnwick
