#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "text/line_limit.hpp"

namespace tarnwick {

// Cuts the bytes of an engine's output, however they were split by the reads, into lines:
// a line ends at "\n", carriage returns are dropped wherever they stand, and a line is seen
// only up to its first NUL byte, as a C string would be. Bytes after the last "\n" wait for
// more input. A line longer than the limit (carriage returns not counted) is dropped whole:
// its first part is let go as soon as it passes the limit and the rest is skipped up to its
// "\n", so an endless line never holds more than the limit.
class LineAssembler {
  public:
    explicit LineAssembler(std::size_t maxLineBytes = kMaxLineBytes)
        : maxLineBytes_(maxLineBytes) {}

    // Calls deliver(line) for every line that bytes completes, in order, and returns false as
    // soon as deliver does (the rest of bytes is then dropped). Calls overlong() once for each
    // line that passes the limit, when it does.
    template <typename Deliver, typename Overlong>
    bool feed(std::string_view bytes, Deliver&& deliver, Overlong&& overlong) {
        while (!bytes.empty()) {
            const size_t newline = bytes.find('\n');
            const bool complete = newline != std::string_view::npos;
            const std::string_view segment = bytes.substr(0, newline);
            bytes.remove_prefix(complete ? newline + 1 : bytes.size());
            if (skipping_) {
                skipping_ = !complete;
                continue;
            }
            std::string_view line = segment;
            // The common whole line in one read goes out without a copy.
            if (!complete || !pending_.empty() || segment.find('\r') != std::string_view::npos ||
                segment.size() > maxLineBytes_) {
                if (!appendWithoutReturns(segment)) {
                    std::string().swap(pending_);  // the memory goes back, not just the text
                    skipping_ = !complete;
                    overlong();
                    continue;
                }
                if (!complete) return true;
                line = pending_;
            }
            line = line.substr(0, line.find('\0'));
            const bool goOn = deliver(line);
            pending_.clear();
            if (!goOn) return false;
        }
        return true;
    }

    template <typename Deliver>
    bool feed(std::string_view bytes, Deliver&& deliver) {
        return feed(bytes, deliver, [] {});
    }

    // The bytes of the unfinished line (carriage returns already dropped).
    std::string_view pending() const { return pending_; }

  private:
    // False, with nothing more appended, when bytes would take the line past the limit.
    bool appendWithoutReturns(std::string_view bytes) {
        for (size_t start = 0; start < bytes.size();) {
            const size_t ret = std::min(bytes.find('\r', start), bytes.size());
            if (ret - start > maxLineBytes_ - pending_.size()) return false;
            pending_.append(bytes.substr(start, ret - start));
            start = ret + 1;
        }
        return true;
    }

    const std::size_t maxLineBytes_;
    std::string pending_;
    bool skipping_ = false;  // within a line that passed the limit, until its "\n"
};

}  // namespace tarnwick
