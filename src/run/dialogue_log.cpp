#include "run/dialogue_log.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "text/line_limit.hpp"
#include "text/text.hpp"

namespace tarnwick {

std::string DialogueLog::open(const std::string& path) {
    file_.reset(std::fopen(path.c_str(), "ab"));
    if (file_) return {};
    return "Cannot write to " + path + ": " + std::strerror(errno);
}

void DialogueLog::sent(size_t lane, std::string_view text) {
    if (file_) forEachLine(text, [&](std::string_view line) { append(lane, '>', line); });
}

void DialogueLog::read(size_t lane, std::string_view line) {
    if (file_) append(lane, '<', line);
}

void DialogueLog::append(size_t lane, char direction, std::string_view line) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start_)
                        .count();
    char head[48];
    const int length =
        std::snprintf(head, sizeof head, "%lld.%03lld %zu %c ", static_cast<long long>(ms / 1000),
                      static_cast<long long>(ms % 1000), lane + 1, direction);
    // Bounded as the engine's lines are: a line that long holds nothing more to debug.
    line = line.substr(0, std::min(line.size(), kMaxLineBytes));
    std::lock_guard lock(mutex_);
    std::fwrite(head, 1, static_cast<size_t>(length), file_.get());
    std::fwrite(line.data(), 1, line.size(), file_.get());
    std::fputc('\n', file_.get());
    // Written out at once, so the log shows what happened even when the run is killed.
    std::fflush(file_.get());
}

}  // namespace tarnwick
